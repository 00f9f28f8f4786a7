// menu.cpp -- paints the main menu, the difficulty row, the two sprites that
// slide down the menu's side columns, and the high-score screen. These
// routines only draw; the main loop decides when each one runs.
#include "app/menu.h"
#include "app/catalogue.h"
#include "app/mainloop.h"
#include "game/well.h"
#include "scores/table.h"
#include <allegro.h>

int pointerHidden = 0;

static const int SCORE_LIST_TOP = 205;

// Copies a whole picture to the screen with its top-left corner at (x, y).
static void blitWhole(BITMAP *picture, int x, int y)
{
    blit(picture, screen, 0, 0, x, y, picture->w, picture->h);
}

// Copies a whole picture to the screen, leaving its mask-coloured pixels out.
static void maskedBlitWhole(BITMAP *picture, int x, int y)
{
    masked_blit(picture, screen, 0, 0, x, y, picture->w, picture->h);
}

void drawMenu()
{
    const MenuLayout &m = menuLayout;
    show_mouse(nullptr);
    blitWhole(menuBackground, 0, 0);
    maskedBlitWhole(menuLogo, m.buttonLeft, m.startTop - 90);
    blitWhole(startButtonNormal, m.startRect.left, m.startRect.top);
    blitWhole(scoresButtonNormal, m.scoresRect.left, m.scoresRect.top);
    blitWhole(helpButtonNormal, m.helpRect.left, m.helpRect.top);
    blitWhole(quitButtonNormal, m.quitRect.left, m.quitRect.top);
    show_mouse(screen);
}

void drawDifficultyButtons()
{
    const MenuLayout &m = menuLayout;
    show_mouse(nullptr);
    blitWhole(difficulty == EASY ? easyButtonOn : easyButtonOff, m.easyRect.left, m.easyRect.top);
    blitWhole(difficulty == MEDIUM ? mediumButtonOn : mediumButtonOff, m.mediumRect.left, m.mediumRect.top);
    blitWhole(difficulty == HARD ? hardButtonOn : hardButtonOff, m.hardRect.left, m.hardRect.top);
    blitWhole(difficulty == BLITZ ? blitzButtonOn : blitzButtonOff, m.blitzRect.left, m.blitzRect.top);
    show_mouse(screen);
}

// True when the pointer's x lies in one of the two animation columns.
static bool pointerOverColumn()
{
    return (mouse_x >= animLeftX && mouse_x <= animLeftX + menuAnimA->w) ||
           (mouse_x >= animRightX && mouse_x <= animRightX + menuAnimB->w);
}

void animateMenu()
{
    // The sprites are drawn over the pointer's column without erasing, so the
    // pointer is kept out of the way while it is there.
    if (pointerOverColumn()) {
        show_mouse(nullptr);
        pointerHidden = 1;
    } else if (pointerHidden) {
        pointerHidden = 0;
        show_mouse(screen);
    }
    BITMAP *left = animSidesSwapped ? menuAnimB : menuAnimA;
    BITMAP *right = animSidesSwapped ? menuAnimA : menuAnimB;
    maskedBlitWhole(left, animLeftX, animLeftY);
    maskedBlitWhole(right, animRightX, animRightY);
    animLeftY++;
    animRightY++;
}

void showHighScores()
{
    int scoreListY = SCORE_LIST_TOP;
    blitWhole(scoresBackground, 0, 0);
    for (int i = 0; i < TABLE_SLOTS; i++) {
        show_mouse(nullptr);
        textprintf_ex(screen, hudFont, SCORE_LIST_LEFT, scoreListY, textColour, -1, "%s", highScoreTable[i]);
        show_mouse(screen);
        scoreListY += text_height(hudFont);
    }
}
