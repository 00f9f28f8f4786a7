// desktop_x11.cpp -- the X11 side of the presenter. Full screen is the
// library's ordinary window at the size of the monitor, put into the EWMH
// full-screen state where a window manager runs: the video mode is never
// changed and neither the keyboard nor the pointer is ever grabbed, so the
// desktop, Alt+Tab and other monitors keep working. The window gets the
// game's name, class and icon; without a window manager it takes the
// keyboard focus itself, since nobody else would give it.
#include "platform/desktop.h"
#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>
#include <sys/shm.h>
#include <cstdlib>
#include <cstring>
#include "tumblegrid_icon.h"

extern "C" void _xwin_flush_buffers(void);
extern "C" void _xwin_update_screen(int x, int y, int w, int h);

// Room kept for a window manager's frame around a decorated window.
static const int FRAME_ALLOWANCE_W = 16;
static const int FRAME_ALLOWANCE_H = 48;

// The monitor the game appears on: the primary one, or the first.
static int monitorX = 0, monitorY = 0, monitorW = 0, monitorH = 0;

// Looks up an atom by name.
static Atom atom(const char *name)
{
    return XInternAtom(_xwin.display, name, False);
}

// 1 when an EWMH window manager is running on the display.
static int windowManagerRuns()
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    Window root = DefaultRootWindow(_xwin.display);
    int found = XGetWindowProperty(_xwin.display, root, atom("_NET_SUPPORTING_WM_CHECK"), 0, 1, False,
                                   XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                count == 1;
    if (data)
        XFree(data);
    return found;
}

// Finds the primary monitor's place on the X screen (the whole screen without RandR).
static void findMonitor()
{
    Display *d = _xwin.display;
    monitorX = monitorY = 0;
    monitorW = DisplayWidth(d, DefaultScreen(d));
    monitorH = DisplayHeight(d, DefaultScreen(d));
    int event, error, count = 0;
    if (!XRRQueryExtension(d, &event, &error))
        return;
    XRRMonitorInfo *monitors = XRRGetMonitors(d, DefaultRootWindow(d), True, &count);
    if (!monitors)
        return;
    int chosen = 0;
    for (int i = 0; i < count; i++)
        if (monitors[i].primary)
            chosen = i;
    if (count > 0 && monitors[chosen].width > 0 && monitors[chosen].height > 0) {
        monitorX = monitors[chosen].x;
        monitorY = monitors[chosen].y;
        monitorW = monitors[chosen].width;
        monitorH = monitors[chosen].height;
    }
    XRRFreeMonitors(monitors);
}

// The keyboard's input method would read the whole table of compose
// sequences (some 10 ms at every start); the game takes only plain letters
// and digits, so it is given an empty table unless the player chose one.
void prepareDesktop()
{
    setenv("XCOMPOSEFILE", "/dev/null", 0);
}

int desktopDriver(int)
{
    return GFX_XWINDOWS;
}

void desktopSize(int *w, int *h)
{
    findMonitor();
    *w = monitorW;
    *h = monitorH;
}

// Narrows the room to the window manager's work area, where it publishes one.
static void clipToWorkArea(int *w, int *h)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    Window root = DefaultRootWindow(_xwin.display);
    if (XGetWindowProperty(_xwin.display, root, atom("_NET_WORKAREA"), 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success && count == 4 && format == 32) {
        long *area = reinterpret_cast<long *>(data);
        long right = area[0] + area[2], bottom = area[1] + area[3];
        long left = area[0] > monitorX ? area[0] : monitorX;
        long top = area[1] > monitorY ? area[1] : monitorY;
        if (right > monitorX + monitorW)
            right = monitorX + monitorW;
        if (bottom > monitorY + monitorH)
            bottom = monitorY + monitorH;
        if (right > left && bottom > top) {
            *w = (int)(right - left);
            *h = (int)(bottom - top);
        }
    }
    if (data)
        XFree(data);
}

void desktopWorkArea(int *w, int *h)
{
    findMonitor();
    *w = monitorW;
    *h = monitorH;
    if (!windowManagerRuns())
        return;
    clipToWorkArea(w, h);
    *w -= FRAME_ALLOWANCE_W;
    *h -= FRAME_ALLOWANCE_H;
}

// Sends the window manager a request to add or remove the full-screen state.
static void requestFullScreenState(int full)
{
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = _xwin.wm_window;
    e.xclient.message_type = atom("_NET_WM_STATE");
    e.xclient.format = 32;
    e.xclient.data.l[0] = full ? 1 : 0;        // _NET_WM_STATE_ADD or _REMOVE
    e.xclient.data.l[1] = (long)atom("_NET_WM_STATE_FULLSCREEN");
    e.xclient.data.l[3] = 1;                   // the request comes from an application
    XSendEvent(_xwin.display, DefaultRootWindow(_xwin.display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

// Gives the window the game's icon in the EWMH form every panel reads.
static void setIcon()
{
    XChangeProperty(_xwin.display, _xwin.wm_window, atom("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(TUMBLEGRID_ICON),
                    sizeof TUMBLEGRID_ICON / sizeof TUMBLEGRID_ICON[0]);
}

void prepareDesktopWindow(int full)
{
    if (!_xwin.display || _xwin.wm_window == None)
        return;
    // The library names only its inner window; desktops read the outer one.
    xwin_set_window_name("tumblegrid", "TumbleGrid");
    XClassHint names = {const_cast<char *>("tumblegrid"), const_cast<char *>("TumbleGrid")};
    XSetClassHint(_xwin.display, _xwin.wm_window, &names);
    findMonitor();
    // A window that is not shown yet takes its state from the property itself.
    Atom state = atom("_NET_WM_STATE_FULLSCREEN");
    if (full)
        XChangeProperty(_xwin.display, _xwin.wm_window, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char *>(&state), 1);
    else
        XDeleteProperty(_xwin.display, _xwin.wm_window, atom("_NET_WM_STATE"));
    XMoveWindow(_xwin.display, _xwin.wm_window, monitorX, monitorY);
    setIcon();
}

// The screen's image lives in a shared memory segment that the library
// removes only in its own shutdown, which the game never runs: every run
// would leave one behind until the machine restarts. Marked for removal as
// soon as the X server has attached it, it goes when the process does,
// however that ends.
static void releaseSharedImage()
{
    if (_xwin.use_shm)
        shmctl(_xwin.shminfo.shmid, IPC_RMID, nullptr);
}

void finishDesktopWindow(int full)
{
    if (!_xwin.display || _xwin.wm_window == None)
        return;
    releaseSharedImage();
    setIcon();
    if (windowManagerRuns()) {
        requestFullScreenState(full);
    } else {
        if (full)
            XMoveWindow(_xwin.display, _xwin.wm_window, monitorX, monitorY);
        XSetInputFocus(_xwin.display, _xwin.wm_window, RevertToParent, CurrentTime);
    }
    XFlush(_xwin.display);
}

// 1 when w is one of the game's windows or lies inside one.
static int isGameWindow(Window w)
{
    Display *d = _xwin.display;
    Window root = DefaultRootWindow(d);
    while (w != None && w != root) {
        if (w == _xwin.wm_window || w == _xwin.window || w == _xwin.fs_window)
            return 1;
        Window parentRoot, parent, *children = nullptr;
        unsigned int count;
        if (!XQueryTree(d, w, &parentRoot, &parent, &children, &count))
            return 0;
        if (children)
            XFree(children);
        w = parent;
    }
    return 0;
}

int desktopWindowHasFocus()
{
    if (!_xwin.display)
        return 1;
    Window focus;
    int revert;
    XGetInputFocus(_xwin.display, &focus, &revert);
    if (focus != (Window)PointerRoot)
        return isGameWindow(focus);
    // Focus follows the pointer: the game has the keys while the pointer is over it.
    Window root, child;
    int rx, ry, wx, wy;
    unsigned int buttons;
    XQueryPointer(_xwin.display, DefaultRootWindow(_xwin.display), &root, &child, &rx, &ry, &wx, &wy, &buttons);
    return isGameWindow(child);
}

void flushDesktop()
{
    if (_xwin.display)
        _xwin_flush_buffers();
}

int desktopDirectPixels()
{
    return 1;
}

void desktopPixelsChanged(int x, int y, int w, int h)
{
    _xwin_update_screen(x, y, w, h);
}
