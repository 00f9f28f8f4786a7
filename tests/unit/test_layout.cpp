// Menu layout, click hit-testing and the catalogue's clear-frame table.
#include "app/layout.h"
#include "game/catalogue.h"
#include "game/datafile.h"
#include "support/headless.h"
#include <gtest/gtest.h>
#include <set>

namespace {

void expectRect(const ButtonRect &r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(MenuLayout, WorkedExample)
{
    computeMenuLayout(250, 60, 62, 50, 1024);
    const MenuLayout &m = menuLayout;
    EXPECT_EQ(m.buttonLeft, 387);
    EXPECT_EQ(m.startTop, 219);
    EXPECT_EQ(m.difficultyTop, 309);
    EXPECT_EQ(m.scoresTop, 389);
    EXPECT_EQ(m.helpTop, 479);
    EXPECT_EQ(m.quitTop, 569);
    expectRect(m.startRect, 387, 219, 637, 279);
    expectRect(m.easyRect, 387, 309, 449, 359);
    expectRect(m.mediumRect, 449, 309, 511, 359);
    expectRect(m.hardRect, 511, 309, 573, 359);
    expectRect(m.blitzRect, 573, 309, 635, 359);
    expectRect(m.scoresRect, 387, 389, 637, 449);
    expectRect(m.helpRect, 387, 479, 637, 539);
    expectRect(m.quitRect, 387, 569, 637, 629);
}

TEST(MenuLayout, OddWidthIsTruncated)
{
    computeMenuLayout(251, 60, 62, 50, 1024);
    EXPECT_EQ(menuLayout.buttonLeft, 386);
}

TEST(MenuHitTest, EdgesAreInclusiveAndSharedEdgesGoToTheFirstButton)
{
    computeMenuLayout(250, 60, 62, 50, 1024);
    struct Case { int x, y; MenuButton expected; };
    const Case cases[] = {
        {387, 219, START_BUTTON}, {637, 279, START_BUTTON}, {386, 219, NO_BUTTON},
        {638, 250, NO_BUTTON}, {500, 280, NO_BUTTON},
        {449, 330, EASY_BUTTON},      // shared edge of Easy and Medium
        {450, 330, MEDIUM_BUTTON}, {511, 330, MEDIUM_BUTTON},
        {573, 359, HARD_BUTTON},      // shared edge of Hard and Blitz
        {635, 309, BLITZ_BUTTON}, {636, 309, NO_BUTTON},
        {400, 389, SCORES_BUTTON}, {400, 539, HELP_BUTTON}, {637, 629, QUIT_BUTTON},
        {400, 630, NO_BUTTON}, {10, 10, NO_BUTTON},
    };
    for (const Case &c : cases)
        EXPECT_EQ(menuButtonAt(c.x, c.y), c.expected) << "at " << c.x << "," << c.y;
}

TEST(Catalogue, ClearFramesUseEveryAnimationObjectOnce)
{
    std::set<int> used;
    for (int d = 0; d < 9; d++)
        for (int f = 0; f < CLEAR_FRAMES; f++)
            used.insert(clearFrameObject(d, f));
    EXPECT_EQ(used.size(), 126u);
    EXPECT_EQ(*used.begin(), 25);
    EXPECT_EQ(*used.rbegin(), 164);
    for (int i = 29; i <= 42; i++)
        EXPECT_EQ(used.count(i), 0u) << i;
    EXPECT_EQ(clearFrameObject(0, 3), 28);
    EXPECT_EQ(clearFrameObject(0, 4), 43);
    EXPECT_EQ(clearFrameObject(4, 0), 121);
    EXPECT_EQ(clearFrameObject(4, 1), 95);
    EXPECT_EQ(clearFrameObject(5, 0), 122);
    EXPECT_EQ(clearFrameObject(5, 13), 120);
    EXPECT_EQ(clearFrameObject(7, 0), 150);
    EXPECT_EQ(clearFrameObject(7, 13), 149);
    EXPECT_EQ(clearFrameObject(8, 13), 164);
}

TEST(Catalogue, MissingDatafileIsRefused)
{
    startHeadlessAllegro();
    EXPECT_EQ(loadWholeDatafile("no-such-datafile.dat", DATAFILE_PASSWORD), nullptr);
}

} // namespace
