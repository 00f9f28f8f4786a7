// desktop_web.cpp -- the page as the game's desktop. The screen is the
// page's 1024x768 canvas at scale 1; the page's style fits it to the tab,
// keeping 4:3, centred on the dark border, so the browser does the
// resampling ("sharp" scaling asks for whole-number sizes with square
// pixels). Full screen is the browser's Fullscreen API: the page's own
// fullscreenchange keeps fullScreen true to what the browser shows, so
// leaving with Esc, or a request the browser refused, is known at once.
// The keyboard focus is the page's focus and visibility.
#include "platform/desktop.h"
#include "platform/present.h"
#include <allegro.h>
#include <emscripten.h>
#include <weballeg.h>

// Nothing to prepare before the library starts.
void prepareDesktop()
{
}

int desktopDriver(int)
{
    return GFX_AUTODETECT_WINDOWED;
}

void desktopSize(int *w, int *h)
{
    *w = CANVAS_W;
    *h = CANVAS_H;
}

void desktopWorkArea(int *w, int *h)
{
    desktopSize(w, h);
}

// The page is the only monitor.
void pickDesktopMonitor(int)
{
}

// The screen never grows: the page scales the canvas, not the screen.
void desktopSurfaceSize(int w, int h, int *surfaceW, int *surfaceH)
{
    *surfaceW = w;
    *surfaceH = h;
}

// The canvas's place is the page's own.
void placeDesktopWindow(int, int, int)
{
}

// The resizing is the page's style's.
int desktopWindowResized(int *, int *)
{
    return 0;
}

// Asks the browser to show the page full screen or not; full is where the
// game's flag lives, kept equal to what the browser really shows.
EM_JS(void, askPageFullScreen, (int wanted, int *full), {
    var shown = function() { return document.fullscreenElement ? 1 : 0; };
    if (!Module['fullScreenFlag']) {
        document.addEventListener('fullscreenchange', function() {
            HEAP32[Module['fullScreenFlag'] >> 2] = shown();
        });
    }
    Module['fullScreenFlag'] = full;
    var done = function() { HEAP32[full >> 2] = shown(); };
    // Without a key or click just before, the browser refuses at once.
    var allowed = !navigator.userActivation || navigator.userActivation.isActive;
    if (wanted && !shown() && allowed && document.documentElement.requestFullscreen)
        document.documentElement.requestFullscreen().then(done, done);
    else if (!wanted && shown())
        document.exitFullscreen().then(done, done);
    else
        done();
});

// Tells the page's style how to fit the canvas: 1 whole-number sizes only.
EM_JS(void, setPageScaling, (int sharp), {
    document.documentElement.classList.toggle('sharp', !!sharp);
    window.dispatchEvent(new Event('resize'));
});

void prepareDesktopWindow(int full)
{
    askPageFullScreen(full, &fullScreen);
}

void finishDesktopWindow(int)
{
    setPageScaling(sharpScaling);
}

// Full screen and back never reopen the screen: the page only changes its style.
int switchDesktopWindow(int full, int, int)
{
    askPageFullScreen(full, &fullScreen);
    return 0;
}

int desktopWindowHasFocus()
{
    return web_page_has_focus();
}

// The graphics driver sends what was drawn at every frame.
void flushDesktop()
{
}

// The screen is not the canvas the page shows: the presenter copies to it
// with the library's blits, whose rectangles the driver sends on.
int desktopDirectPixels()
{
    return 0;
}

void desktopPixelsChanged(int, int, int, int)
{
}
