/* weballeg.h -- the web platform's few additions to the library, for
 * programs that know they run in a browser (as xalleg.h and winalleg.h are
 * for X11 and Windows).
 */
#ifndef WEBALLEG_H
#define WEBALLEG_H

#ifdef __cplusplus
extern "C" {
#endif

/* Waits for the browser's next animation frame, or at most a tenth of a
 * second when the page is hidden and draws no frames. Page events, sound
 * and the library's timers are handled meanwhile. */
void web_wait_frame(void);

/* Sleeps for the given number of milliseconds, handling the same. */
void web_rest(int milliseconds);

/* 1 while the page is visible and holds the keyboard focus. */
int web_page_has_focus(void);

#ifdef __cplusplus
}
#endif

#endif
