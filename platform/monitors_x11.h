// monitors_x11.h -- the X11 desktop's geometry, shared by the X11 files of
// the desktop: the monitors, the work area the window manager leaves, the
// frame it puts around the game's window, and two small helpers.
#pragma once
#include <X11/Xlib.h>

// Room kept for a window manager's frame around a decorated window.
const int FRAME_ALLOWANCE_W = 16;
const int FRAME_ALLOWANCE_H = 48;

extern int monitorX, monitorY, monitorW, monitorH;   // the monitor the game shows on
extern int largestW, largestH;     // the largest monitor's width and height

// Looks up an atom by name.
Atom atom(const char *name);

// 1 when an EWMH window manager is running on the display.
int windowManagerRuns();

// Makes sure a monitor was picked: the pointer's, as at the start.
void needMonitor();

// The picked monitor less the window manager's panels, where it publishes them.
void workArea(int *x, int *y, int *w, int *h);

// The window's frame around the game's window: from the window manager's
// _NET_FRAME_EXTENTS, else the frame window it was put in (shadows and all).
void frameExtents(int *left, int *right, int *top, int *bottom);
