// mainloop.h -- the program's one loop, its screen states and the shell's flags.
#pragma once

// Allegro already uses the name MENU, hence the prefix.
enum ScreenState { STATE_PLAYING = 1, STATE_MENU = 2, STATE_INFO_PICTURE = 3, STATE_HIGH_SCORES = 4 };

const int FEEDBACK_DELAY_MS = 250;
const int ANIM_START_Y = -150;

extern int screenState;
extern int clickLatch;
extern int musicOn;
extern int animLeftX, animRightX, animLeftY, animRightY, animSidesSwapped;

// Runs the main loop; never returns.
[[noreturn]] void runMainLoop();

// One pass of the main loop: wait for the frame, then the work of the screen state.
void mainLoopPass();

// Starts the looping background music.
void startMusic();

// Stops the background music.
void stopMusic();
