// pacing.cpp -- the waits every screen of the game is built on. At each
// frame boundary the presenter shows the finished canvas (and the display
// gets it at once), the frame clock waits for the next boundary, and the
// pointer's latch starts the new frame.
#include "platform/pacing.h"
#include "platform/frameclock.h"
#include "platform/pointer.h"
#include "platform/present.h"
#include <allegro.h>

void waitFrame()
{
    serviceDisplay();
    waitForFrameBoundary();
    pointerFrame();
}

void holdFrames(int milliseconds)
{
    for (int frames = milliseconds * FRAME_RATE / 1000; frames > 0; frames--)
        waitFrame();
}

int waitForKey()
{
    while (!keypressed())
        waitFrame();
    return readkey();
}
