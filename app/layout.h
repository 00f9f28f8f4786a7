// layout.h -- the menu's positions and hit rectangles, computed once from
// the sizes of three pictures, and the test of a click against them.
#pragma once

// One inclusive rectangle of the menu: a click on any of its edges counts.
struct ButtonRect {
    int left, top, right, bottom;
};

struct MenuLayout {
    int buttonLeft, startTop, difficultyTop, scoresTop, helpTop, quitTop;
    ButtonRect startRect, easyRect, mediumRect, hardRect, blitzRect;
    ButtonRect scoresRect, helpRect, quitRect;
};
extern MenuLayout menuLayout;

// The menu buttons in the order the click test tries them.
enum MenuButton {
    NO_BUTTON = 0, START_BUTTON, EASY_BUTTON, MEDIUM_BUTTON, HARD_BUTTON,
    BLITZ_BUTTON, SCORES_BUTTON, HELP_BUTTON, QUIT_BUTTON
};

// Fills menuLayout from the sizes of the start button, the Easy button and the menu background.
void computeMenuLayout(int startW, int startH, int easyW, int easyH, int menuW);

// The first menu button whose rectangle holds (x, y), or NO_BUTTON.
MenuButton menuButtonAt(int x, int y);
