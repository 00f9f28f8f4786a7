// well.h -- the state of a round: the well, the per-cell effects, the falling
// digit's values, score, level counters and clock, and the digit dealer.
#pragma once
#include <atomic>
#include <cstdint>

enum Difficulty { EASY = 1, MEDIUM = 2, HARD = 3, BLITZ = 4 };

const int WELL_ROWS = 15;
const int WELL_COLUMNS = 11;
const int CELL_SIZE = 30;
const int WELL_X = 350;                // screen position of the well's top-left corner
const int WELL_Y = 100;
const signed char EMPTY_CELL = 65;
const int SPAWN_COLUMN = 5;
const int SOFT_DROP_STEP = 15;
const int TICKS_PER_SECOND = 3000;
const int ROUND_SECONDS = 600;
const int HISTORY_LENGTH = 15;

// Cell marks used by the resolve loop.
const unsigned char MARK_NONE = 0;
const unsigned char MARK_GROUP = 1;
const unsigned char MARK_HOLE = 2;

// Effect codes telling the frame update what to draw at a cell.
const signed char EFFECT_MOVED = 2;
const signed char EFFECT_CLEARED = 10;   // 10..18: cleared digit code + 10

struct WellCell {
    signed char digit;      // 0..8 or EMPTY_CELL
    unsigned char mark;     // MARK_NONE, MARK_GROUP or MARK_HOLE
};

extern WellCell well[WELL_ROWS][WELL_COLUMNS];
extern signed char cellEffects[WELL_ROWS][WELL_COLUMNS];
extern int dealtHistory[HISTORY_LENGTH];
extern int pickerPhase;

extern int difficulty;
extern int soundEffectsOn;              // the landing and clearing sounds play
extern int currentDigit, nextDigit;
extern int fallColumn, fallRow, fallX, fallY;
extern int fallStep, baseFallStep, stepDivider, baseStepDivider;
extern int scoreMultiplier;
extern int pendingMove, sideBlocked, softDropState;
extern std::atomic<int> paused;
extern std::atomic<uint32_t> tickCount;
extern std::atomic<int> clockDue;
extern int timeLimitSeconds, outOfTime;
extern int score, level, levelComplete;
extern int boxesTarget, columnsTarget, rowsTarget;
extern int boxesDone, columnsDone, rowsDone;
extern int rowsThisPass, columnsThisPass, clearedThisPass;
extern const char *roundEndMessage;      // why the round ended; nullptr while it runs

// Puts every value of a round into its starting form for the chosen difficulty.
void startRound();

// Fills the dealer's history with fifteen random digits.
void fillDealtHistory();

// Deals the next digit code (0..8), favouring digits not dealt recently.
int pickNextDigit();
