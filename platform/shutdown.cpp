// shutdown.cpp -- the immediate exit and what leads to it. The library's
// own handlers for signals call its shutdown from inside the signal, which
// can hang for ever (a blank window that never closes) when the heap is
// damaged or the display is going away; so every signal that ends the game
// ends it here at once with status 1, writing nothing. On X11 a lost
// connection ends it the same way, and an error about a window that some
// other program closed meanwhile (the focus check walks other programs'
// windows) is ignored instead of ending the game through exit(). Every
// immediate exit marks the screen's shared memory for removal first.
#include "platform/shutdown.h"
#include <allegro.h>
#include <cstring>
#include <initializer_list>
#ifndef _WIN32
#include <csignal>
#include <sys/shm.h>
#include <unistd.h>
#include <xalleg.h>
#endif

#ifndef _WIN32
void releaseSharedImage()
{
    // The library sets the address only once the segment exists, so an
    // exit while the display opens never names someone else's segment.
    char *address = _xwin.shminfo.shmaddr;
    if (_xwin.use_shm && address && address != reinterpret_cast<char *>(-1))
        shmctl(_xwin.shminfo.shmid, IPC_RMID, nullptr);
}
#endif

void exitNow()
{
#ifndef _WIN32
    releaseSharedImage();
#endif
    _exit(1);
}

#ifndef _WIN32
// A stop request (logout, Ctrl+C, a closed terminal) or a crash ends the game at once.
static void endNow(int)
{
    exitNow();
}

// A lost display connection ends the game at once, with nothing written.
static int displayLost(Display *)
{
    exitNow();
}

// 1 when a window belongs to the game itself.
static int isOwnWindow(XID id)
{
    return id != None && (id == _xwin.window || id == _xwin.wm_window || id == _xwin.fs_window);
}

// An error about another program's window that vanished is of no concern;
// any other error means the game's own requests went wrong: it ends.
static int displayError(Display *, XErrorEvent *e)
{
    int vanished = e->error_code == BadWindow || e->error_code == BadDrawable || e->error_code == BadMatch;
    if (vanished && !isOwnWindow(e->resourceid))
        return 0;
    exitNow();
}
#endif

void watchForShutdown()
{
#ifndef _WIN32
    struct sigaction stop;
    memset(&stop, 0, sizeof stop);
    stop.sa_handler = endNow;
    sigemptyset(&stop.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT})
        sigaction(s, &stop, nullptr);
    // A write to a closed display connection then fails instead of killing the process.
    signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(displayLost);
    XSetErrorHandler(displayError);
#endif
}
