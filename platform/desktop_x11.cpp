// desktop_x11.cpp -- the X11 side of the presenter. Full screen is the
// library's ordinary window at the size and place of one monitor, put into
// the EWMH full-screen state where a window manager runs: the video mode is
// never changed and neither the keyboard nor the pointer is ever grabbed,
// so the desktop, Alt+Tab and other monitors keep working. The library
// fixes its window's size; the game lets the player and the window manager
// resize it (which is also what lets every window manager make it full
// screen), follows the new size, and switches between full screen and the
// window in place. The window gets the game's name, class and icon; without
// a window manager it takes the keyboard focus itself, since nobody else
// would give it.
#include "platform/desktop.h"
#include "platform/monitors_x11.h"
#include "platform/scale.h"
#include "platform/shutdown.h"
#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>
#include <cstdlib>
#include <cstring>
#include "tumblegrid_icon.h"

extern "C" void _xwin_flush_buffers(void);
extern "C" void _xwin_update_screen(int x, int y, int w, int h);
extern "C" void _xwin_lock(BITMAP *bmp);
extern "C" void _xwin_unlock(BITMAP *bmp);

// The smallest window the player may make.
static const int MIN_WINDOW_W = 512;
static const int MIN_WINDOW_H = 384;

// A connection of the game's own that hears of the window's changes of size,
// which the library's connection reads and drops.
static Display *watch = nullptr;
static int drawingW = 0, drawingH = 0;        // the part of the window the library draws
static int heardW = 0, heardH = 0;            // the window's size, as last heard of
// Frames after the game placed its window in which it keeps the window and
// its frame inside the work area, whatever the window manager did with it.
static const int PLACING_FRAMES = 30;
static int placingFrames = 0;

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
    needMonitor();
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

// Lets the window take any size from the minimum to the display's memory.
static void allowResizing(int w, int h)
{
    XSizeHints *hints = XAllocSizeHints();
    if (!hints)
        return;
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = MIN(w, MIN_WINDOW_W);
    hints->min_height = MIN(h, MIN_WINDOW_H);
    hints->max_width = _xwin.virtual_width;
    hints->max_height = _xwin.virtual_height;
    XSetWMNormalHints(_xwin.display, _xwin.wm_window, hints);
    XFree(hints);
}

// Moves and sizes the window to w x h in the middle of the work area, its frame included.
static void centreWindow(int w, int h)
{
    int x, y, areaW, areaH, frameW = 0, frameH = 0;
    workArea(&x, &y, &areaW, &areaH);
    if (windowManagerRuns())
        frameW = FRAME_ALLOWANCE_W, frameH = FRAME_ALLOWANCE_H;
    x += MAX((areaW - w - frameW) / 2, 0);
    y += MAX((areaH - h - frameH) / 2, 0);
    XMoveResizeWindow(_xwin.display, _xwin.wm_window, x, y, w, h);
    placingFrames = PLACING_FRAMES;
}

// Makes the window smaller when it or its frame reaches past the work area
// on the right or at the bottom (where a panel that the window manager
// does not tell of, or a frame larger than allowed for, put it).
static void keepInsideWorkArea()
{
    Window root, child;
    int x, y, gx, gy, areaX, areaY, areaW, areaH, left, right, top, bottom;
    unsigned int w, h, border, depth;
    if (!XGetGeometry(_xwin.display, _xwin.wm_window, &root, &gx, &gy, &w, &h, &border, &depth) ||
        !XTranslateCoordinates(_xwin.display, _xwin.wm_window, root, 0, 0, &x, &y, &child))
        return;
    frameExtents(&left, &right, &top, &bottom);
    workArea(&areaX, &areaY, &areaW, &areaH);
    int roomW = areaX + areaW - x - right, roomH = areaY + areaH - y - bottom;
    if (roomW >= (int)w && roomH >= (int)h)
        return;
    int fitW, fitH;
    fittedSize(MIN((int)w, roomW), MIN((int)h, roomH), &fitW, &fitH);
    XResizeWindow(_xwin.display, _xwin.wm_window, MAX(fitW, MIN_WINDOW_W / 2), MAX(fitH, MIN_WINDOW_H / 2));
}

// Opens the game's own connection and asks it for the window's changes of size.
// The window's size as its changes are heard of.
static void watchWindow()
{
    if (!watch)
        watch = XOpenDisplay(DisplayString(_xwin.display));
    if (!watch)
        return;
    XSelectInput(watch, _xwin.wm_window, StructureNotifyMask);
    // A window manager may have resized the window before the watch began.
    Window root;
    int x, y;
    unsigned int w, h, border, depth;
    if (XGetGeometry(watch, _xwin.wm_window, &root, &x, &y, &w, &h, &border, &depth))
        heardW = (int)w, heardH = (int)h;
}

void placeDesktopWindow(int full, int w, int h)
{
    if (!_xwin.display || _xwin.wm_window == None)
        return;
    drawingW = heardW = w;
    drawingH = heardH = h;
    watchWindow();
    allowResizing(w, h);
    if (!full)
        centreWindow(w, h);
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

int switchDesktopWindow(int full, int w, int h)
{
    if (!_xwin.display || _xwin.wm_window == None || w > _xwin.virtual_width || h > _xwin.virtual_height)
        return -1;
    placingFrames = 0;
    if (windowManagerRuns()) {
        requestFullScreenState(full);
        if (!full)
            centreWindow(w, h);
    } else if (full) {
        XMoveResizeWindow(_xwin.display, _xwin.wm_window, monitorX, monitorY, w, h);
        XRaiseWindow(_xwin.display, _xwin.wm_window);
    } else {
        centreWindow(w, h);
    }
    XFlush(_xwin.display);
    return 0;
}

// Makes the library draw w x h of its window: its inner window, its own
// idea of the screen's size (which clips what it shows) and the pointer's range.
static void resizeDrawing(int w, int h)
{
    _xwin_lock(nullptr);
    XResizeWindow(_xwin.display, _xwin.window, w, h);
    _xwin.window_width = _xwin.screen_width = w;
    _xwin.window_height = _xwin.screen_height = h;
    _xwin_unlock(nullptr);
    set_mouse_range(0, 0, w - 1, h - 1);
    drawingW = w;
    drawingH = h;
}

int desktopWindowResized(int *w, int *h)
{
    if (!watch)
        return 0;
    int configured = 0;
    while (XPending(watch)) {
        XEvent e;
        XNextEvent(watch, &e);
        if (e.type == ConfigureNotify && e.xconfigure.window == _xwin.wm_window) {
            heardW = e.xconfigure.width;
            heardH = e.xconfigure.height;
            configured = 1;
        }
    }
    if (placingFrames > 0) {
        placingFrames--;
        if (configured)
            keepInsideWorkArea();
    }
    int newW = MIN(heardW, _xwin.virtual_width), newH = MIN(heardH, _xwin.virtual_height);
    if (newW == drawingW && newH == drawingH)
        return 0;
    resizeDrawing(newW, newH);
    *w = newW;
    *h = newH;
    return 1;
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

// The focus at PointerRoot or None means no window of the game has it: on
// an Xwayland desktop it is where the focus goes when a Wayland window
// takes the keyboard.
int desktopWindowHasFocus()
{
    if (!_xwin.display)
        return 1;
    Window focus;
    int revert;
    XGetInputFocus(_xwin.display, &focus, &revert);
    return focus != None && focus != (Window)PointerRoot && isGameWindow(focus);
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
