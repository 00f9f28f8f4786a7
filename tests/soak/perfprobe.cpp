// perfprobe.cpp -- the in-process figures of the performance report, on a
// real Allegro screen: how long the datafile takes to load and check, and
// the CPU time of one ordinary updateFrame pass (no clear animation, which
// waits for frames of its own). Prints "name value" lines.
#include "app/assetload.h"
#include "game/catalogue.h"
#include "game/frame.h"
#include "game/well.h"
#include "platform/present.h"
#include <allegro.h>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

// Milliseconds of the given clock.
static double clockMs(clockid_t clock)
{
    timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main()
{
    if (allegro_init() != 0) {
        fprintf(stderr, "perfprobe: no display\n");
        return 1;
    }
    install_timer();
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, SCREEN_W_PX, SCREEN_H_PX, 0, 0) != 0) {
        fprintf(stderr, "perfprobe: no screen\n");
        return 1;
    }
    textColour = makecol(0, 0, 0);
    if (createCanvas() != 0)
        return 1;

    // The game's own way in: the whole file read and checked with the menu's
    // objects unpacked (what the first frame waits for), then everything else.
    double start = clockMs(CLOCK_MONOTONIC);
    if (!loadMenuAssets()) {
        fprintf(stderr, "perfprobe: the datafile does not load\n");
        return 1;
    }
    double menuReady = clockMs(CLOCK_MONOTONIC);
    if (!unpackRemainingAssets()) {
        fprintf(stderr, "perfprobe: the datafile does not unpack\n");
        return 1;
    }
    printf("datafile_menu_ms %.1f\n", menuReady - start);
    printf("datafile_load_ms %.1f\n", clockMs(CLOCK_MONOTONIC) - start);
    // For comparison only: the library's own loader taking the whole file at
    // once, as the game once did (on this known-good file; the game never
    // hands the library a datafile it has not checked).
    start = clockMs(CLOCK_MONOTONIC);
    packfile_password(DATAFILE_PASSWORD);
    DATAFILE *whole = load_datafile(DATAFILE_NAME);
    packfile_password(nullptr);
    printf("datafile_library_load_ms %.1f\n", clockMs(CLOCK_MONOTONIC) - start);
    if (whole)
        unload_datafile(whole);

    // A round on Easy with no keys: the digits stack up in the middle
    // column without completing a group, so every pass is an ordinary one.
    soundEffectsOn = 0;
    difficulty = EASY;
    startRound();
    std::vector<double> passes;
    for (int i = 0, going = 1; i < 3000 && going; i++) {
        double start = clockMs(CLOCK_THREAD_CPUTIME_ID);
        going = updateFrame();
        passes.push_back(clockMs(CLOCK_THREAD_CPUTIME_ID) - start);
    }
    std::sort(passes.begin(), passes.end());
    printf("update_frame_ms_median %.4f\n", passes[passes.size() / 2]);
    printf("update_frame_ms_p95 %.4f\n", passes[passes.size() * 95 / 100]);
    return 0;
}
END_OF_MAIN()
