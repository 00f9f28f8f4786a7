// frame.cpp -- the frame update (to be written).
#include "game/frame.h"

int fallFrameCounter = 0;
int lastScore = -1;
int scoreGain = 0, gainAge = 0, gainY = 0;
int clockBlinkCounter = 0;
int prevFallX = 0, prevFallY = 0;

void updateFrame() {}
