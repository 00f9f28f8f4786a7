// fall.cpp -- the falling digit. One fall step spawns a digit when none is
// falling, applies a pending sideways move, moves the digit down and lands
// it; the steering keys only set the values the next fall step reads. The
// timer callback counts unpaused play time for the clock.
#include "game/fall.h"
#include "game/catalogue.h"
#include "game/frame.h"
#include "game/groups.h"
#include "game/well.h"
#include <allegro.h>

const int MOVE_NONE = -1;
const int MOVE_LEFT = 0;
const int MOVE_RIGHT = 1;
const int SOFT_DROP_NONE = 0;
const int SOFT_DROP_REQUESTED = 1;
const int SOFT_DROP_SETTLED = -3;
const int CLOCK_REDRAW_TICKS = 70;
const int ABOVE_ROW_SLACK = 20;        // from this offset on the row above no longer blocks a move
const int SLOW_DOWN_COST = 50;

// 1 when the well cell holds a digit.
static int cellOccupied(int row, int column)
{
    return well[row][column].digit != EMPTY_CELL;
}

// Brings in the next digit at the top of the spawn column; 0 when the round is over instead.
static int spawnDigit()
{
    fallStep = baseFallStep;
    stepDivider = baseStepDivider;
    softDropState = SOFT_DROP_NONE;

    if (cellOccupied(0, SPAWN_COLUMN) || outOfTime) {
        roundEndMessage = outOfTime ? "Game Over - out of time :-(" : "Game Over :-(";
        return 0;
    }

    fallColumn = SPAWN_COLUMN;
    currentDigit = nextDigit;
    nextDigit = pickNextDigit();
    fallY = 0;
    fallX = CELL_SIZE * SPAWN_COLUMN;
    prevFallX = fallX;
    prevFallY = 0;
    checkLevelTargets();
    return 1;
}

// Puts the digit into the well where it stands and gets ready for the next one.
static void landDigit()
{
    if (soundEffectsOn && landSound)
        play_sample(landSound, 255, 128, 1000, 0);
    well[fallRow][fallColumn].digit = (signed char)currentDigit;
    resolveWell();
    fallRow = 0;
    sideBlocked = 0;
    fallColumn = SPAWN_COLUMN;
}

int advanceFallingDigit()
{
    if (paused)
        return 1;
    if (fallRow == 0 && !spawnDigit())
        return 0;

    applySidewaysMove();

    if (fallY % CELL_SIZE == 0) {
        if (fallRow >= WELL_ROWS - 1 || cellOccupied(fallRow + 1, fallColumn) || sideBlocked) {
            landDigit();
            return 1;
        }
        // The pace picked at a row crossing holds until the next request.
        fallRow++;
        if (softDropState == SOFT_DROP_NONE)
            fallStep = baseFallStep;
        else if (softDropState == SOFT_DROP_REQUESTED)
            fallStep = SOFT_DROP_STEP;
        softDropState = SOFT_DROP_SETTLED;
        fallY += fallStep;
        return 1;
    }

    // A fresh soft drop first snaps the digit to the next row boundary.
    if (softDropState == SOFT_DROP_REQUESTED)
        fallStep = CELL_SIZE - fallY % CELL_SIZE;
    fallY += fallStep;
    return 1;
}

void applySidewaysMove()
{
    if (paused || pendingMove == MOVE_NONE)
        return;

    int target = fallColumn + (pendingMove == MOVE_RIGHT ? 1 : -1);
    pendingMove = MOVE_NONE;
    if (target < 0 || target >= WELL_COLUMNS)
        return;

    if (cellOccupied(fallRow, target)) {
        sideBlocked = 1;
        return;
    }
    // Until the digit is well clear of the row it is leaving, that row's
    // neighbour still stands in the way.
    if (fallRow > 0 && cellOccupied(fallRow - 1, target) && fallY % CELL_SIZE < ABOVE_ROW_SLACK)
        return;

    fallColumn = target;
    fallX = CELL_SIZE * target;
    sideBlocked = 0;
}

// W or Up: cancels a soft drop, or else slows the digit to half speed for a price.
static void slowDown()
{
    if (fallStep == SOFT_DROP_STEP) {
        softDropState = SOFT_DROP_NONE;
        stepDivider = baseStepDivider;
    } else if (fallStep == baseFallStep && stepDivider == baseStepDivider) {
        stepDivider *= 2;
        score -= SLOW_DOWN_COST;
    }
}

void applySteeringKey(int scancode)
{
    if (paused)
        return;
    switch (scancode) {
    case KEY_A:
    case KEY_LEFT:
        pendingMove = MOVE_LEFT;
        break;
    case KEY_D:
    case KEY_RIGHT:
        pendingMove = MOVE_RIGHT;
        break;
    case KEY_W:
    case KEY_UP:
        slowDown();
        break;
    case KEY_S:
    case KEY_DOWN:
        if (softDropState != SOFT_DROP_REQUESTED) {
            stepDivider = 1;
            softDropState = SOFT_DROP_REQUESTED;
        }
        break;
    }
}

// Runs on the library's timer thread: atomics only, no drawing, no allocation.
void onTimerTick()
{
    if (paused)
        return;
    uint32_t ticks = tickCount.fetch_add(1) + 1;
    if (ticks % CLOCK_REDRAW_TICKS == 0)
        clockDue = 1;
}
