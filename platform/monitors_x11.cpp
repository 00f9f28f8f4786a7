// monitors_x11.cpp -- where things are on the X11 desktop: the monitors
// (from RandR; the whole screen without it), the one the game shows on,
// the work area the window manager leaves beside its panels, and the frame
// it puts around the game's window. The desktop's other X11 code asks here.
#include "platform/desktop.h"
#include "platform/monitors_x11.h"
#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>
#include <climits>

int monitorX = 0, monitorY = 0, monitorW = 0, monitorH = 0;
int largestW = 0, largestH = 0;

// Looks up an atom by name.
Atom atom(const char *name)
{
    return XInternAtom(_xwin.display, name, False);
}

// 1 when an EWMH window manager is running on the display.
int windowManagerRuns()
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

// The squared distance from a point to a monitor, 0 inside it.
static long distanceToMonitor(const XRRMonitorInfo &m, int x, int y)
{
    long dx = x < m.x ? m.x - x : x >= m.x + m.width ? x - (m.x + m.width - 1) : 0;
    long dy = y < m.y ? m.y - y : y >= m.y + m.height ? y - (m.y + m.height - 1) : 0;
    return dx * dx + dy * dy;
}

// Picks the monitor holding the point (x, y), or the nearest one; the
// whole screen without RandR. Notes the largest monitor's size as well.
static void findMonitor(int x, int y)
{
    Display *d = _xwin.display;
    monitorX = monitorY = 0;
    largestW = monitorW = DisplayWidth(d, DefaultScreen(d));
    largestH = monitorH = DisplayHeight(d, DefaultScreen(d));
    int event, error, count = 0;
    if (!XRRQueryExtension(d, &event, &error))
        return;
    XRRMonitorInfo *monitors = XRRGetMonitors(d, DefaultRootWindow(d), True, &count);
    if (!monitors)
        return;
    long best = LONG_MAX;
    for (int i = 0; i < count; i++) {
        const XRRMonitorInfo &m = monitors[i];
        if (m.width <= 0 || m.height <= 0)
            continue;
        if (best == LONG_MAX)
            largestW = largestH = 0;
        largestW = MAX(largestW, m.width);
        largestH = MAX(largestH, m.height);
        long distance = distanceToMonitor(m, x, y);
        if (distance < best) {
            best = distance;
            monitorX = m.x, monitorY = m.y, monitorW = m.width, monitorH = m.height;
        }
    }
    XRRFreeMonitors(monitors);
}

// The middle of the game's window on the screen; 0 when it has none yet.
static int windowMiddle(int *x, int *y)
{
    if (_xwin.wm_window == None)
        return 0;
    Window root, child;
    int wx, wy, rx, ry;
    unsigned int w, h, border, depth;
    if (!XGetGeometry(_xwin.display, _xwin.wm_window, &root, &wx, &wy, &w, &h, &border, &depth) ||
        !XTranslateCoordinates(_xwin.display, _xwin.wm_window, root, 0, 0, &rx, &ry, &child))
        return 0;
    *x = rx + (int)w / 2;
    *y = ry + (int)h / 2;
    return 1;
}

void pickDesktopMonitor(int underPointer)
{
    int x = 0, y = 0;
    if (underPointer || !windowMiddle(&x, &y)) {
        Window root, child;
        int wx, wy;
        unsigned int buttons;
        XQueryPointer(_xwin.display, DefaultRootWindow(_xwin.display), &root, &child, &x, &y, &wx, &wy,
                      &buttons);
    }
    findMonitor(x, y);
}

// Makes sure a monitor was picked: the pointer's, as at the start.
void needMonitor()
{
    if (monitorW <= 0)
        pickDesktopMonitor(1);
}

void desktopSize(int *w, int *h)
{
    needMonitor();
    *w = monitorW;
    *h = monitorH;
}

// The picked monitor less the window manager's panels, where it publishes them.
void workArea(int *x, int *y, int *w, int *h)
{
    needMonitor();
    *x = monitorX, *y = monitorY, *w = monitorW, *h = monitorH;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    Window root = DefaultRootWindow(_xwin.display);
    if (XGetWindowProperty(_xwin.display, root, atom("_NET_WORKAREA"), 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success && count == 4 && format == 32) {
        long *area = reinterpret_cast<long *>(data);
        long left = MAX(area[0], (long)monitorX), top = MAX(area[1], (long)monitorY);
        long right = MIN(area[0] + area[2], (long)monitorX + monitorW);
        long bottom = MIN(area[1] + area[3], (long)monitorY + monitorH);
        if (right > left && bottom > top)
            *x = (int)left, *y = (int)top, *w = (int)(right - left), *h = (int)(bottom - top);
    }
    if (data)
        XFree(data);
}

void desktopWorkArea(int *w, int *h)
{
    int x, y;
    workArea(&x, &y, w, h);
    if (!windowManagerRuns())
        return;
    *w -= FRAME_ALLOWANCE_W;
    *h -= FRAME_ALLOWANCE_H;
}

void desktopSurfaceSize(int w, int h, int *surfaceW, int *surfaceH)
{
    needMonitor();
    *surfaceW = MAX(w, largestW);
    *surfaceH = MAX(h, largestH);
}

// The window's frame around the game's window: from the window manager's
// _NET_FRAME_EXTENTS, else the frame window it was put in (shadows and all).
void frameExtents(int *left, int *right, int *top, int *bottom)
{
    *left = *right = *top = *bottom = 0;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(_xwin.display, _xwin.wm_window, atom("_NET_FRAME_EXTENTS"), 0, 4, False, XA_CARDINAL,
                           &type, &format, &count, &after, &data) == Success && count == 4 && format == 32) {
        long *e = reinterpret_cast<long *>(data);
        *left = (int)e[0], *right = (int)e[1], *top = (int)e[2], *bottom = (int)e[3];
        XFree(data);
        return;
    }
    if (data)
        XFree(data);
    Window w = _xwin.wm_window, root, parent, *children = nullptr;
    unsigned int n;
    // The frame is the game's ancestor just below the root.
    while (XQueryTree(_xwin.display, w, &root, &parent, &children, &n) && parent != root && parent != None) {
        if (children)
            XFree(children);
        children = nullptr;
        w = parent;
    }
    if (children)
        XFree(children);
    XWindowAttributes frame, game;
    Window child;
    int gx, gy;
    if (w == _xwin.wm_window || !XGetWindowAttributes(_xwin.display, w, &frame) ||
        !XGetWindowAttributes(_xwin.display, _xwin.wm_window, &game) ||
        !XTranslateCoordinates(_xwin.display, _xwin.wm_window, root, 0, 0, &gx, &gy, &child))
        return;
    *left = gx - frame.x, *top = gy - frame.y;
    *right = frame.x + frame.width - gx - game.width;
    *bottom = frame.y + frame.height - gy - game.height;
}
