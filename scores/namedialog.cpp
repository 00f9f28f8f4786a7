// namedialog.cpp -- the name-entry dialog (to be written).
#include "scores/newscore.h"

void askPlayerName() {}
