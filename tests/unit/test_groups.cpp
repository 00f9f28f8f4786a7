// test_groups.cpp -- the rule core: where groups are found, what a pass
// scores, how the collapse fills holes, chains, level progression, and a
// seeded comparison against a plain reference model over many random wells.
#include "game/groups.h"
#include "game/well.h"
#include "support/headless.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// A well drawn as text, top row first: '.' empty, '1'..'9' the shown digits.
typedef std::vector<std::string> Picture;

// Starts an Easy round and writes the picture into the bottom rows of the well.
void loadWell(const Picture &rows, int chosenDifficulty = EASY)
{
    freshRound(chosenDifficulty, 7);
    int top = WELL_ROWS - (int)rows.size();
    for (int i = 0; i < (int)rows.size(); i++) {
        ASSERT_EQ(rows[i].size(), (size_t)WELL_COLUMNS) << rows[i];
        for (int c = 0; c < WELL_COLUMNS; c++) {
            char ch = rows[i][c];
            well[top + i][c].digit = ch == '.' ? EMPTY_CELL : (signed char)(ch - '1');
        }
    }
}

// The whole well as text, in the form loadWell reads.
Picture wellPicture()
{
    Picture rows;
    for (int r = 0; r < WELL_ROWS; r++) {
        std::string line;
        for (int c = 0; c < WELL_COLUMNS; c++) {
            int d = well[r][c].digit;
            line += d == EMPTY_CELL ? '.' : (char)('1' + d);
        }
        rows.push_back(line);
    }
    return rows;
}

int countMarks(unsigned char mark)
{
    int n = 0;
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            n += well[r][c].mark == mark;
    return n;
}

struct FindCase {
    const char *name;
    Picture rows;
    int rowGroups, columnGroups, boxes, marked;
};

TEST(GroupsFind, FindsEveryShapeAtItsEdgePositions)
{
    const FindCase cases[] = {
        {"row at start 0", {"123456789.."}, 1, 0, 0, 9},
        {"row at start 2", {"..987654321"}, 1, 0, 0, 9},
        {"row split over two rows", {"...12345678", "9.........."}, 0, 0, 0, 0},
        {"row of eleven, two starts", {"12345678914"}, 2, 0, 0, 10},
        {"repeat digit in a row", {"123456788.."}, 0, 0, 0, 0},
        {"gap in a row", {"1234.56789."}, 0, 0, 0, 0},
        {"column at the bottom", {"1..........", "2..........", "3..........", "4..........",
                                  "5..........", "6..........", "7..........", "8..........",
                                  "9.........."}, 0, 1, 0, 9},
        {"column at the top", {"..........9", "..........8", "..........7", "..........6",
                               "..........5", "..........4", "..........3", "..........2",
                               "..........1", "...........", "...........", "...........",
                               "...........", "...........", "..........."}, 0, 1, 0, 9},
        {"box off any grid", {".......123.", ".......456.", ".......789.", "...........",
                              "...........", "...........", "...........", "...........",
                              "..........."}, 0, 0, 1, 9},
        {"box with a repeat", {"123........", "456........", "788........"}, 0, 0, 0, 0},
        {"two overlapping boxes", {"1234.......", "4567.......", "7891......."}, 0, 0, 2, 12},
        {"row and box share three cells", {"456........", "789........", "123456789.."}, 1, 0, 1, 15},
    };
    for (const FindCase &fc : cases) {
        SCOPED_TRACE(fc.name);
        loadWell(fc.rows);
        findGroups();
        EXPECT_EQ(rowsDone, fc.rowGroups);
        EXPECT_EQ(rowsThisPass, fc.rowGroups);
        EXPECT_EQ(columnsDone, fc.columnGroups);
        EXPECT_EQ(columnsThisPass, fc.columnGroups);
        EXPECT_EQ(boxesDone, fc.boxes);
        EXPECT_EQ(countMarks(MARK_GROUP), fc.marked);
    }
}

// Marks n cells (any digits) and runs one clearing step.
int scoreOfPass(int n, int m, int rows, int columns)
{
    freshRound(EASY, 3);
    scoreMultiplier = m;
    for (int i = 0; i < n; i++) {
        WellCell &cell = well[i / WELL_COLUMNS][i % WELL_COLUMNS];
        cell.digit = (signed char)(i % 9);
        cell.mark = MARK_GROUP;
    }
    rowsThisPass = rows;
    columnsThisPass = columns;
    clearAndScore();
    return score;
}

TEST(GroupsScore, RateTableBoundariesAtTwoMultipliers)
{
    const struct { int n, rate; } steps[] = {
        {9, 50}, {10, 65}, {12, 65}, {13, 70}, {15, 70}, {16, 75},
        {18, 75}, {19, 90}, {24, 90}, {25, 105}, {165, 105},
    };
    for (int m : {1, 7}) {
        for (const auto &s : steps) {
            SCOPED_TRACE(testing::Message() << "n=" << s.n << " m=" << m);
            EXPECT_EQ(scoreOfPass(s.n, m, 0, 0), m * s.n * s.rate);
        }
    }
    EXPECT_EQ(scoreOfPass(0, 3, 0, 0), 0);
    EXPECT_EQ(scoreOfPass(18, 2, 1, 1), 2 * 18 * 75 + 2 * 600);
}

TEST(GroupsScore, ClearingLeavesHolesEffectsAndResetsPassCounts)
{
    scoreOfPass(12, 1, 2, 1);
    EXPECT_EQ(clearedThisPass, 12);
    EXPECT_EQ(rowsThisPass, 0);
    EXPECT_EQ(columnsThisPass, 0);
    EXPECT_EQ(countMarks(MARK_HOLE), 12);
    for (int i = 0; i < 12; i++) {
        int r = i / WELL_COLUMNS, c = i % WELL_COLUMNS;
        EXPECT_EQ(well[r][c].digit, EMPTY_CELL);
        EXPECT_EQ(cellEffects[r][c], EFFECT_CLEARED + i % 9);
    }
}

TEST(GroupsScore, WorkedPassesThroughResolve)
{
    const struct { const char *name; Picture rows; int m, points; } cases[] = {
        {"single box", {"123........", "456........", "789........"}, 1, 450},
        {"single row", {"123456789.."}, 1, 850},
        {"row of eleven", {"12345678914"}, 1, 10 * 65 + 800},
        {"row of eleven on Hard", {"12345678914"}, 3, 3 * 10 * 65 + 800 * 3},
        {"row and box sharing three cells", {"456........", "789........", "123456789.."}, 1, 1450},
    };
    for (const auto &tc : cases) {
        SCOPED_TRACE(tc.name);
        loadWell(tc.rows);
        scoreMultiplier = tc.m;
        resolveWell();
        EXPECT_EQ(score, tc.points);
        EXPECT_EQ(countMarks(MARK_NONE), WELL_ROWS * WELL_COLUMNS);
    }
}

// One column drawn top to bottom: '.' empty, digits, '#' a hole left by a clear.
// Effects: '.' none, 'm' moved, 'x' the hole's clear code kept.
struct CollapseCase {
    const char *name;
    const char *before, *after, *effects;
};

TEST(GroupsCollapse, FillsOnlyHolesKeepingOrder)
{
    const CollapseCase cases[] = {
        {"two holes with a digit between", ".........12#3#4", "...........1234", "mmmmmmmmmmmxmx."},
        {"column full to the top", "123456789123#56", ".12345678912356", "mmmmmmmmmmmmx.."},
        {"digit above an ordinary gap", "..........7.#34", "...........7.34", "mmmmmmmmmmmmx.."},
        {"holes in the top two rows", "##3456789123456", "..3456789123456", "xx............."},
        {"hole at the bottom", "..........1234#", "...........1234", "mmmmmmmmmmmmmmx"},
        {"gap stays under a stack", "......5.#6#..#.", ".........5.6...", "mmmmmmmmxmxmmx."},
    };
    const int column = 4;
    for (const CollapseCase &cc : cases) {
        SCOPED_TRACE(cc.name);
        freshRound(EASY, 5);
        for (int r = 0; r < WELL_ROWS; r++) {
            char ch = cc.before[r];
            well[r][column].digit = ch >= '1' && ch <= '9' ? (signed char)(ch - '1') : EMPTY_CELL;
            well[r][column].mark = ch == '#' ? MARK_HOLE : MARK_NONE;
            cellEffects[r][column] = ch == '#' ? EFFECT_CLEARED + 4 : 0;
        }
        collapseWell();
        std::string after, effects;
        for (int r = 0; r < WELL_ROWS; r++) {
            int d = well[r][column].digit;
            after += d == EMPTY_CELL ? '.' : (char)('1' + d);
            int e = cellEffects[r][column];
            effects += e == 0 ? '.' : e == EFFECT_MOVED ? 'm' : e == EFFECT_CLEARED + 4 ? 'x' : '?';
        }
        EXPECT_EQ(after, cc.after);
        EXPECT_EQ(effects, cc.effects);
        EXPECT_EQ(countMarks(MARK_NONE), WELL_ROWS * WELL_COLUMNS);
    }
}

TEST(GroupsResolve, ChainScoresEachPassWithItsOwnRate)
{
    // The box on the right clears first; the three digits above it drop
    // into row 14 and complete two row runs there.
    loadWell({
        "........915",
        "........912",
        "........345",
        "12345678678",
    });
    resolveWell();
    EXPECT_EQ(boxesDone, 1);
    EXPECT_EQ(rowsDone, 2);
    EXPECT_EQ(score, 450 + (10 * 65 + 800));
    EXPECT_EQ(clearedThisPass, 0);
    // Column 10 did not fit either run and stays behind.
    Picture left(WELL_ROWS, std::string(WELL_COLUMNS, '.'));
    left[14] = "..........5";
    EXPECT_EQ(wellPicture(), left);
    // The cell that was cleared twice shows its last clear.
    EXPECT_EQ(cellEffects[14][8], EFFECT_CLEARED + 8);
    EXPECT_EQ(cellEffects[14][0], EFFECT_CLEARED + 0);
}

TEST(GroupsLevel, TargetsMetMoveToTheNextLevel)
{
    freshRound(MEDIUM, 9);
    boxesDone = 2;
    columnsDone = 1;
    checkLevelTargets();
    EXPECT_EQ(levelComplete, 0);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(boxesDone, 2);

    const struct { int level, boxes, columns, rows; } next[] = {
        {2, 4, 1, 0}, {3, 5, 2, 1}, {4, 6, 2, 1}, {5, 7, 3, 2}, {6, 8, 3, 2},
    };
    boxesDone = 3;
    columnsDone = 4;
    rowsDone = 0;
    for (const auto &n : next) {
        SCOPED_TRACE(n.level);
        checkLevelTargets();
        EXPECT_EQ(levelComplete, 1);
        EXPECT_EQ(boxesDone + columnsDone + rowsDone, 0);
        EXPECT_EQ(level, n.level);
        EXPECT_EQ(boxesTarget, n.boxes);
        EXPECT_EQ(columnsTarget, n.columns);
        EXPECT_EQ(rowsTarget, n.rows);
        checkLevelTargets();    // nothing found yet: the level stays
        EXPECT_EQ(level, n.level);
        boxesDone = boxesTarget;
        columnsDone = columnsTarget;
        rowsDone = rowsTarget;
    }
    EXPECT_EQ(fallStep, 3);     // the pace stays the difficulty's
}

// ---- reference model for the property test ----

struct Cells {
    signed char d[WELL_ROWS][WELL_COLUMNS];
};

bool isGroup(const Cells &w, const int (*pos)[2])
{
    int digits[9];
    for (int i = 0; i < 9; i++)
        digits[i] = w.d[pos[i][0]][pos[i][1]];
    std::sort(digits, digits + 9);
    for (int i = 0; i < 9; i++)
        if (digits[i] != i)
            return false;
    return true;
}

// Every group position of the well as its nine cells, with its shape (0 row, 1 column, 2 box).
struct Position {
    int shape;
    int cells[9][2];
};

std::vector<Position> allPositions()
{
    std::vector<Position> out;
    for (int r = 0; r < WELL_ROWS; r++)
        for (int s = 0; s <= WELL_COLUMNS - 9; s++) {
            Position p{0, {}};
            for (int i = 0; i < 9; i++) { p.cells[i][0] = r; p.cells[i][1] = s + i; }
            out.push_back(p);
        }
    for (int c = 0; c < WELL_COLUMNS; c++)
        for (int s = 0; s <= WELL_ROWS - 9; s++) {
            Position p{1, {}};
            for (int i = 0; i < 9; i++) { p.cells[i][0] = s + i; p.cells[i][1] = c; }
            out.push_back(p);
        }
    for (int r = 0; r <= WELL_ROWS - 3; r++)
        for (int c = 0; c <= WELL_COLUMNS - 3; c++) {
            Position p{2, {}};
            for (int i = 0; i < 9; i++) { p.cells[i][0] = r + i / 3; p.cells[i][1] = c + i % 3; }
            out.push_back(p);
        }
    return out;
}

int referenceRate(int n)
{
    const int limits[] = {9, 12, 15, 18, 24};
    const int rates[] = {50, 65, 70, 75, 90};
    for (int i = 0; i < 5; i++)
        if (n <= limits[i])
            return rates[i];
    return 105;
}

// Resolves a copy of the well: deletes group cells from their columns and
// lets the rest of the column (gaps included) slide down over them.
void referenceResolve(Cells &w, int m, int &points, int shapeCounts[3])
{
    static const std::vector<Position> positions = allPositions();
    for (;;) {
        bool hit[WELL_ROWS][WELL_COLUMNS] = {};
        int found[3] = {0, 0, 0};
        for (const Position &p : positions) {
            if (!isGroup(w, p.cells))
                continue;
            found[p.shape]++;
            for (int i = 0; i < 9; i++)
                hit[p.cells[i][0]][p.cells[i][1]] = true;
        }
        int n = 0;
        for (int c = 0; c < WELL_COLUMNS; c++) {
            std::vector<signed char> kept;
            for (int r = WELL_ROWS - 1; r >= 0; r--) {
                if (hit[r][c]) n++;
                else kept.push_back(w.d[r][c]);
            }
            for (int r = WELL_ROWS - 1, i = 0; r >= 0; r--, i++)
                w.d[r][c] = i < (int)kept.size() ? kept[i] : EMPTY_CELL;
        }
        if (n == 0)
            return;
        points += m * n * referenceRate(n) + 200 * m * (found[1] + 2 * found[0]);
        for (int s = 0; s < 3; s++)
            shapeCounts[s] += found[s];
    }
}

// Writes a fresh group at p after pushing the cells at and above it upwards
// (the top ones drop out): the undoing of a clear, so that groups it breaks
// come back together only in a later pass.
void pushGroupUnder(const Position &p, std::mt19937 &rng)
{
    int perm[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    std::shuffle(perm, perm + 9, rng);
    for (int c = 0; c < WELL_COLUMNS; c++) {
        int top = WELL_ROWS, bottom = -1;
        for (int i = 0; i < 9; i++)
            if (p.cells[i][1] == c) {
                top = std::min(top, p.cells[i][0]);
                bottom = std::max(bottom, p.cells[i][0]);
            }
        if (bottom < 0)
            continue;
        int lift = bottom - top + 1;
        for (int r = 0; r + lift <= bottom; r++)
            well[r][c].digit = well[r + lift][c].digit;
    }
    for (int i = 0; i < 9; i++)
        well[p.cells[i][0]][p.cells[i][1]].digit = (signed char)perm[i];
}

// A well of uneven stacks with a few gaps and some planted groups.
void randomWell(std::mt19937 &rng)
{
    std::uniform_int_distribution<int> digit(0, 8), height(0, WELL_ROWS), pct(0, 99);
    for (int c = 0; c < WELL_COLUMNS; c++) {
        int h = height(rng);
        for (int r = WELL_ROWS - h; r < WELL_ROWS; r++)
            well[r][c].digit = pct(rng) < 4 ? EMPTY_CELL : (signed char)digit(rng);
    }
    static const std::vector<Position> positions = allPositions();
    std::uniform_int_distribution<int> pick(0, (int)positions.size() - 1), planted(0, 8);
    for (int k = planted(rng); k > 0; k--) {
        const Position &p = positions[pick(rng)];
        int perm[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
        std::shuffle(perm, perm + 9, rng);
        for (int i = 0; i < 9; i++)
            well[p.cells[i][0]][p.cells[i][1]].digit = (signed char)perm[i];
    }
    for (int k = planted(rng) / 3; k > 0; k--)
        pushGroupUnder(positions[pick(rng)], rng);
}

// The digits of column c from the top, gaps left out.
std::string columnDigits(const Cells &w, int c)
{
    std::string s;
    for (int r = 0; r < WELL_ROWS; r++)
        if (w.d[r][c] != EMPTY_CELL)
            s += (char)('1' + w.d[r][c]);
    return s;
}

bool isSubsequence(const std::string &part, const std::string &whole)
{
    size_t i = 0;
    for (char ch : whole)
        if (i < part.size() && part[i] == ch)
            i++;
    return i == part.size();
}

TEST(GroupsProperty, RandomWellsMatchTheReferenceModel)
{
    static const std::vector<Position> positions = allPositions();
    ASSERT_EQ(positions.size(), 239u);
    std::mt19937 rng(20240611);
    int wellsWithChains = 0, wellsWithGroups = 0;
    for (int trial = 0; trial < 3000; trial++) {
        SCOPED_TRACE(trial);
        freshRound(1 + trial % 4, trial);
        randomWell(rng);
        Cells before, expected;
        for (int r = 0; r < WELL_ROWS; r++)
            for (int c = 0; c < WELL_COLUMNS; c++)
                before.d[r][c] = expected.d[r][c] = well[r][c].digit;
        int points = 0, shapes[3] = {0, 0, 0};
        referenceResolve(expected, scoreMultiplier, points, shapes);

        int passes = 0;
        do {        // resolveWell's own loop, counted
            clearedThisPass = 0;
            findGroups();
            clearAndScore();
            collapseWell();
            passes++;
        } while (clearedThisPass != 0);
        wellsWithGroups += passes > 1;
        wellsWithChains += passes > 2;

        ASSERT_EQ(countMarks(MARK_NONE), WELL_ROWS * WELL_COLUMNS);
        Cells after;
        for (int r = 0; r < WELL_ROWS; r++)
            for (int c = 0; c < WELL_COLUMNS; c++) {
                after.d[r][c] = well[r][c].digit;
                ASSERT_EQ(after.d[r][c], expected.d[r][c]) << r << "," << c;
                int e = cellEffects[r][c];
                ASSERT_TRUE(e == 0 || e == EFFECT_MOVED || (e >= EFFECT_CLEARED && e <= EFFECT_CLEARED + 8));
            }
        for (const Position &p : positions)
            ASSERT_FALSE(isGroup(after, p.cells));
        for (int c = 0; c < WELL_COLUMNS; c++)
            ASSERT_TRUE(isSubsequence(columnDigits(after, c), columnDigits(before, c)));
        ASSERT_EQ(score, points);
        ASSERT_EQ(rowsDone, shapes[0]);
        ASSERT_EQ(columnsDone, shapes[1]);
        ASSERT_EQ(boxesDone, shapes[2]);
        ASSERT_EQ(rowsThisPass + columnsThisPass, 0);
    }
    // The generator must really exercise clears and chains.
    EXPECT_GT(wellsWithGroups, 2000);
    EXPECT_GT(wellsWithChains, 300);
}

}  // namespace
