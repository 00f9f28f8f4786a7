// platform.h -- the few services the operating system supplies: an error
// message box, a millisecond sleep, the immediate exit and the watch for
// the signals and the lost display that must end the game at once.
#pragma once

// Shows a modal box with the error icon, the title, the text and an OK button.
void showErrorBox(const char *text, const char *title);

// Blocks the calling thread for the given number of milliseconds.
void sleepMs(int milliseconds);

// Ends the process at once with exit status 1, running no exit-time handlers.
[[noreturn]] void exitNow();

// From now on a stop signal or the loss of the display ends the process at once with status 1.
void watchForShutdown();
