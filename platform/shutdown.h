// shutdown.h -- the immediate exit, and the watch for the signals, crashes
// and display errors that must end the game at once rather than through the
// library's own shutdown.
#pragma once

// Ends the process at once with exit status 1, running no exit-time handlers.
[[noreturn]] void exitNow();

// From now on a stop signal, a crash or the loss of the display ends the
// process at once with status 1; call right after the library starts.
void watchForShutdown();
