// well.cpp -- the state of a round and the digit dealer. Everything here is
// plain data with static start values; startRound puts a round's share of it
// into its starting form.
#include "game/well.h"
#include "game/frame.h"
#include <cstdlib>

WellCell well[WELL_ROWS][WELL_COLUMNS];
signed char cellEffects[WELL_ROWS][WELL_COLUMNS];
int dealtHistory[HISTORY_LENGTH];
int pickerPhase = 0;

int difficulty = EASY;
int soundEffectsOn = 1;
int currentDigit = 0, nextDigit = 0;
int fallColumn = SPAWN_COLUMN, fallRow = 0, fallX = 150, fallY = 0;
int fallStep = 1, baseFallStep = 1, stepDivider = 1, baseStepDivider = 1;
int scoreMultiplier = 1;
int pendingMove = -1, sideBlocked = 0, softDropState = 0;
std::atomic<int> paused{0};
std::atomic<uint32_t> tickCount{0};
std::atomic<int> clockDue{1};
int timeLimitSeconds = 0, outOfTime = 0;
int score = 0, level = 1, levelComplete = 0;
int boxesTarget = 0, columnsTarget = 0, rowsTarget = 0;
int boxesDone = 0, columnsDone = 0, rowsDone = 0;
int rowsThisPass = 0, columnsThisPass = 0, clearedThisPass = 0;
const char *roundEndMessage = nullptr;

// Pacing and score multiplier of one difficulty.
struct DifficultyPreset {
    int fallStep, stepDivider, scoreMultiplier;
};

static const DifficultyPreset presets[5] = {
    {0, 0, 0},
    {1, 1, 1},   // Easy: 1 pixel per frame
    {3, 2, 2},   // Medium: 1.5 pixels per frame
    {2, 1, 3},   // Hard: 2 pixels per frame
    {5, 2, 7},   // Blitz: 2.5 pixels per frame
};

// A uniformly drawn digit code 0..8.
static int randomDigit()
{
    return rand() % 9;
}

void fillDealtHistory()
{
    for (int i = 0; i < HISTORY_LENGTH; i++)
        dealtHistory[i] = randomDigit();
}

// How often a digit occurs among history entries 1..14.
static int recentCount(int digit)
{
    int count = 0;
    for (int i = 1; i < HISTORY_LENGTH; i++)
        if (dealtHistory[i] == digit)
            count++;
    return count;
}

int pickNextDigit()
{
    int d = rand() % 50;
    pickerPhase = (pickerPhase + 25) % 75;
    int n = d + pickerPhase;

    // The earlier draws only advance the generator; with no draw at all the
    // candidate is one fresh random digit.
    int candidate = 0;
    if (n == 0)
        candidate = randomDigit();
    for (int i = 0; i < n; i++)
        candidate = randomDigit();

    for (int i = HISTORY_LENGTH - 1; i >= 1; i--)
        dealtHistory[i] = dealtHistory[i - 1];

    // Digits not dealt recently get one chance in four; the highest one wins.
    for (int v = 0; v <= 8; v++) {
        if (recentCount(v) == 0 && rand() % 4 == 0) {
            candidate = v;
            dealtHistory[0] = v;
        }
    }

    if (recentCount(candidate) > 3)
        return randomDigit();
    return candidate;
}

void startRound()
{
    levelComplete = 0;
    boxesTarget = 3;
    columnsTarget = 1;
    rowsTarget = 0;
    boxesDone = columnsDone = rowsDone = 0;
    rowsThisPass = columnsThisPass = 0;

    outOfTime = 0;
    roundEndMessage = nullptr;
    fallX = 150;
    fallY = 0;
    prevFallX = CELL_SIZE * fallColumn;
    prevFallY = 0;
    fallColumn = SPAWN_COLUMN;
    fallRow = 0;
    sideBlocked = 0;
    paused = 0;
    tickCount = 0;

    score = 0;
    lastScore = -1;
    level = 1;

    fillDealtHistory();
    currentDigit = pickNextDigit();
    nextDigit = pickNextDigit();

    timeLimitSeconds = ROUND_SECONDS;
    for (int r = 0; r < WELL_ROWS; r++) {
        for (int c = 0; c < WELL_COLUMNS; c++) {
            cellEffects[r][c] = 0;
            well[r][c].digit = EMPTY_CELL;
            well[r][c].mark = MARK_NONE;
        }
    }

    if (difficulty >= EASY && difficulty <= BLITZ) {
        const DifficultyPreset &p = presets[difficulty];
        fallStep = baseFallStep = p.fallStep;
        stepDivider = baseStepDivider = p.stepDivider;
        scoreMultiplier = p.scoreMultiplier;
    }
}
