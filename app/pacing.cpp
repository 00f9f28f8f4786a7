// pacing.cpp -- the frame clock. The X11 driver only simulates the display
// retrace (at about 70 Hz, and slower still without a fast timer), so every
// frame of the game is paced here instead: a 60 Hz timer counter that wakes
// the main thread, which sleeps in between, and the finished frame flushed to
// the X server at once so it reaches the screen when it is drawn.
#include "app/pacing.h"
#include <allegro.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#ifdef ALLEGRO_UNIX
#include <xalleg.h>
extern "C" void _xwin_flush_buffers(void);
#endif

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

// Sends the drawing of the frame just finished to the display server.
static void flushFrame()
{
#ifdef ALLEGRO_UNIX
    if (screen && _xwin.display)
        _xwin_flush_buffers();
#endif
}

void waitFrame()
{
    if (!pacingStarted) {
        vsync();
        return;
    }
    flushFrame();
    // A frame that came late is not made up for: the game never runs in bursts.
    // The timeout only guards against a lost wake-up; the timer normally ends the wait.
    std::unique_lock<std::mutex> lock(frameMutex);
    while (frameTicks == lastFrameTick)
        frameBoundary.wait_for(lock, std::chrono::milliseconds(5));
    lastFrameTick = frameTicks;
}
