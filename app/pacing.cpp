// pacing.cpp -- the frame clock (to be written).
#include "app/pacing.h"
#include <allegro.h>

void startFramePacing() {}
void waitFrame() { vsync(); }
