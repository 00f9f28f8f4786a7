// test_pointer.cpp -- the latched left button: a press let go before the
// next frame is one click at the press's place, for the main loop and for
// the dialog toolkit (down for its two reads, then up, and never used up by
// the toolkit's timer thread); a press nobody looked at in its frame is
// forgotten, so a click during play or a wait never reaches the menu.
#include "platform/pointer.h"
#include "platform/present.h"
#include "platform/scale.h"
#include "support/headless.h"
#include <allegro.h>
#include <gtest/gtest.h>
#include <thread>

// Presses and lets go of the left button at display pixel (x, y), as the
// library reports it, then moves the pointer away.
static void quickClick(int x, int y)
{
    mouse_x = x;
    mouse_y = y;
    mouse_b = 1;
    mouse_callback(MOUSE_FLAG_LEFT_DOWN);
    mouse_b = 0;
    mouse_callback(MOUSE_FLAG_LEFT_UP);
    mouse_x = 900;
    mouse_y = 700;
}

TEST(Pointer, QuickPressIsOneClickAtItsPlace)
{
    startHeadlessAllegro();
    fitCanvas(CANVAS_W * 2, CANVAS_H * 2);       // scale 2: display pixels are halved
    installPointer();
    pointerFrame();
    quickClick(2 * 100 + 1, 2 * 200);
    pointerFrame();
    EXPECT_EQ(leftButtonDown(), 1) << "the press, at the frame's first look";
    EXPECT_EQ(canvasMouseX(), 100);
    pointerFrame();
    EXPECT_EQ(leftButtonDown(), 0) << "its release, at the next pass";
    EXPECT_EQ(canvasMouseY(), 200) << "the click is handled at the press's place";
    pointerFrame();
    EXPECT_EQ(canvasMouseX(), 450) << "then the pointer is where it is";

    quickClick(10, 10);
    pointerFrame();
    pointerFrame();
    EXPECT_EQ(leftButtonDown(), 0) << "a press nobody looked at in its frame";
}

TEST(Pointer, DialogsSeeAQuickPressDownForTwoReads)
{
    startHeadlessAllegro();
    fitCanvas(CANVAS_W, CANVAS_H);
    installPointer();
    pointerFrame();
    quickClick(300, 400);
    pointerFrame();
    int timerRead = -1;
    std::thread([&] { timerRead = gui_mouse_b(); }).join();
    EXPECT_EQ(timerRead, 0) << "another thread sees the button as it is";
    EXPECT_EQ(gui_mouse_b(), 1) << "the read that finds the press";
    EXPECT_EQ(gui_mouse_x(), 300);
    EXPECT_EQ(gui_mouse_b(), 1) << "the button's own read";
    EXPECT_EQ(gui_mouse_y(), 400);
    EXPECT_EQ(gui_mouse_b(), 0) << "then the release";
}
