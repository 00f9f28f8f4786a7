// menu.cpp -- paints the main menu, the difficulty row, the two sprites that
// slide down the menu's side columns, and the high-score screen, into the
// canvas. These routines only draw; the main loop decides when each one runs.
#include "app/menu.h"
#include "app/assetload.h"
#include "app/layout.h"
#include "app/mainloop.h"
#include "game/catalogue.h"
#include "game/well.h"
#include "platform/present.h"
#include "scores/table.h"
#include <allegro.h>

static const int SCORE_LIST_TOP = 205;

// Copies a whole picture to the canvas with its top-left corner at (x, y).
static void blitWhole(BITMAP *picture, int x, int y)
{
    blit(picture, canvas, 0, 0, x, y, picture->w, picture->h);
}

// Copies a whole picture to the canvas, leaving its mask-coloured pixels out.
static void maskedBlitWhole(BITMAP *picture, int x, int y)
{
    masked_blit(picture, canvas, 0, 0, x, y, picture->w, picture->h);
}

void drawMenu()
{
    const MenuLayout &m = menuLayout;
    blitWhole(menuBackground, 0, 0);
    maskedBlitWhole(menuLogo, m.buttonLeft, m.startTop - 90);
    blitWhole(startButtonNormal, m.startRect.left, m.startRect.top);
    blitWhole(scoresButtonNormal, m.scoresRect.left, m.scoresRect.top);
    blitWhole(helpButtonNormal, m.helpRect.left, m.helpRect.top);
    blitWhole(quitButtonNormal, m.quitRect.left, m.quitRect.top);
    showPointer(1);
}

void drawDifficultyButtons()
{
    const MenuLayout &m = menuLayout;
    blitWhole(difficulty == EASY ? easyButtonOn : easyButtonOff, m.easyRect.left, m.easyRect.top);
    blitWhole(difficulty == MEDIUM ? mediumButtonOn : mediumButtonOff, m.mediumRect.left, m.mediumRect.top);
    blitWhole(difficulty == HARD ? hardButtonOn : hardButtonOff, m.hardRect.left, m.hardRect.top);
    blitWhole(difficulty == BLITZ ? blitzButtonOn : blitzButtonOff, m.blitzRect.left, m.blitzRect.top);
}

void animateMenu()
{
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
    drawScreenPicture(scoresBackground, SCORES_BACKGROUND_OBJECT);
    for (int i = 0; i < TABLE_SLOTS; i++) {
        textprintf_ex(canvas, hudFont, SCORE_LIST_LEFT, scoreListY, textColour, -1, "%s", highScoreTable[i]);
        scoreListY += text_height(hudFont);
    }
}
