// mainloop.cpp -- the main loop (to be written).
#include "app/mainloop.h"

int screenState = MENU;
int clickLatch = 0;
int musicOn = 1;
int soundEffectsOn = 1;
int hudRedrawRequested = 0;
int animLeftX = 57, animRightX = 816, animLeftY = ANIM_START_Y, animRightY = ANIM_START_Y;
int animSidesSwapped = 0;

void mainLoopPass() {}
void runMainLoop() { for (;;) mainLoopPass(); }
void startMusic() {}
void stopMusic() {}
