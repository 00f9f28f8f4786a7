// Round set-up for every difficulty and the digit dealer's behaviour.
#include "game/frame.h"
#include "game/well.h"
#include "support/headless.h"
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

TEST(StartRound, PresetsForEachDifficulty)
{
    struct Case { int difficulty, step, divider, multiplier; };
    const Case cases[] = {{EASY, 1, 1, 1}, {MEDIUM, 3, 2, 2}, {HARD, 2, 1, 3}, {BLITZ, 5, 2, 7}};
    for (const Case &c : cases) {
        freshRound(c.difficulty, 1);
        EXPECT_EQ(fallStep, c.step);
        EXPECT_EQ(baseFallStep, c.step);
        EXPECT_EQ(stepDivider, c.divider);
        EXPECT_EQ(baseStepDivider, c.divider);
        EXPECT_EQ(scoreMultiplier, c.multiplier);
        EXPECT_EQ(timeLimitSeconds, 600);
    }
}

TEST(StartRound, UnknownDifficultyKeepsThePacing)
{
    freshRound(BLITZ, 1);
    freshRound(7, 1);
    EXPECT_EQ(fallStep, 5);
    EXPECT_EQ(stepDivider, 2);
    EXPECT_EQ(scoreMultiplier, 7);
}

TEST(StartRound, ResetsWhateverThePreviousRoundLeft)
{
    freshRound(EASY, 2);
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++) {
            well[r][c] = {3, MARK_HOLE};
            cellEffects[r][c] = 12;
        }
    score = 4321; level = 5; levelComplete = 1; sideBlocked = 1; outOfTime = 1;
    boxesDone = 7; columnsDone = 2; rowsDone = 1; boxesTarget = 9;
    paused = 1; tickCount = 99999; fallColumn = 9; fallRow = 7; fallY = 200;
    int phase = pickerPhase;

    freshRound(HARD, 3);
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++) {
            EXPECT_EQ(well[r][c].digit, EMPTY_CELL);
            EXPECT_EQ(well[r][c].mark, MARK_NONE);
            EXPECT_EQ(cellEffects[r][c], 0);
        }
    EXPECT_EQ(score, 0);
    EXPECT_EQ(lastScore, -1);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(levelComplete, 0);
    EXPECT_EQ(sideBlocked, 0);
    EXPECT_EQ(outOfTime, 0);
    EXPECT_EQ(boxesTarget, 3);
    EXPECT_EQ(columnsTarget, 1);
    EXPECT_EQ(rowsTarget, 0);
    EXPECT_EQ(boxesDone + columnsDone + rowsDone, 0);
    EXPECT_EQ(paused.load(), 0);
    EXPECT_EQ(tickCount.load(), 0u);
    EXPECT_EQ(fallColumn, SPAWN_COLUMN);
    EXPECT_EQ(fallRow, 0);
    EXPECT_EQ(fallX, 150);
    EXPECT_EQ(fallY, 0);
    EXPECT_EQ(prevFallX, 270);   // where the last round's digit was last drawn
    EXPECT_EQ(prevFallY, 0);
    EXPECT_EQ(pickerPhase, (phase + 50) % 75);   // two deals, never reset
    EXPECT_GE(currentDigit, 0);
    EXPECT_LE(currentDigit, 8);
    EXPECT_GE(nextDigit, 0);
    EXPECT_LE(nextDigit, 8);
}

TEST(Dealer, PhaseCyclesAcrossCalls)
{
    srand(5);
    pickerPhase = 0;
    fillDealtHistory();
    const int expected[] = {25, 50, 0, 25, 50, 0};
    for (int phase : expected) {
        pickNextDigit();
        EXPECT_EQ(pickerPhase, phase);
    }
}

TEST(Dealer, HistoryShiftsAndRecordsOnlyAbsentDigits)
{
    srand(11);
    fillDealtHistory();
    for (int call = 0; call < 2000; call++) {
        int before[HISTORY_LENGTH];
        for (int i = 0; i < HISTORY_LENGTH; i++)
            before[i] = dealtHistory[i];
        int dealt = pickNextDigit();
        ASSERT_GE(dealt, 0);
        ASSERT_LE(dealt, 8);
        for (int i = 1; i < HISTORY_LENGTH; i++)
            ASSERT_EQ(dealtHistory[i], before[i - 1]);
        if (dealtHistory[0] == dealtHistory[1])
            continue;
        // A newly recorded digit was absent from the shifted history, and is dealt.
        for (int i = 1; i < HISTORY_LENGTH; i++)
            ASSERT_NE(dealtHistory[i], dealtHistory[0]);
        ASSERT_EQ(dealt, dealtHistory[0]);
    }
}

TEST(Dealer, FullHistoryNeverRecords)
{
    srand(3);
    for (int call = 0; call < 500; call++) {
        for (int i = 0; i < HISTORY_LENGTH; i++)
            dealtHistory[i] = i % 9;   // entries 0..13 hold every digit
        pickNextDigit();
        ASSERT_EQ(dealtHistory[0], dealtHistory[1]);
    }
}

TEST(Dealer, FavoursTheHighestAbsentDigitAndHoldsBackRepeats)
{
    // History full of 3s: every other digit is absent and gets one chance in
    // four; the highest success wins, and a 3 is never the candidate's pick.
    srand(17);
    int recorded = 0, eights = 0, threesDealt = 0;
    const int trials = 20000;
    for (int t = 0; t < trials; t++) {
        for (int i = 0; i < HISTORY_LENGTH; i++)
            dealtHistory[i] = 3;
        int dealt = pickNextDigit();
        if (dealtHistory[0] != 3) {
            recorded++;
            eights += dealtHistory[0] == 8;
        } else if (dealt == 3) {
            threesDealt++;
        }
    }
    double recordRate = double(recorded) / trials;      // 1 - (3/4)^8 = 0.90
    double eightShare = double(eights) / recorded;       // 0.25 / 0.90 = 0.28
    EXPECT_NEAR(recordRate, 0.90, 0.02);
    EXPECT_NEAR(eightShare, 0.28, 0.02);
    // Without a recorded digit a drawn 3 is held back and replaced by a fresh
    // random digit, so a 3 comes out only one time in 9 x 9.
    double threeShare = double(threesDealt) / (trials - recorded);
    EXPECT_NEAR(threeShare, 1.0 / 81, 0.01);
}

TEST(Dealer, DealsEveryDigitReasonablyOften)
{
    srand(23);
    fillDealtHistory();
    int counts[9] = {};
    const int deals = 18000;
    for (int i = 0; i < deals; i++)
        counts[pickNextDigit()]++;
    for (int d = 0; d < 9; d++) {
        EXPECT_GT(counts[d], deals / 9 * 0.6) << d;
        EXPECT_LT(counts[d], deals / 9 * 1.4) << d;
    }
}

} // namespace
