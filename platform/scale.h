// scale.h -- how large and where the canvas is shown, and the copy of its
// changed areas to the display at that size. The canvas keeps its 4:3 shape
// at the largest size that fits the room it is given (a monitor or a
// window), centred; a size within 2 % above a whole-number scale is shown
// at that whole number, pixel for pixel, and any other size is resampled.
#pragma once
#include <allegro.h>

extern int displayLeft, displayTop;       // where the canvas's top-left corner sits
extern int displayWidth, displayHeight;   // the canvas's size on the display
extern int displayScale;                  // its whole-number scale, or 0 when resampled

// The canvas's size on the display for a room of roomW x roomH, as fitCanvas
// would show it (sharpScaling asks for whole numbers only).
void fittedSize(int roomW, int roomH, int *w, int *h);

// Shows the canvas at its fitted size in the middle of a room of roomW x roomH.
void fitCanvas(int roomW, int roomH);

// The canvas pixel under a display pixel (outside the canvas over the border).
int canvasXAt(int x);
int canvasYAt(int y);

// 1 when whole-number copies write the display's memory themselves: its
// lines are plain memory and the whole canvas fits, as nothing clips them.
int writesDisplayMemory();

// Copies the canvas area at (x, y), w by h, to the display at the canvas's
// size; resampling takes in the neighbours its filter reaches.
void scaleArea(int x, int y, int w, int h);
