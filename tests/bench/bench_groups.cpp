// bench_groups.cpp -- how long resolveWell takes on a full random well, on a
// well where every group position but the columns is complete at once, and on
// a crafted chain of nine clearing passes. A landing must resolve well inside
// one 16.7 ms frame; the aim is under 50 us for the worst case.
#include "game/groups.h"
#include "game/well.h"
#include "support/headless.h"
#include <benchmark/benchmark.h>
#include <cstring>
#include <random>
#include <string>

namespace {

// A snapshot of the well to restore before every resolve.
struct Snapshot {
    WellCell cells[WELL_ROWS][WELL_COLUMNS];
};

// Nine boxes pushed in under a patterned well, one per start column from
// left to right: each clear lets the next box (and with it more of the
// pattern) come together, so the well resolves in nine clearing passes.
const char *const CHAIN_WELL[WELL_ROWS] = {
    "12345678912",
    "45678912345",
    "78912345678",
    "12345678912",
    "45678912345",
    "78912345678",
    "12217814212",
    "45595557145",
    "78926382578",
    "14499939392",
    "41616294755",
    "73524468428",
    "73826178165",
    "87377566428",
    "68413831397",
};

// The well as it stands.
Snapshot takeSnapshot()
{
    Snapshot s;
    std::memcpy(s.cells, well, sizeof s.cells);
    return s;
}

// Every cell holds a random digit; each well below starts a Blitz round for the largest multiplier.
Snapshot randomFullWell()
{
    freshRound(BLITZ, 11);
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> digit(0, 8);
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            well[r][c].digit = (signed char)digit(rng);
    return takeSnapshot();
}

// Every row run and every box holds the nine digits: 162 groups, 165 cells.
Snapshot overlappingWell()
{
    freshRound(BLITZ, 11);
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            well[r][c].digit = (signed char)((3 * r + c) % 9);
    return takeSnapshot();
}

// The crafted chain above.
Snapshot chainWell()
{
    freshRound(BLITZ, 11);
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            well[r][c].digit = (signed char)(CHAIN_WELL[r][c] - '1');
    return takeSnapshot();
}

// Resolves the well and counts the passes that cleared something.
int countedResolve(int &cleared)
{
    int passes = 0;
    cleared = 0;
    for (;;) {
        clearedThisPass = 0;
        findGroups();
        clearAndScore();
        collapseWell();
        if (clearedThisPass == 0)
            return passes;
        passes++;
        cleared += clearedThisPass;
    }
}

// Times resolveWell from the snapshot; the copy back in is part of the figure.
void runResolve(benchmark::State &state, const Snapshot &start)
{
    std::memcpy(well, start.cells, sizeof start.cells);
    int groupsBefore = boxesDone + columnsDone + rowsDone;
    int cleared = 0;
    int passes = countedResolve(cleared);
    state.counters["passes"] = passes;
    state.counters["cleared"] = cleared;
    state.counters["groups"] = boxesDone + columnsDone + rowsDone - groupsBefore;

    for (auto _ : state) {
        std::memcpy(well, start.cells, sizeof start.cells);
        std::memset(cellEffects, 0, sizeof cellEffects);
        resolveWell();
        benchmark::DoNotOptimize(score);
    }
}

void BM_ResolveRandomFullWell(benchmark::State &state)
{
    runResolve(state, randomFullWell());
}
BENCHMARK(BM_ResolveRandomFullWell);

void BM_ResolveOverlappingGroups(benchmark::State &state)
{
    runResolve(state, overlappingWell());
}
BENCHMARK(BM_ResolveOverlappingGroups);

void BM_ResolveNinePassChain(benchmark::State &state)
{
    Snapshot start = chainWell();
    int cleared = 0;
    int passes = countedResolve(cleared);
    if (passes != 9) {
        state.SkipWithError(("the crafted well resolves in " + std::to_string(passes) + " passes").c_str());
        return;
    }
    runResolve(state, start);
}
BENCHMARK(BM_ResolveNinePassChain);

}  // namespace

BENCHMARK_MAIN();
