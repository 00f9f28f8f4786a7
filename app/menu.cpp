// menu.cpp -- menu painting (to be written).
#include "app/menu.h"

int pointerHidden = 0;
void drawMenu() {}
void drawDifficultyButtons() {}
void animateMenu() {}
void showHighScores() {}
