// frame.h -- the once-per-frame update of the play screen: fall pacing,
// HUD texts, the floating gain, the clear animation, the well and the preview.
#pragma once

extern int fallFrameCounter;
extern int lastScore;
extern int scoreGain, gainAge, gainY;
extern int clockBlinkCounter;
extern int prevFallX, prevFallY;
extern int hudRedrawRequested;          // the shell covered the HUD: draw all of it again

// One frame of play: paces the fall and paints everything that changed.
// 0 when the round ended in it (roundEndMessage says why), else 1.
int updateFrame();
