/* firstframe.c -- for the performance report: waits for the first picture
   of the game on the X server and prints how many milliseconds after a
   the real-time clock it appeared at. It watches the root window's damage events and,
   at each, looks whether the screen shows more than one colour (a freshly
   mapped window is one plain colour until the game draws on it).
   Usage: firstframe TIMEOUT-S [KEY]; prints "ready" once it watches, then the
   time in nanoseconds of CLOCK_REALTIME (the clock date +%s%N reads). With a
   key (an X keysym name such as "s") it presses and releases that key the
   moment the picture is seen and prints the time it was sent as well. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

/* Nanoseconds of the real-time clock, the one date +%s%N reads. */
static long long nowNs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

/* True when a band across the middle of the screen holds more than one colour. */
static int screenHasPicture(Display *dpy, Window root)
{
    XImage *img = XGetImage(dpy, root, 0, 300, 1024, 160, AllPlanes, ZPixmap);
    if (!img)
        return 0;
    unsigned long first = XGetPixel(img, 0, 0);
    int varied = 0;
    for (int y = 0; y < 160 && !varied; y += 4)
        for (int x = 0; x < 1024 && !varied; x += 4)
            varied = XGetPixel(img, x, y) != first;
    XDestroyImage(img);
    return varied;
}

/* Presses and releases a key through the XTEST extension, as a player would.
   The round trip makes sure the server has acted on both before the program
   ends: closing a connection with unread events (the damage reports keep
   coming) can make the server drop requests it had not read yet. */
static void pressKey(Display *dpy, const char *name)
{
    KeyCode code = XKeysymToKeycode(dpy, XStringToKeysym(name));
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    XSync(dpy, False);
}

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        fprintf(stderr, "usage: firstframe TIMEOUT-S [KEY]\n");
        return 2;
    }
    long long start = nowNs();
    double timeout = atof(argv[1]);
    Display *dpy = XOpenDisplay(NULL);
    int eventBase, errorBase;
    if (!dpy || !XDamageQueryExtension(dpy, &eventBase, &errorBase)) {
        fprintf(stderr, "firstframe: no display or no DAMAGE extension\n");
        return 1;
    }
    Window root = DefaultRootWindow(dpy);
    Damage damage = XDamageCreate(dpy, root, XDamageReportNonEmpty);
    XSync(dpy, False);
    printf("ready\n");
    fflush(stdout);
    while ((nowNs() - start) / 1e9 < timeout) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type != eventBase + XDamageNotify)
            continue;
        long long seen = nowNs();
        XDamageSubtract(dpy, damage, None, None);
        if (screenHasPicture(dpy, root)) {
            if (argc == 3)
                pressKey(dpy, argv[2]);
            printf("%lld\n", seen);
            if (argc == 3)
                printf("%lld\n", nowNs());
            return 0;
        }
    }
    return 1;
}
