// desktop_win.cpp -- the Windows side of the presenter. Both full screen
// and the window use the library's windowed DirectX driver: full screen is
// its window without a frame, covering the whole monitor at the desktop's
// own resolution, so the video mode never changes and nothing takes the
// keyboard or the pointer away from the desktop; the window keeps its frame
// and fits the work area beside the taskbar. The window gets the game's
// icon from the same pixels the X11 build hands its window manager.
#include "platform/desktop.h"
#include <allegro.h>
#include <winalleg.h>
#include "tumblegrid_icon.h"

// The frame the library gives its window: a caption, a system menu and a
// minimise box, with a fixed border.
static const DWORD WINDOW_STYLE = WS_SYSMENU | WS_CAPTION | WS_MINIMIZEBOX;

static HICON bigIcon = nullptr, smallIcon = nullptr;

// Before the library starts: the system's timer made as fine as it goes for
// the game's lifetime. At Windows' default of about 15.6 ms a wait ends only
// at a tick of that clock, so the library's timer thread, asked to wake
// every 16.7 ms, would wake 15.6 or 31.2 ms apart and the game would drop
// frames. Windows lets go of the request when the process ends, however it
// ends (the game always ends through the immediate exit).
void prepareDesktop()
{
    timeBeginPeriod(1);
}

int desktopDriver(int)
{
    return GFX_DIRECTX_WIN;
}

void desktopSize(int *w, int *h)
{
    *w = GetSystemMetrics(SM_CXSCREEN);
    *h = GetSystemMetrics(SM_CYSCREEN);
}

void desktopWorkArea(int *w, int *h)
{
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        desktopSize(w, h);
        area = {0, 0, *w, *h};
    }
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WINDOW_STYLE, FALSE, WS_EX_APPWINDOW);
    *w = (area.right - area.left) - (frame.right - frame.left);
    *h = (area.bottom - area.top) - (frame.bottom - frame.top);
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

// The library gives its window back the frame whenever it closes a display,
// and sizes a new display's window by the style the window has then. So
// for full screen the old display is closed first and the frame taken off
// after, which makes the new display's window exactly the desktop's size.
void prepareDesktopWindow(int full)
{
    if (!full)
        return;
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    SetWindowLongA(win_get_window(), GWL_STYLE, WS_POPUP);
}

void finishDesktopWindow(int full)
{
    HWND window = win_get_window();
    // Full screen: the frameless window placed over the whole monitor (the
    // library centres it on the work area, which leaves out the taskbar).
    if (full) {
        int w, h;
        desktopSize(&w, &h);
        SetWindowPos(window, HWND_TOP, 0, 0, w, h, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    }
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

// ---- Stand-ins for the monitor choice, the resizable window and the switch
// in place, which the X11 side has: Windows keeps the primary monitor, a
// window of fixed size, and reopens the display at every switch. These keep
// the Windows game as it was until its own versions replace them.

void pickDesktopMonitor(int)
{
}

void desktopSurfaceSize(int w, int h, int *surfaceW, int *surfaceH)
{
    *surfaceW = w;
    *surfaceH = h;
}

void placeDesktopWindow(int, int, int)
{
}

int switchDesktopWindow(int, int, int)
{
    return -1;
}

int desktopWindowResized(int *, int *)
{
    return 0;
}
