// desktop.h -- what the presenter needs from the windowing system: the
// driver to open, the monitor to show on and the room a window may take
// there, the full-screen state of the game's window, its size when the
// player resizes it, its icon and name, the keyboard focus, and an
// immediate exit when the display connection is lost. One implementation
// per system.
#pragma once

// Called before the library starts: settings of the windowing system for the game's process.
void prepareDesktop();

// The library's graphics driver for a full-screen or a windowed display.
int desktopDriver(int full);

// Picks the monitor the game shows on: the one under the pointer (at the
// start) or the one holding the middle of the game's window (at a switch).
void pickDesktopMonitor(int underPointer);

// The size of the picked monitor.
void desktopSize(int *w, int *h);

// The room a decorated window may take there: the monitor less panels and a frame.
void desktopWorkArea(int *w, int *h);

// The size to open the display's memory at for a window of w x h: room
// for the window to grow into without reopening the display.
void desktopSurfaceSize(int w, int h, int *surfaceW, int *surfaceH);

// Called before the display opens: asks for the full-screen or the normal state.
void prepareDesktopWindow(int full);

// Called after the display opened with a window of w x h, before
// finishDesktopWindow: lets the player and the window manager resize the
// window, and puts a window in the middle of the work area.
void placeDesktopWindow(int full, int w, int h);

// Called after the display opened: name, icon, state and focus of the new window.
void finishDesktopWindow(int full);

// Switches the open window to full screen on the picked monitor, or to a
// window of w x h in the middle of its work area, keeping the display; -1
// when the display must be reopened for it instead.
int switchDesktopWindow(int full, int w, int h);

// 1 when the game's window has changed its size since the last call (the
// player, the window manager or a switch resized it); w and h get the size
// that can be drawn in, which is never more than the display's memory.
int desktopWindowResized(int *w, int *h);

// 1 when the game's window holds the keyboard focus.
int desktopWindowHasFocus();

// Sends what was drawn to the display server now, so it shows when it is drawn.
void flushDesktop();

// 1 when the presenter may write the screen's pixels itself (its memory is
// plain lines, as on X11), telling desktopPixelsChanged what it wrote.
int desktopDirectPixels();

// Sends a rectangle of the screen written directly to the display.
void desktopPixelsChanged(int x, int y, int w, int h);
