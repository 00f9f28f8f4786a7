/* grabcheck.c -- tries to grab the keyboard and the pointer the way another
   program (a window manager's Alt+Tab, a screenshot tool) would, and lets
   them go at once. Exit status 0 when both grabs succeeded: nobody else
   holds them. Usage: grabcheck */
#include <X11/Xlib.h>
#include <stdio.h>

int main(void)
{
    Display *dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "grabcheck: cannot open display\n");
        return 2;
    }
    Window root = DefaultRootWindow(dpy);
    int keyboard = XGrabKeyboard(dpy, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    int pointer = XGrabPointer(dpy, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None,
                               CurrentTime);
    XUngrabKeyboard(dpy, CurrentTime);
    XUngrabPointer(dpy, CurrentTime);
    XCloseDisplay(dpy);
    printf("keyboard %s, pointer %s\n", keyboard == GrabSuccess ? "free" : "held",
           pointer == GrabSuccess ? "free" : "held");
    return keyboard == GrabSuccess && pointer == GrabSuccess ? 0 : 1;
}
