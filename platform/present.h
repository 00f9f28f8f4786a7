// present.h -- the canvas every screen of the game is drawn into, and the
// presenter: the only code that touches the real display. It shows the
// canvas as large as the room allows (scale.h), full screen (a window
// covering one monitor, never a video mode change) or in a window the
// player may resize, and switches between the two on Alt+Enter or F11.
#pragma once
#include <allegro.h>

const int CANVAS_W = 1024;
const int CANVAS_H = 768;
const int PRESENT_TILE = 32;           // the canvas is compared in tiles of this size

extern BITMAP *canvas;                 // 1024x768, 32-bit: the game's whole picture
extern BITMAP *displayTarget;          // where the presenter copies to: the screen
extern int fullScreen;                 // 1 the whole desktop, 0 a window
extern int sharpScaling;               // 1 whole-number scales only, 0 the largest that fits

// Makes the canvas and the presenter's copy of it; 0 on success.
int createCanvas();

// Opens the display for the mode fullScreen asks for; 0 on success, -1 if refused.
int openDisplay();

// Copies the tiles of the canvas that changed since the last call; returns their number.
int presentCanvas();

// Makes the next presentCanvas copy every tile (the display was new or lost its picture).
void presentEverything();

// Switches a pending full-screen or window request and presents the canvas.
void serviceDisplay();

// Asks for a switch between full screen and the window at the next frame.
void requestModeSwitch();

// 1 once after the game's window lost the keyboard focus.
int takeFocusLoss();

// Shows or hides the desktop's own pointer over the game; returns the previous setting.
int showPointer(int shown);
