// layout.cpp -- works out the menu's positions and hit rectangles from the
// sizes of the start button, the Easy button and the menu background.
#include "app/layout.h"

MenuLayout menuLayout;

// A rectangle of the given size whose top-left corner is (left, top), edges inclusive.
static ButtonRect rectAt(int left, int top, int w, int h)
{
    return {left, top, left + w, top + h};
}

void computeMenuLayout(int startW, int startH, int easyW, int easyH, int menuW)
{
    MenuLayout &m = menuLayout;
    m.buttonLeft = (menuW - startW) / 2;
    m.startTop = (678 - 4 * startH) / 2;
    m.difficultyTop = m.startTop + startH + 30;
    m.scoresTop = m.difficultyTop + easyH + 30;
    m.helpTop = m.scoresTop + startH + 30;
    m.quitTop = m.helpTop + startH + 30;
    m.startRect = rectAt(m.buttonLeft, m.startTop, startW, startH);
    m.easyRect = rectAt(m.buttonLeft, m.difficultyTop, easyW, easyH);
    m.mediumRect = rectAt(m.buttonLeft + easyW, m.difficultyTop, easyW, easyH);
    m.hardRect = rectAt(m.buttonLeft + 2 * easyW, m.difficultyTop, easyW, easyH);
    m.blitzRect = rectAt(m.buttonLeft + 3 * easyW, m.difficultyTop, easyW, easyH);
    m.scoresRect = rectAt(m.buttonLeft, m.scoresTop, startW, startH);
    m.helpRect = rectAt(m.buttonLeft, m.helpTop, startW, startH);
    m.quitRect = rectAt(m.buttonLeft, m.quitTop, startW, startH);
}

static bool inside(const ButtonRect &r, int x, int y)
{
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

MenuButton menuButtonAt(int x, int y)
{
    const MenuLayout &m = menuLayout;
    const ButtonRect *order[] = {&m.startRect, &m.easyRect, &m.mediumRect, &m.hardRect,
                                 &m.blitzRect, &m.scoresRect, &m.helpRect, &m.quitRect};
    for (int i = 0; i < 8; i++)
        if (inside(*order[i], x, y))
            return static_cast<MenuButton>(i + 1);
    return NO_BUTTON;
}
