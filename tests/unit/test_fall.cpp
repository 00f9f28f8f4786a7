// test_fall.cpp -- the fall step without a screen: pacing per difficulty,
// spawning, the soft drop and its snap, the slow-down, sideways moves and
// their collisions, landing, the end of a round and the play clock.
#include "game/fall.h"
#include "game/well.h"
#include "support/headless.h"
#include "support/seams.h"
#include <allegro.h>
#include <gtest/gtest.h>

namespace {

// A digit code that never completes a group however many copies stand together.
const signed char BLOCK = 0;

// Starts a round and lets its first fall step spawn the first digit.
void spawnFirstDigit(int chosenDifficulty = EASY)
{
    freshRound(chosenDifficulty, 11);
    pendingMove = -1;
    ASSERT_EQ(advanceFallingDigit(), 1);
}

// Fall steps until the digit's top edge is at y; false if it never gets there.
bool fallTo(int y)
{
    for (int i = 0; i < 500 && fallY != y; i++)
        if (!advanceFallingDigit() || fallRow == 0)
            return false;
    return fallY == y;
}

// Fall steps until the current digit lands; the number of steps taken.
int stepsToLand()
{
    int steps = 0;
    do {
        advanceFallingDigit();
        steps++;
    } while (fallRow != 0 && steps < 1000);
    return steps;
}

// Puts the falling digit at a given place, as if it had fallen there.
void placeDigit(int column, int y)
{
    fallColumn = column;
    fallX = CELL_SIZE * column;
    fallY = y;
    fallRow = (y + CELL_SIZE - 1) / CELL_SIZE;
}

TEST(FallStep, FramesPerRowFollowTheDifficulty)
{
    struct Case { int difficulty, framesPerRow; };
    const Case cases[] = {{EASY, 30}, {MEDIUM, 20}, {HARD, 15}, {BLITZ, 12}};
    for (const Case &c : cases) {
        spawnFirstDigit(c.difficulty);
        ASSERT_TRUE(fallTo(30));
        int steps = 0;
        while (fallY < 60) {
            advanceFallingDigit();
            steps++;
        }
        EXPECT_EQ(fallY, 60) << "difficulty " << c.difficulty;
        EXPECT_EQ(steps * stepDivider, c.framesPerRow) << "difficulty " << c.difficulty;
    }
}

TEST(FallStep, FirstStepOfARoundSpawnsTheDealtNextDigit)
{
    freshRound(MEDIUM, 5);
    int dealt = nextDigit;
    ASSERT_EQ(advanceFallingDigit(), 1);
    EXPECT_EQ(currentDigit, dealt);
    EXPECT_EQ(fallColumn, SPAWN_COLUMN);
    EXPECT_EQ(fallX, 150);
    EXPECT_EQ(fallRow, 1);
    EXPECT_EQ(fallY, 3);          // the spawn step already moves the digit
    EXPECT_EQ(roundEndMessage, nullptr);
}

TEST(FallStep, DigitFallsToTheFloorOfAnEmptyWell)
{
    spawnFirstDigit(BLITZ);
    int digit = currentDigit;
    stepsToLand();
    EXPECT_EQ(well[14][5].digit, digit);
    EXPECT_EQ(well[14][5].mark, MARK_NONE);
    EXPECT_EQ(fallY, 420);        // left where it landed until the next spawn
    EXPECT_EQ(fallColumn, SPAWN_COLUMN);

    int next = nextDigit;
    advanceFallingDigit();
    EXPECT_EQ(currentDigit, next);
    EXPECT_EQ(fallY, 5);
}

TEST(FallStep, SoftDropSnapsToTheRowThenTakesFifteenPixels)
{
    spawnFirstDigit(EASY);
    ASSERT_TRUE(fallTo(47));      // 17 pixels into row 2
    applySteeringKey(KEY_S);
    EXPECT_EQ(stepDivider, 1);
    const int expected[] = {60, 75, 90, 105, 120};
    for (int y : expected) {
        advanceFallingDigit();
        EXPECT_EQ(fallY, y);
    }
}

TEST(FallStep, SlowDownHalvesTheSpeedOnceForOneDigit)
{
    spawnFirstDigit(MEDIUM);
    applySteeringKey(KEY_W);
    EXPECT_EQ(stepDivider, 4);
    EXPECT_EQ(score, -50);
    applySteeringKey(KEY_UP);     // a second W on the same digit does nothing
    EXPECT_EQ(stepDivider, 4);
    EXPECT_EQ(score, -50);
    EXPECT_EQ(fallStep, 3);

    stepsToLand();
    advanceFallingDigit();
    EXPECT_EQ(stepDivider, 2);
    EXPECT_EQ(fallStep, 3);
    EXPECT_EQ(score, -50);
}

TEST(FallStep, UpDuringASoftDropCancelsItForFree)
{
    spawnFirstDigit(MEDIUM);
    applySteeringKey(KEY_DOWN);
    ASSERT_TRUE(fallTo(45));      // past the snap: 15-pixel steps now
    ASSERT_EQ(fallStep, SOFT_DROP_STEP);
    applySteeringKey(KEY_W);
    EXPECT_EQ(stepDivider, 2);
    EXPECT_EQ(softDropState, 0);
    EXPECT_EQ(score, 0);
    advanceFallingDigit();        // still 15 up to the row boundary ...
    EXPECT_EQ(fallY, 60);
    advanceFallingDigit();        // ... then the base step again
    EXPECT_EQ(fallY, 63);
}

TEST(FallStep, SteeringKeysSetThePendingMoveOnlyWhileRunning)
{
    struct Case { int scancode, move; };
    const Case cases[] = {{KEY_A, 0}, {KEY_LEFT, 0}, {KEY_D, 1}, {KEY_RIGHT, 1}};
    for (const Case &c : cases) {
        freshRound(EASY, 1);
        pendingMove = -1;
        paused = 1;
        applySteeringKey(c.scancode);
        EXPECT_EQ(pendingMove, -1) << c.scancode;
        paused = 0;
        applySteeringKey(c.scancode);
        EXPECT_EQ(pendingMove, c.move) << c.scancode;
    }
    freshRound(EASY, 1);
    applySteeringKey(KEY_P);      // not a steering key
    EXPECT_EQ(stepDivider, 1);
    EXPECT_EQ(score, 0);
}

TEST(FallStep, BlockedMoveLandsAtTheNextRowBoundary)
{
    spawnFirstDigit(EASY);
    well[4][6].digit = BLOCK;
    ASSERT_TRUE(fallTo(100));     // row 4, 10 pixels into it
    applySteeringKey(KEY_D);
    advanceFallingDigit();
    EXPECT_EQ(sideBlocked, 1);
    EXPECT_EQ(fallColumn, 5);
    EXPECT_EQ(pendingMove, -1);
    int digit = currentDigit;
    stepsToLand();
    EXPECT_EQ(well[4][5].digit, digit);   // the cell below was free
    EXPECT_EQ(sideBlocked, 0);
}

TEST(FallStep, MoveTheOtherWayClearsTheBlock)
{
    spawnFirstDigit(EASY);
    well[4][6].digit = BLOCK;
    ASSERT_TRUE(fallTo(100));
    applySteeringKey(KEY_D);
    advanceFallingDigit();
    ASSERT_EQ(sideBlocked, 1);
    applySteeringKey(KEY_A);
    advanceFallingDigit();
    EXPECT_EQ(sideBlocked, 0);
    EXPECT_EQ(fallColumn, 4);
    EXPECT_EQ(fallX, 120);
    int digit = currentDigit;
    stepsToLand();
    EXPECT_EQ(well[14][4].digit, digit);
}

TEST(FallStep, RowAboveBlocksMovesUntilTwentyPixelsIn)
{
    struct Case { int offset, column; };
    const Case cases[] = {{0, 5}, {19, 5}, {20, 6}, {29, 6}};
    for (const Case &c : cases) {
        freshRound(EASY, 3);
        well[3][6].digit = BLOCK;
        placeDigit(5, (c.offset == 0 ? 4 * CELL_SIZE : 3 * CELL_SIZE + c.offset));
        pendingMove = 1;
        applySidewaysMove();
        EXPECT_EQ(fallColumn, c.column) << "offset " << c.offset;
        EXPECT_EQ(sideBlocked, 0) << "offset " << c.offset;
        EXPECT_EQ(pendingMove, -1);
    }
}

TEST(FallStep, EdgesStopMovesAndKeepTheBlockFlag)
{
    struct Case { int column, move; };
    const Case cases[] = {{0, 0}, {10, 1}};
    for (const Case &c : cases) {
        freshRound(EASY, 3);
        placeDigit(c.column, 65);
        sideBlocked = 1;
        pendingMove = c.move;
        applySidewaysMove();
        EXPECT_EQ(fallColumn, c.column);
        EXPECT_EQ(sideBlocked, 1);
        EXPECT_EQ(pendingMove, -1);
    }
}

TEST(FallStep, SpawnOntoAnOccupiedCellLandsInRowZeroAndEndsTheRound)
{
    freshRound(EASY, 9);
    well[1][5].digit = BLOCK;
    EXPECT_EQ(advanceFallingDigit(), 1);
    EXPECT_EQ(well[0][5].digit, currentDigit);
    EXPECT_EQ(fallRow, 0);
    EXPECT_EQ(roundEndMessage, nullptr);

    EXPECT_EQ(advanceFallingDigit(), 0);
    ASSERT_NE(roundEndMessage, nullptr);
    EXPECT_STREQ(roundEndMessage, "Game Over :-(");
}

TEST(FallStep, MoveTakenAtTheSpawnStepChecksTheNewColumn)
{
    freshRound(EASY, 9);
    well[1][4].digit = BLOCK;
    pendingMove = 0;
    advanceFallingDigit();
    EXPECT_EQ(well[0][4].digit, currentDigit);
    EXPECT_EQ(fallColumn, SPAWN_COLUMN);
    advanceFallingDigit();        // the entry cell is still free
    EXPECT_EQ(roundEndMessage, nullptr);
}

TEST(FallStep, RunningOutOfTimeEndsTheRoundAtTheNextSpawn)
{
    spawnFirstDigit(HARD);
    outOfTime = 1;
    int digit = currentDigit;
    int steps = stepsToLand();    // the falling digit still lands first
    EXPECT_GT(steps, 100);
    EXPECT_EQ(well[14][5].digit, digit);
    EXPECT_EQ(roundEndMessage, nullptr);

    EXPECT_EQ(advanceFallingDigit(), 0);
    ASSERT_NE(roundEndMessage, nullptr);
    EXPECT_STREQ(roundEndMessage, "Game Over - out of time :-(");
}

TEST(FallStep, PausedStepChangesNothing)
{
    spawnFirstDigit(EASY);
    int y = fallY;
    pendingMove = 1;
    paused = 1;
    EXPECT_EQ(advanceFallingDigit(), 1);
    EXPECT_EQ(fallY, y);
    EXPECT_EQ(fallColumn, 5);
    paused = 0;
}

TEST(PlayClock, CountsOnlyWhileNotPausedAndAsksForARedrawEvery70Ticks)
{
    freshRound(EASY, 1);
    clockDue = 0;
    paused = 1;
    for (int i = 0; i < 200; i++)
        onTimerTick();
    EXPECT_EQ(tickCount.load(), 0u);
    EXPECT_EQ(clockDue.load(), 0);

    paused = 0;
    for (int i = 0; i < 69; i++)
        onTimerTick();
    EXPECT_EQ(clockDue.load(), 0);
    onTimerTick();
    EXPECT_EQ(tickCount.load(), 70u);
    EXPECT_EQ(clockDue.load(), 1);
}

} // namespace
