// dialog.h -- modal boxes of the library's dialog toolkit, drawn into the
// canvas and presented at every pass, so they show and answer at any scale
// and survive a switch between full screen and the window.
#pragma once
#include <allegro.h>

// Runs a dialog until an object closes it; returns that object's index, as do_dialog does.
int runDialog(DIALOG *dialog, int focus);

// Runs a dialog and puts back the part of the canvas it covered, as popup_dialog does.
int popupDialog(DIALOG *dialog, int focus);

// The game's message box: one line of text and an OK button in the middle of the canvas.
void showMessageBox(const char *text);
