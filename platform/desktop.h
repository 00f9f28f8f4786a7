// desktop.h -- what the presenter needs from the windowing system: the
// driver to open, the room a window may take, the full-screen state of the
// game's window, its icon and name, the keyboard focus, and an immediate
// exit when the display connection is lost. One implementation per system.
#pragma once

// Called before the library starts: settings of the windowing system for the game's process.
void prepareDesktop();

// The library's graphics driver for a full-screen or a windowed display.
int desktopDriver(int full);

// The size of the whole desktop (the monitor the game appears on).
void desktopSize(int *w, int *h);

// The room a decorated window may take: the desktop less its panels and a frame.
void desktopWorkArea(int *w, int *h);

// Called before the display opens: asks for the full-screen or the normal state.
void prepareDesktopWindow(int full);

// Called after the display opened: name, icon, state and focus of the new window.
void finishDesktopWindow(int full);

// 1 when the game's window holds the keyboard focus.
int desktopWindowHasFocus();

// Sends what was drawn to the display server now, so it shows when it is drawn.
void flushDesktop();

// 1 when the presenter may write the screen's pixels itself (its memory is
// plain lines, as on X11), telling desktopPixelsChanged what it wrote.
int desktopDirectPixels();

// Sends a rectangle of the screen written directly to the display.
void desktopPixelsChanged(int x, int y, int w, int h);
