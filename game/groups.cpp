// groups.cpp -- the rule core. After every landing the whole well is searched
// for completed groups (nine different digits in nine consecutive cells of a
// row or a column, or in any 3x3 box), their cells are cleared and scored,
// the cells above drop into the holes, and the search runs again until a
// pass clears nothing, so chains score pass by pass. The level targets are
// checked here too. No allocation and no drawing: the frame update animates
// what the cell effects flag.
#include "game/groups.h"
#include "game/well.h"

const int GROUP_LENGTH = 9;
const int ALL_DIGITS = 0x1ff;   // one bit for each digit code 0..8

// Bit of the digit at (r, c); an empty cell (or anything not a digit) gives none.
static int digitBit(int r, int c)
{
    int digit = well[r][c].digit;
    if (digit < 0 || digit > 8)
        return 0;
    return 1 << digit;
}

// Digit bits of the nine cells from (r, c) stepping by (dr, dc).
static int runDigits(int r, int c, int dr, int dc)
{
    int bits = 0;
    for (int i = 0; i < GROUP_LENGTH; i++)
        bits |= digitBit(r + i * dr, c + i * dc);
    return bits;
}

// Flags the nine cells of a run as members of a group.
static void markRun(int r, int c, int dr, int dc)
{
    for (int i = 0; i < GROUP_LENGTH; i++)
        well[r + i * dr][c + i * dc].mark = MARK_GROUP;
}

// Digit bits of the 3x3 box with its top-left cell at (r, c).
static int boxDigits(int r, int c)
{
    int bits = 0;
    for (int i = 0; i < 3; i++)
        bits |= digitBit(r + i, c) | digitBit(r + i, c + 1) | digitBit(r + i, c + 2);
    return bits;
}

// Flags the nine cells of a box as members of a group.
static void markBox(int r, int c)
{
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            well[r + i][c + j].mark = MARK_GROUP;
}

void findGroups()
{
    // Nine cells can only show all nine bits when each digit is there once,
    // so a full set of bits is the whole test.
    for (int r = 0; r < WELL_ROWS; r++) {
        for (int s = 0; s + GROUP_LENGTH <= WELL_COLUMNS; s++) {
            if (runDigits(r, s, 0, 1) == ALL_DIGITS) {
                rowsDone++;
                rowsThisPass++;
                markRun(r, s, 0, 1);
            }
        }
    }
    for (int c = 0; c < WELL_COLUMNS; c++) {
        for (int s = 0; s + GROUP_LENGTH <= WELL_ROWS; s++) {
            if (runDigits(s, c, 1, 0) == ALL_DIGITS) {
                columnsDone++;
                columnsThisPass++;
                markRun(s, c, 1, 0);
            }
        }
    }
    for (int r = 0; r + 3 <= WELL_ROWS; r++) {
        for (int c = 0; c + 3 <= WELL_COLUMNS; c++) {
            if (boxDigits(r, c) == ALL_DIGITS) {
                boxesDone++;
                markBox(r, c);
            }
        }
    }
}

// Points for each cell of a pass that cleared the given number of cells.
static int pointsPerCell(int cleared)
{
    if (cleared <= 9)
        return 50;
    if (cleared <= 12)
        return 65;
    if (cleared <= 15)
        return 70;
    if (cleared <= 18)
        return 75;
    if (cleared <= 24)
        return 90;
    return 105;
}

void clearAndScore()
{
    int cleared = 0;
    for (int r = 0; r < WELL_ROWS; r++) {
        for (int c = 0; c < WELL_COLUMNS; c++) {
            WellCell &cell = well[r][c];
            if (cell.mark != MARK_GROUP)
                continue;
            cell.mark = MARK_HOLE;
            cellEffects[r][c] = (signed char)(cell.digit + EFFECT_CLEARED);
            cell.digit = EMPTY_CELL;
            cleared++;
        }
    }
    clearedThisPass = cleared;

    // Every cell of the pass earns the rate its size reaches; rows and
    // columns are harder to build than boxes and earn a bonus on top.
    int m = scoreMultiplier;
    score += m * cleared * pointsPerCell(cleared) + 200 * m * (columnsThisPass + 2 * rowsThisPass);
    rowsThisPass = 0;
    columnsThisPass = 0;
}

// Whether any cleared hole still waits to be filled.
static bool wellHasHoles()
{
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            if (well[r][c].mark == MARK_HOLE)
                return true;
    return false;
}

// Drops everything above the hole at (r, c) by one row and flags it as moved.
static void fillHole(int r, int c)
{
    for (int k = r; k > 0; k--)
        well[k][c] = well[k - 1][c];
    well[0][c].digit = EMPTY_CELL;
    well[0][c].mark = MARK_NONE;

    // Cells still waiting for their clear animation keep that effect; the
    // animation repaints them anyway.
    for (int k = r - 1; k >= 0; k--)
        if (cellEffects[k][c] < EFFECT_CLEARED)
            cellEffects[k][c] = EFFECT_MOVED;
}

void collapseWell()
{
    // A hole that moves down into a row the sweep has passed waits for the
    // next sweep. Only holes close: an ordinary gap under a digit rides
    // down with the cells above it.
    while (wellHasHoles()) {
        for (int c = 0; c < WELL_COLUMNS; c++)
            for (int r = WELL_ROWS - 1; r >= 0; r--)
                if (well[r][c].mark == MARK_HOLE)
                    fillHole(r, c);
    }
}

void resolveWell()
{
    // Each clearing pass removes at least nine digits and the collapse makes
    // none, so the loop always ends.
    do {
        clearedThisPass = 0;
        findGroups();
        clearAndScore();
        collapseWell();
    } while (clearedThisPass != 0);
}

// Sets the targets of the current level: one more box each level, one more
// column every second level, and rows from level 3 on, one more every second level.
static void setLevelTargets()
{
    boxesTarget = 2 + level;
    columnsTarget = (level + 1) / 2;
    rowsTarget = (level - 1) / 2;
}

void checkLevelTargets()
{
    if (boxesDone < boxesTarget || columnsDone < columnsTarget || rowsDone < rowsTarget)
        return;
    levelComplete = 1;
    boxesDone = 0;
    columnsDone = 0;
    rowsDone = 0;
    level++;
    setLevelTargets();
}
