// platform.h -- the few services the operating system supplies: an error
// message box and a millisecond sleep.
#pragma once

// Shows a modal box with the error icon, the title, the text and an OK button.
void showErrorBox(const char *text, const char *title);

// Blocks the calling thread for the given number of milliseconds.
void sleepMs(int milliseconds);
