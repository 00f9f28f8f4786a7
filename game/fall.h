// fall.h -- the falling digit: fall step, sideways moves, steering keys,
// landing and the play clock's timer callback.
#pragma once

// One fall step: spawn, sideways move, descent or landing. 0 when the
// round just ended (a spawn found the entry cell taken, or the clock ran out).
int advanceFallingDigit();

// Applies a pending sideways move to the falling digit if the well allows it.
void applySidewaysMove();

// Applies the steering rules of one key (an Allegro scancode); other keys are ignored.
void applySteeringKey(int scancode);

// Timer callback, about 3000 times a second: counts unpaused play time.
void onTimerTick();
