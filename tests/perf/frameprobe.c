/* frameprobe.c -- watches one X window for a number of seconds and reports
   how often its picture really changed on the server: the frames per second
   and the spread of the intervals between frames, measured from the X
   server's damage events rather than from the program's own clock.
   Usage: frameprobe WINDOW-ID SECONDS */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

/* Damage events closer than this belong to the same frame. */
#define SAME_FRAME_MS 4.0
#define MAX_FRAMES 100000

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int compareDoubles(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: frameprobe WINDOW-ID SECONDS\n");
        return 2;
    }
    Display *dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "frameprobe: cannot open display\n");
        return 1;
    }
    Window win = (Window)strtoul(argv[1], NULL, 0);
    double seconds = atof(argv[2]);
    int eventBase, errorBase;
    if (!XDamageQueryExtension(dpy, &eventBase, &errorBase)) {
        fprintf(stderr, "frameprobe: no DAMAGE extension\n");
        return 1;
    }
    Damage damage = XDamageCreate(dpy, win, XDamageReportNonEmpty);
    static double frames[MAX_FRAMES];
    int count = 0;
    double start = nowMs(), last = -1e9;
    while (nowMs() - start < seconds * 1000.0 && count < MAX_FRAMES) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type != eventBase + XDamageNotify)
                continue;
            XDamageSubtract(dpy, damage, None, None);
            double t = nowMs();
            if (t - last > SAME_FRAME_MS)
                frames[count++] = t;
            last = t;
        }
        struct timespec nap = {0, 200000};
        nanosleep(&nap, NULL);
    }
    double elapsed = nowMs() - start;
    if (count < 3) {
        printf("frames: %d (too few to measure)\n", count);
        return 1;
    }
    static double gaps[MAX_FRAMES];
    for (int i = 1; i < count; i++)
        gaps[i - 1] = frames[i] - frames[i - 1];
    qsort(gaps, count - 1, sizeof gaps[0], compareDoubles);
    double rate = (count - 1) * 1000.0 / (frames[count - 1] - frames[0]);
    printf("frames: %d in %.1f s\n", count, elapsed / 1000.0);
    printf("frames per second: %.2f\n", rate);
    printf("frame interval ms: median %.1f, p95 %.1f, max %.1f\n",
           gaps[(count - 1) / 2], gaps[(int)((count - 1) * 0.95)], gaps[count - 2]);
    XDamageDestroy(dpy, damage);
    XCloseDisplay(dpy);
    return 0;
}
