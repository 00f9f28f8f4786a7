// menuart.h -- the main menu's pictures: background, logo, the four large
// buttons, the four difficulty buttons and the two falling sprites.
#pragma once
#include "assets/paint.h"

// Sizes the menu layout is worked out from (start button, Easy button).
const int BUTTON_W = 256, BUTTON_H = 60;
const int CHOICE_W = 64, CHOICE_H = 50;
const int LOGO_W = 256, LOGO_H = 84;
const int ANIM_W = 151, ANIM_H = 150;

// The shared backdrop of every full-screen picture.
void paintBackdrop(BITMAP *bmp);

// The menu background; the buttons are composed over it, so it must stay
// alive until they are made.
BITMAP *makeMenuBackground();
BITMAP *makeMenuLogo();

// A large button with its label, pressed or not, composed over the menu
// background at the place the layout puts it.
BITMAP *makeMenuButton(const char *label, int top, int pressed);

// Difficulty button number k (0 Easy .. 3 Blitz), selected or not.
BITMAP *makeChoiceButton(int k, int on);

// Falling sprite A (warm) or B (cool).
BITMAP *makeMenuSprite(int which);

// Where the layout puts the buttons for the sizes above on a 1024-wide menu.
const int MENU_LEFT = (1024 - BUTTON_W) / 2;
const int START_TOP = (678 - 4 * BUTTON_H) / 2;
const int CHOICE_TOP = START_TOP + BUTTON_H + 30;
const int SCORES_TOP = CHOICE_TOP + CHOICE_H + 30;
const int HELP_TOP = SCORES_TOP + BUTTON_H + 30;
const int QUIT_TOP = HELP_TOP + BUTTON_H + 30;
