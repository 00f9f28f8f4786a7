// layoutinfo.cpp -- prints the menu layout the game computes from the
// generated datafile, as shell assignments of each button's centre, so that
// end-to-end tests click where the buttons really are.
#include "app/catalogue.h"
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
    return 0;
}
