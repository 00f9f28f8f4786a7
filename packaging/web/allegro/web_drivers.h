/* web_drivers.h -- what the library's web drivers share among themselves.
 *
 * The browser runs the program on its one thread: page events, timers and
 * sound are handled only while the program sleeps (an asynchronous sleep
 * under Emscripten's ASYNCIFY). Every sleep goes through web_sleep_until()
 * in web_timer.c, which lets the other drivers do their part around it.
 */
#ifndef WEB_DRIVERS_H
#define WEB_DRIVERS_H

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "weballeg.h"

#define SYSTEM_WEB     AL_ID('W','E','B','S')
#define TIMERDRV_WEB   AL_ID('W','E','B','T')
#define KEYBOARD_WEB   AL_ID('W','E','B','K')
#define MOUSEDRV_WEB   AL_ID('W','E','B','M')
#define GFX_WEB        AL_ID('W','E','B','G')
#define DIGI_WEB       AL_ID('W','E','B','D')

extern SYSTEM_DRIVER system_web;
extern TIMER_DRIVER timer_web;
extern KEYBOARD_DRIVER keyboard_web;
extern MOUSE_DRIVER mouse_web;
extern GFX_DRIVER gfx_web;
extern DIGI_DRIVER digi_web;

/* Counts the program's sleeps: a driver can tell whether the program has
 * run since some event arrived. */
extern int _web_sleep_count;

/* Sends the screen's changed rectangles to the page's canvas (web_canvas.c). */
void _web_flush_screen(void);

/* Hides the page's pointer over the canvas (web_mouse.c). */
void _web_mouse_hide_cursor(void);

#endif
