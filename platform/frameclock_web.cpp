// frameclock_web.cpp -- the frame clock in the browser, without threads.
// The game's frames follow the browser's animation frames, which the
// display itself paces; on a monitor faster than 60 Hz the extra animation
// frames are passed over, so the game still runs at 60 frames a second.
// While the game waits, the page's events, the sound and the library's
// timers go on.
#include "platform/frameclock.h"
#include "platform/pacing.h"
#include <emscripten.h>
#include <weballeg.h>

static const double FRAME_MS = 1000.0 / FRAME_RATE;
static const double EARLY_MS = 3.0;   // an animation frame this close to the boundary counts

static double nextFrame = 0.0;        // when the next game frame is due, in ms

// Nothing to start: the browser's animation frames are always there.
void startFramePacing()
{
    nextFrame = emscripten_get_now();
}

void waitForFrameBoundary()
{
    do
        web_wait_frame();
    while (emscripten_get_now() < nextFrame - EARLY_MS);
    double now = emscripten_get_now();
    nextFrame = now > nextFrame + FRAME_MS ? now + FRAME_MS : nextFrame + FRAME_MS;
}
