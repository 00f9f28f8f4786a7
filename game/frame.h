// frame.h -- the once-per-frame update of the play screen: fall pacing,
// HUD texts, the floating gain, the clear animation, the well and the preview.
#pragma once

extern int fallFrameCounter;
extern int lastScore;
extern int scoreGain, gainAge, gainY;
extern int clockBlinkCounter;
extern int prevFallX, prevFallY;

// One frame of play: paces the fall and paints everything that changed.
void updateFrame();
