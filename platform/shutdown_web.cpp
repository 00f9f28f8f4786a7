// shutdown_web.cpp -- the end of the game in the browser. A page cannot
// end its own process: ending tells the page, which stops the sound and
// shows its end page offering to play again, and the program then waits
// for good, costing nothing. Nothing in a browser stops a page the way a
// signal stops a process; a crash (a trap, an abort) is caught by the page
// itself, which shows the game's message instead of a frozen canvas.
#include "platform/shutdown.h"
#include <emscripten.h>

// Shows the page's end page with status 1, then never returns.
EM_ASYNC_JS(void, endInPage, (), {
    if (Module['webAudio'])
        Module['webAudio'].context.close().catch(function() {});
    if (Module['onExit'])
        Module['onExit'](1);
    await new Promise(function() {});
});

void exitNow()
{
    for (;;)
        endInPage();
}

void watchForShutdown()
{
}
