// layoutinfo.cpp -- prints the menu layout the game computes from the
// generated datafile, as shell assignments of each button's centre, so that
// end-to-end tests click where the buttons really are; and the colour each
// digit's sprite has at one probe pixel, so that they can tell the digits
// on the screen apart.
#include "app/layout.h"
#include "game/catalogue.h"
#include "support/headless.h"
#include <cstdio>

// Prints NAME_X and NAME_Y for the centre of one rectangle.
static void printCentre(const char *name, const ButtonRect &r)
{
    printf("%s_X=%d\n%s_Y=%d\n", name, (r.left + r.right) / 2, name, (r.top + r.bottom) / 2);
}

int main()
{
    if (!loadGameDatafile()) {
        fprintf(stderr, "layoutinfo: cannot load tumblegrid.dat from the current folder\n");
        return 1;
    }
    computeMenuLayout(startButtonNormal->w, startButtonNormal->h, easyButtonOn->w, easyButtonOn->h,
                      menuBackground->w);
    const MenuLayout &m = menuLayout;
    printCentre("START", m.startRect);
    printCentre("EASY", m.easyRect);
    printCentre("MEDIUM", m.mediumRect);
    printCentre("HARD", m.hardRect);
    printCentre("BLITZ", m.blitzRect);
    printCentre("SCORES", m.scoresRect);
    printCentre("HELP", m.helpRect);
    printCentre("QUIT", m.quitRect);
    printf("ROW_LEFT=%d\nROW_TOP=%d\nROW_W=%d\nROW_H=%d\n", m.easyRect.left, m.easyRect.top,
           4 * easyButtonOn->w, easyButtonOn->h);
    // A pixel on the tile's left edge, clear of the numeral, differs for every digit.
    const int probeX = 4, probeY = 15;
    printf("DIGIT_PROBE_X=%d\nDIGIT_PROBE_Y=%d\n", probeX, probeY);
    for (int d = 0; d < 9; d++) {
        int c = getpixel(digitSprites[d], probeX, probeY);
        printf("DIGIT_RGB_%d=%d,%d,%d\n", d, getr32(c), getg32(c), getb32(c));
    }
    return 0;
}
