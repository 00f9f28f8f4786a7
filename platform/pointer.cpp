// pointer.cpp -- the latched left button. The library's mouse_callback runs
// for every mouse event (on X11 on the library's input thread, in the
// browser for every page event) and counts the presses; the game's thread
// turns them into one press per frame. A press already let go is shown as
// down for one look of the main loop, which then sees the release at its
// next pass and clicks at the press's place. The dialog toolkit reads the
// button many times a pass, and a button follows the pointer in a loop of
// its own until the button is up: it sees such a press down for two reads,
// the one that finds the press and the button's own, then up.
#include "platform/pointer.h"
#include "platform/scale.h"
#include <allegro.h>
#include <atomic>
#include <thread>

static std::atomic<int> pressCount{0};           // left presses so far
static std::atomic<int> pressX{0}, pressY{0};    // the last one's place in display pixels
static std::thread::id gameThread;
static int countAtFrame = 0;         // pressCount at the last frame boundary
static int framePress = 0;           // the frame's press, until a look reports it
static int placeX = 0, placeY = 0;   // the place of a press already let go,
static int placeFrames = 0;          // for this many more frame boundaries
static int guiDownReads = 0;         // dialog reads that still see that press down

// Mouse callback: notes each press of the left button and its place.
static void onMouseEvent(int flags)
{
    if (flags & MOUSE_FLAG_LEFT_DOWN) {
        pressX = mouse_x;
        pressY = mouse_y;
        pressCount++;
    }
}
END_OF_STATIC_FUNCTION(onMouseEvent)

void pointerFrame()
{
    int count = pressCount;
    framePress = count != countAtFrame;
    countAtFrame = count;
    if (placeFrames > 0)
        placeFrames--;
}

// Takes the frame's press; 1 when there was one and it was already let go,
// whose place then stands for the pointer until its click is handled.
static int takeQuickPress()
{
    if (!framePress)
        return 0;
    framePress = 0;
    if (mouse_b & 1)
        return 0;
    placeX = pressX;
    placeY = pressY;
    placeFrames = 2;
    return 1;
}

int leftButtonDown()
{
    int held = framePress;
    takeQuickPress();
    return held || (mouse_b & 1);
}

// The dialog toolkit's reading of the buttons. Its double-click timer reads
// them on the timer's thread: it sees only the buttons as they are. A
// button's loop reads them until they are let go; where the mouse must be
// polled (in the browser) the poll is what lets the release in.
static int guiButtons()
{
    if (mouse_needs_poll())
        poll_mouse();
    int buttons = mouse_b;
    if (std::this_thread::get_id() != gameThread)
        return buttons;
    if (takeQuickPress())
        guiDownReads = 2;
    if (guiDownReads > 0) {
        guiDownReads--;
        return buttons | 1;
    }
    return buttons;
}

int canvasMouseX()
{
    return canvasXAt(placeFrames > 0 ? placeX : mouse_x);
}

int canvasMouseY()
{
    return canvasYAt(placeFrames > 0 ? placeY : mouse_y);
}

void installPointer()
{
    gameThread = std::this_thread::get_id();
    countAtFrame = pressCount;
    LOCK_FUNCTION(onMouseEvent);
    mouse_callback = onMouseEvent;
    gui_mouse_b = guiButtons;
    gui_mouse_x = canvasMouseX;
    gui_mouse_y = canvasMouseY;
}
