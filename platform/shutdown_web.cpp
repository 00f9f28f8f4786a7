// shutdown_web.cpp -- the end of the game in the browser. Ending stops the
// program's runtime with status 1; the page then shows its end page, which
// offers to play again. Nothing in a browser can stop a page the way a
// signal stops a process: a crash (a trap, an abort) is caught by the page
// itself, which shows the game's message instead of a frozen canvas.
#include "platform/shutdown.h"
#include <emscripten.h>

void exitNow()
{
    emscripten_force_exit(1);
}

void watchForShutdown()
{
}
