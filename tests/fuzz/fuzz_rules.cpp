// fuzz_rules.cpp -- the rule core on any well: the bytes become digit codes
// 0..8 or empty cells, then resolveWell runs. Afterwards no cell is marked,
// no completed group is left standing, and no digit was made: each column
// holds what it held, with only the cleared cells taken out and the rest
// moved down.
#include "game/groups.h"
#include "game/well.h"
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

// True when the nine cells from (r, c) stepping (dr, dc), or the box at (r, c), hold each digit once.
static bool complete(int r, int c, int dr, int dc, bool box)
{
    int seen = 0;
    for (int i = 0; i < 9; i++) {
        int v = well[box ? r + i / 3 : r + i * dr][box ? c + i % 3 : c + i * dc].digit;
        if (v < 0 || v > 8)
            return false;
        seen |= 1 << v;
    }
    return seen == 0x1ff;
}

// Any completed group anywhere in the well.
static bool groupLeft()
{
    for (int r = 0; r < WELL_ROWS; r++)
        for (int s = 0; s + 9 <= WELL_COLUMNS; s++)
            if (complete(r, s, 0, 1, false))
                return true;
    for (int c = 0; c < WELL_COLUMNS; c++)
        for (int s = 0; s + 9 <= WELL_ROWS; s++)
            if (complete(s, c, 1, 0, false))
                return true;
    for (int r = 0; r + 3 <= WELL_ROWS; r++)
        for (int c = 0; c + 3 <= WELL_COLUMNS; c++)
            if (complete(r, c, 0, 0, true))
                return true;
    return false;
}

// True when the column's cells now are the old ones with some taken out,
// in the same order, pushed down, with empty cells on top.
static bool onlyCleared(const signed char before[WELL_ROWS], int c)
{
    int r = WELL_ROWS - 1;
    for (int k = WELL_ROWS - 1; k >= 0; k--) {
        if (r < 0)
            break;
        if (well[r][c].digit == before[k])
            r--;
    }
    for (; r >= 0; r--)
        if (well[r][c].digit != EMPTY_CELL)
            return false;
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    signed char before[WELL_COLUMNS][WELL_ROWS];
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++) {
            size_t i = (size_t)(r * WELL_COLUMNS + c);
            int v = i < size ? data[i] % 10 : 9;
            well[r][c].digit = v == 9 ? EMPTY_CELL : (signed char)v;
            well[r][c].mark = MARK_NONE;
            cellEffects[r][c] = 0;
            before[c][r] = well[r][c].digit;
        }
    scoreMultiplier = 1 + data[size - 1] % 7;
    score = 0;
    boxesDone = columnsDone = rowsDone = 0;
    rowsThisPass = columnsThisPass = 0;

    resolveWell();

    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            if (well[r][c].mark != MARK_NONE)
                abort();
    if (groupLeft() || rowsThisPass || columnsThisPass || score < 0)
        abort();
    for (int c = 0; c < WELL_COLUMNS; c++)
        if (!onlyCleared(before[c], c))
            abort();
    return 0;
}
