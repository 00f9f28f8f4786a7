// bench_frame.cpp -- the drawing cost of one ordinary frame update (no clear
// animation) with a half-full well, on a 1024x768x32 memory bitmap standing in
// for the screen. The cost on a real X11 screen is measured by the screen
// tests (FramePerformance); this one isolates the game's own drawing.
#include "game/catalogue.h"
#include "game/frame.h"
#include "game/well.h"
#include "platform/present.h"
#include "support/headless.h"
#include <allegro.h>
#include <benchmark/benchmark.h>

namespace {

// A round in progress: half the well landed, a gain text floating, the clock due.
void setUpRound()
{
    freshRound(EASY, 4);
    soundEffectsOn = 0;
    for (int r = 8; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            if (c != SPAWN_COLUMN)
                well[r][c].digit = (signed char)((r + c) % 9);
    score = 120;
}

void BM_OrdinaryFrameUpdate(benchmark::State &state)
{
    if (!loadGameDatafile()) {
        state.SkipWithError("tumblegrid.dat not found in the working folder");
        return;
    }
    textColour = makecol(0, 0, 0);
    if (createCanvas() != 0) {
        state.SkipWithError("no memory for the canvas");
        return;
    }
    setUpRound();
    for (auto _ : state) {
        clockDue = 1;
        updateFrame();
        if (fallY >= 200)           // keep the digit falling through the empty upper half
            setUpRound();
    }
}
BENCHMARK(BM_OrdinaryFrameUpdate)->Unit(benchmark::kMicrosecond);

} // namespace
