// fall.cpp -- the falling digit (to be written).
#include "game/fall.h"
#include "game/well.h"

int advanceFallingDigit() { return 1; }
void applySidewaysMove() {}
void applySteeringKey(int) {}
void onTimerTick() {}
