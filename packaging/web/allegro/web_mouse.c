/* web_mouse.c -- the mouse driver for the browser.
 *
 * The page's pointer events over the canvas set the driver's state, in
 * the canvas's own pixels whatever size the page shows it at, and hand it
 * to the library at once, so mouse_callback sees every press and release.
 * The driver has a poll method, which puts the library in polled mode; a
 * program that polls again and again without sleeping in between (the
 * GUI's button loop, "while (gui_mouse_b())") is waiting for the mouse,
 * so such a poll sleeps a moment to let the page's events in. A few polls
 * in one frame (the dialog toolkit makes several) are not such a loop.
 *
 * A press and its release that both arrive between two looks of the
 * program (a quick click, or a test's) reach mouse_callback one by one,
 * where the game latches them.
 */
#include <emscripten.h>
#include "web_drivers.h"

static int installed = 0, listening = 0;
static int inPageEvent = 0;          /* the library is being handed a page event */
static const int BUSY_POLLS = 8;     /* this many polls without a sleep make a busy loop */
static int lastPollSleeps = -1;      /* _web_sleep_count at the program's last poll */
static int pollsWithoutSleep = 0;
static int rangeX1 = 0, rangeY1 = 0, rangeX2 = 1023, rangeY2 = 767;

/* Hands the driver's state to the library, firing mouse_callback. */
static void hand_on(void)
{
   inPageEvent = 1;
   poll_mouse();
   inPageEvent = 0;
}

/* Called by the page for each pointer event: position in canvas pixels, buttons, wheel steps. */
EMSCRIPTEN_KEEPALIVE void web_mouse_event(int x, int y, int buttons, int wheel)
{
   if (!installed)
      return;
   _mouse_x = MID(rangeX1, x, rangeX2);
   _mouse_y = MID(rangeY1, y, rangeY2);
   _mouse_z += wheel;
   _mouse_b = buttons;
   hand_on();
}

/* Listens to the pointer over the page's canvas; moves and releases anywhere count. */
EM_JS(void, web_mouse_listen, (void), {
   var canvas = Module['canvas'];
   var report = function(e, wheel) {
      var box = canvas.getBoundingClientRect();
      var x = Math.floor((e.clientX - box.left) * canvas.width / Math.max(box.width, 1));
      var y = Math.floor((e.clientY - box.top) * canvas.height / Math.max(box.height, 1));
      _web_mouse_event(x, y, e.buttons & 7, wheel);
   };
   canvas.addEventListener('mousedown', function(e) { e.preventDefault(); report(e, 0); });
   window.addEventListener('mouseup', function(e) { report(e, 0); });
   window.addEventListener('mousemove', function(e) { report(e, 0); });
   canvas.addEventListener('wheel', function(e) { e.preventDefault(); report(e, e.deltaY > 0 ? 1 : -1); },
                           { passive: false });
   canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });
});

EM_JS(void, web_mouse_set_cursor, (int shape), {
   var names = ['none', 'default', 'default', 'wait', 'help', 'text'];
   if (Module['canvas'])
      Module['canvas'].style.cursor = names[shape] || 'default';
});

static int web_mouse_init(void)
{
   installed = 1;
   if (!listening++)
      web_mouse_listen();
   return 3;
}

static void web_mouse_exit(void)
{
   installed = 0;
}

static void web_mouse_poll(void)
{
   if (inPageEvent)
      return;
   if (_web_sleep_count != lastPollSleeps)
      pollsWithoutSleep = 0;
   if (++pollsWithoutSleep >= BUSY_POLLS)
      web_rest(1);
   lastPollSleeps = _web_sleep_count;
}

static void web_mouse_position(int x, int y)
{
   _mouse_x = x;
   _mouse_y = y;
}

static void web_mouse_set_range(int x1, int y1, int x2, int y2)
{
   rangeX1 = x1;
   rangeY1 = y1;
   rangeX2 = x2;
   rangeY2 = y2;
}

/* The page's own pointer shapes; returns 1 as every shape is there. */
static int web_mouse_select_system_cursor(int cursor)
{
   web_mouse_set_cursor(cursor);
   return 1;
}

static void web_mouse_enable_hardware_cursor(int mode)
{
   (void)mode;
}

/* Hides the page's pointer over the canvas (show_os_cursor with MOUSE_CURSOR_NONE). */
void _web_mouse_hide_cursor(void)
{
   web_mouse_set_cursor(MOUSE_CURSOR_NONE);
}

MOUSE_DRIVER mouse_web =
{
   MOUSEDRV_WEB,
   empty_string,
   empty_string,
   "Page pointer",
   web_mouse_init,
   web_mouse_exit,
   web_mouse_poll,
   NULL,                      /* timer_poll */
   web_mouse_position,
   web_mouse_set_range,
   NULL,                      /* set_speed */
   NULL,                      /* get_mickeys */
   NULL,                      /* analyse_data */
   web_mouse_enable_hardware_cursor,
   web_mouse_select_system_cursor
};

_DRIVER_INFO _mouse_driver_list[] =
{
   { MOUSEDRV_WEB, &mouse_web, TRUE },
   { 0, NULL, 0 }
};
