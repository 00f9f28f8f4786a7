// shutdown.h -- the immediate exit, and the watch for the signals, crashes
// and display errors that must end the game at once rather than through the
// library's own shutdown.
#pragma once

// Ends the process at once with exit status 1, running no exit-time handlers.
[[noreturn]] void exitNow();

// From now on a stop signal, a crash or the loss of the display ends the
// process at once with status 1; call right after the library starts.
void watchForShutdown();

// The screen's image lives in a shared memory segment that the library
// removes only in its own shutdown, which the game never runs. Marked for
// removal (X11 only), it goes when the process does, however that ends;
// every immediate exit marks it too, for an exit while the display opens.
void releaseSharedImage();
