// desktop_win.cpp -- the Windows side of the presenter. Both full screen
// and the window use the library's windowed DirectX driver: full screen is
// its window without a frame, covering the whole of one monitor at its own
// resolution, so the video mode never changes and nothing takes the
// keyboard or the pointer away from the desktop; the window has a frame the
// player can resize and maximise, and fits the work area beside the
// taskbar. The display's memory is as large as the largest monitor, so the
// window grows, and switches to full screen and back, without the display
// being reopened. The monitor is the one under the pointer at the start and
// the one holding the middle of the window at a switch. The window gets
// the game's icon from the same pixels the X11 build hands its window
// manager.
#include "platform/desktop.h"
#include <allegro.h>
#include <winalleg.h>
#include "tumblegrid_icon.h"

// The window's frame: a caption with the system menu, minimise and
// maximise boxes, and a border to resize it by. Full screen has none.
static const DWORD WINDOW_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                                  WS_THICKFRAME;
static const DWORD FULL_STYLE = WS_POPUP;
static const int MIN_WINDOW_W = 512, MIN_WINDOW_H = 384;    // the smallest window, inside its frame

static HICON bigIcon = nullptr, smallIcon = nullptr;
static HMONITOR monitor = nullptr;                 // the picked monitor
static RECT monitorArea = {0, 0, 0, 0};            // its place on the desktop
static RECT workArea = {0, 0, 0, 0};               // and the part windows may take
static int surfaceW = 0, surfaceH = 0;             // the display's memory
static int drawingW = 0, drawingH = 0;             // the part of it shown in the window

// A function of a system library, looked up by name; nullptr where this
// Windows lacks it.
template <typename Function> static Function systemFunction(const char *library, const char *name)
{
    HMODULE module = LoadLibraryA(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

// The frame a window of the given style has around its inside, at the
// picked monitor's scale (Windows 10 1607 and later scale each monitor's
// frames on their own; before, all have the system's).
static RECT frameOf(DWORD style)
{
    typedef BOOL(WINAPI * AdjustForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT);
    typedef HRESULT(WINAPI * MonitorDpi)(HMONITOR, int, UINT *, UINT *);
    static AdjustForDpi adjustForDpi = systemFunction<AdjustForDpi>("user32", "AdjustWindowRectExForDpi");
    static MonitorDpi monitorDpi = systemFunction<MonitorDpi>("shcore", "GetDpiForMonitor");
    RECT frame = {0, 0, 0, 0};
    UINT dpiX = 0, dpiY = 0;
    if (adjustForDpi && monitorDpi && monitor && monitorDpi(monitor, 0, &dpiX, &dpiY) == S_OK)
        adjustForDpi(&frame, style, FALSE, 0, dpiX);
    else
        AdjustWindowRectEx(&frame, style, FALSE, 0);
    return frame;
}

// The library's window procedure asks this first: the player resizes the
// window between the smallest size and the display's memory.
static int onWindowMessage(HWND window, UINT message, WPARAM, LPARAM lparam, int *result)
{
    if (message != WM_GETMINMAXINFO || surfaceW <= 0)
        return 1;
    RECT frame = frameOf((DWORD)GetWindowLongA(window, GWL_STYLE));
    int frameW = frame.right - frame.left, frameH = frame.bottom - frame.top;
    MINMAXINFO *limits = reinterpret_cast<MINMAXINFO *>(lparam);
    limits->ptMinTrackSize.x = MIN_WINDOW_W + frameW;
    limits->ptMinTrackSize.y = MIN_WINDOW_H + frameH;
    limits->ptMaxTrackSize.x = surfaceW + frameW;
    limits->ptMaxTrackSize.y = surfaceH + frameH;
    *result = 0;
    return 0;
}

// Before the library starts: the system's timer made as fine as it goes for
// the game's lifetime. At Windows' default of about 15.6 ms a wait ends only
// at a tick of that clock, so the library's timer thread, asked to wake
// every 16.7 ms, would wake 15.6 or 31.2 ms apart and the game would drop
// frames. Windows lets go of the request when the process ends, however it
// ends (the game always ends through the immediate exit).
void prepareDesktop()
{
    timeBeginPeriod(1);
    win_set_msg_pre_proc(onWindowMessage);
}

int desktopDriver(int)
{
    return GFX_DIRECTX_WIN;
}

// Notes the monitor's place and work area; the primary monitor's when it is gone.
static void useMonitor(HMONITOR picked)
{
    MONITORINFO info;
    info.cbSize = sizeof info;
    monitor = picked;
    if (picked && GetMonitorInfoA(picked, &info)) {
        monitorArea = info.rcMonitor;
        workArea = info.rcWork;
        return;
    }
    monitor = nullptr;
    monitorArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0))
        workArea = monitorArea;
}

void pickDesktopMonitor(int underPointer)
{
    HWND window = win_get_window();
    POINT middle;
    RECT place;
    if (underPointer || !screen || !window || !GetWindowRect(window, &place)) {
        GetCursorPos(&middle);
    } else {
        middle.x = place.left + (place.right - place.left) / 2;
        middle.y = place.top + (place.bottom - place.top) / 2;
    }
    useMonitor(MonitorFromPoint(middle, MONITOR_DEFAULTTONEAREST));
}

// Picks the monitor under the pointer if none was picked yet.
static void needMonitor()
{
    if (monitorArea.right <= monitorArea.left)
        pickDesktopMonitor(1);
}

void desktopSize(int *w, int *h)
{
    needMonitor();
    *w = monitorArea.right - monitorArea.left;
    *h = monitorArea.bottom - monitorArea.top;
}

void desktopWorkArea(int *w, int *h)
{
    needMonitor();
    RECT frame = frameOf(WINDOW_STYLE);
    *w = (workArea.right - workArea.left) - (frame.right - frame.left);
    *h = (workArea.bottom - workArea.top) - (frame.bottom - frame.top);
}

// Widens the largest size by one monitor's.
static BOOL CALLBACK noteMonitor(HMONITOR, HDC, LPRECT area, LPARAM largest)
{
    SIZE *size = reinterpret_cast<SIZE *>(largest);
    size->cx = MAX(size->cx, area->right - area->left);
    size->cy = MAX(size->cy, area->bottom - area->top);
    return TRUE;
}

// As large as the largest monitor: any window, maximised or full screen on
// any monitor, fits in it.
void desktopSurfaceSize(int w, int h, int *memoryW, int *memoryH)
{
    SIZE largest = {w, h};
    EnumDisplayMonitors(nullptr, nullptr, noteMonitor, reinterpret_cast<LPARAM>(&largest));
    *memoryW = surfaceW = largest.cx;
    *memoryH = surfaceH = largest.cy;
}

// Makes an icon of the given size from the generated pixels (0xAARRGGBB,
// which is the byte order of a 32-bit Windows bitmap); nullptr if absent.
static HICON makeIcon(int size)
{
    const unsigned long *p = TUMBLEGRID_ICON;
    const unsigned long *end = p + sizeof TUMBLEGRID_ICON / sizeof TUMBLEGRID_ICON[0];
    while (p + 2 <= end && (int)p[0] != size)
        p += 2 + p[0] * p[1];
    if (p + 2 > end)
        return nullptr;
    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof header;
    header.bV5Width = size;
    header.bV5Height = -size;    // top-down rows, as generated
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_RGB;
    void *bits = nullptr;
    HDC screenDc = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screenDc, reinterpret_cast<BITMAPINFO *>(&header), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    ReleaseDC(nullptr, screenDc);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    HICON icon = nullptr;
    if (colour && mask && bits) {
        uint32_t *to = static_cast<uint32_t *>(bits);
        for (int i = 0; i < size * size; i++)
            to[i] = (uint32_t)p[2 + i];
        ICONINFO info = {TRUE, 0, 0, mask, colour};
        icon = CreateIconIndirect(&info);
    }
    if (colour)
        DeleteObject(colour);
    if (mask)
        DeleteObject(mask);
    return icon;
}

// The library gives its window back its first style whenever it closes a
// display, and sizes a new display's window by the style the window has
// then. So the old display is closed first and the style set after, which
// makes the new display's window the size asked for inside its frame.
void prepareDesktopWindow(int full)
{
    HWND window = win_get_window();
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    LONG shown = GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE;
    SetWindowLongA(window, GWL_STYLE, (LONG)(full ? FULL_STYLE : WINDOW_STYLE) | shown);
}

// Puts the window in its place: over the whole monitor, or w x h inside
// its frame in the middle of the monitor's work area.
static void placeWindow(int full, int w, int h)
{
    HWND window = win_get_window();
    // A new frame only when it changes: Wine maps the window afresh for it.
    LONG style = (LONG)((full ? FULL_STYLE : WINDOW_STYLE) | WS_VISIBLE);
    UINT flags = SWP_SHOWWINDOW;
    if (GetWindowLongA(window, GWL_STYLE) != style) {
        SetWindowLongA(window, GWL_STYLE, style);
        flags |= SWP_FRAMECHANGED;
    }
    RECT place = monitorArea;
    if (!full) {
        RECT frame = frameOf(WINDOW_STYLE);
        int outerW = w + frame.right - frame.left, outerH = h + frame.bottom - frame.top;
        place.left = workArea.left + MAX((workArea.right - workArea.left - outerW) / 2, 0);
        place.top = workArea.top + MAX((workArea.bottom - workArea.top - outerH) / 2, 0);
        place.right = place.left + outerW;
        place.bottom = place.top + outerH;
    }
    SetWindowPos(window, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top, flags);
}

void placeDesktopWindow(int full, int w, int h)
{
    drawingW = w;
    drawingH = h;
    placeWindow(full, w, h);
}

void finishDesktopWindow(int)
{
    HWND window = win_get_window();
    if (!bigIcon)
        bigIcon = makeIcon(GetSystemMetrics(SM_CXICON) > 32 ? 48 : 32);
    if (!smallIcon)
        smallIcon = makeIcon(16);
    if (bigIcon)
        SendMessageA(window, WM_SETICON, ICON_BIG, (LPARAM)bigIcon);
    if (smallIcon)
        SendMessageA(window, WM_SETICON, ICON_SMALL, (LPARAM)smallIcon);
    SetForegroundWindow(window);
}

// In place whenever the window's new size fits the display's memory.
int switchDesktopWindow(int full, int w, int h)
{
    if (!screen || w > VIRTUAL_W || h > VIRTUAL_H)
        return -1;
    placeWindow(full, w, h);
    SetForegroundWindow(win_get_window());
    return 0;
}

// The library copies into the window what its driver's size covers, and
// keeps the pointer inside that size: both follow the window's.
int desktopWindowResized(int *w, int *h)
{
    RECT inside;
    HWND window = win_get_window();
    if (!screen || IsIconic(window) || !GetClientRect(window, &inside))
        return 0;
    int newW = MIN(MAX((int)inside.right, 1), VIRTUAL_W), newH = MIN(MAX((int)inside.bottom, 1), VIRTUAL_H);
    if (newW == drawingW && newH == drawingH)
        return 0;
    drawingW = gfx_driver->w = newW;
    drawingH = gfx_driver->h = newH;
    set_mouse_range(0, 0, newW - 1, newH - 1);
    *w = newW;
    *h = newH;
    return 1;
}

int desktopWindowHasFocus()
{
    return GetForegroundWindow() == win_get_window();
}

// The library draws the window from the game's thread, while the window
// belongs to the library's own window thread. Windows shows such drawing at
// once; Wine only passes it on to the X server when some thread of the
// program looks at its message queue, which the window thread, asleep until
// input arrives, does not. A look from this thread costs nothing on Windows.
void flushDesktop()
{
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

// The screen is a DirectDraw surface that must be locked around every
// access: the presenter copies to it with the library's blits instead.
int desktopDirectPixels()
{
    return 0;
}

void desktopPixelsChanged(int, int, int, int)
{
}
