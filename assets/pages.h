// pages.h -- the two full-screen reading pages: the help picture with the
// rules and keys, and the "about" picture.
#pragma once
#include "assets/paint.h"

BITMAP *makeHelpScreen();
BITMAP *makeInfoPicture();
