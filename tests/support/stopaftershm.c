/* stopaftershm.c -- preloaded by the shutdown case: the game gets a stop
   signal the moment the X server has attached its screen's shared memory,
   before the game has marked the segment for removal, which is when a
   logout or a lost display would otherwise leave the segment behind. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <dlfcn.h>
#include <signal.h>

/* The library's attach, then the signal. */
Bool XShmAttach(Display *dpy, XShmSegmentInfo *info)
{
    Bool (*real)(Display *, XShmSegmentInfo *) =
        (Bool (*)(Display *, XShmSegmentInfo *))dlsym(RTLD_NEXT, "XShmAttach");
    Bool attached = real(dpy, info);
    XSync(dpy, False);
    raise(SIGTERM);
    return attached;
}
