// frameclock.cpp -- the frame clock on the desktops. The X11 driver only
// simulates the display retrace (at about 70 Hz, and slower still without a
// fast timer), so every frame of the game is paced here instead: a 60 Hz
// timer counter that wakes the main thread, which sleeps in between.
#include "platform/frameclock.h"
#include "platform/pacing.h"
#include <allegro.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

static std::atomic<int> frameTicks{0};
static std::mutex frameMutex;
static std::condition_variable frameBoundary;
static int lastFrameTick = 0;
static int pacingStarted = 0;

// Timer callback: one count per 60 Hz frame.
static void onFrameTick()
{
    frameTicks++;
    frameBoundary.notify_one();
}
END_OF_STATIC_FUNCTION(onFrameTick)

void startFramePacing()
{
    if (pacingStarted)
        return;
    LOCK_FUNCTION(onFrameTick);
    install_int_ex(onFrameTick, BPS_TO_TIMER(FRAME_RATE));
    lastFrameTick = frameTicks;
    pacingStarted = 1;
}

void waitForFrameBoundary()
{
    if (!pacingStarted) {
        vsync();
        return;
    }
    // The timeout only guards against a lost wake-up; the timer normally ends the wait.
    std::unique_lock<std::mutex> lock(frameMutex);
    while (frameTicks == lastFrameTick)
        frameBoundary.wait_for(lock, std::chrono::milliseconds(5));
    lastFrameTick = frameTicks;
}
