/* web_system.c -- the system driver for the browser.
 *
 * The page is the program's window: its title is the document's title,
 * and the page losing the keyboard focus or being hidden (another tab,
 * a minimised browser) is the library's switch out; getting both back is
 * the switch in. The colour shifts of 32-bit pixels are chosen so that a
 * pixel's bytes in memory are red, green, blue, alpha: the order of the
 * page's canvas, which then takes the screen's rows without any swapping.
 * There are no threads, so no mutexes are needed, and the library's own
 * lists of drivers are used.
 */
#include <emscripten.h>
#include <string.h>
#include "web_drivers.h"

static int pageFocused = 1;

/* Called by the page on focus, blur and visibility changes. */
EMSCRIPTEN_KEEPALIVE void web_system_focus(int focused)
{
   if (focused == pageFocused)
      return;
   pageFocused = focused;
   if (focused)
      _switch_in();
   else
      _switch_out();
}

/* Follows the page's focus and visibility; the state is known from the start. */
EM_JS(int, web_system_watch_page, (void), {
   var report = function() {
      _web_system_focus(document.hasFocus() && document.visibilityState === 'visible' ? 1 : 0);
   };
   window.addEventListener('focus', report);
   window.addEventListener('blur', function() { _web_system_focus(0); });
   document.addEventListener('visibilitychange', report);
   return document.hasFocus() && document.visibilityState === 'visible' ? 1 : 0;
});

EM_JS(void, web_system_set_title, (const char *title), {
   document.title = UTF8ToString(title);
});

EM_JS(void, web_system_message, (const char *text), {
   console.log(UTF8ToString(text));
});

int web_page_has_focus(void)
{
   return pageFocused;
}

static int web_sys_init(void)
{
   os_type = OSTYPE_UNKNOWN;
   os_multitasking = TRUE;
   _rgb_r_shift_32 = 0;
   _rgb_g_shift_32 = 8;
   _rgb_b_shift_32 = 16;
   _rgb_a_shift_32 = 24;
   pageFocused = web_system_watch_page();
   return 0;
}

static void web_sys_exit(void)
{
}

static void web_sys_get_executable_name(char *output, int size)
{
   do_uconvert("./game", U_ASCII, output, U_CURRENT, size);
}

static void web_sys_set_window_title(AL_CONST char *name)
{
   web_system_set_title(name);
}

/* A browser tab closes without asking the page: nothing to call back. */
static int web_sys_set_close_button_callback(void (*proc)(void))
{
   (void)proc;
   return 0;
}

static void web_sys_message(AL_CONST char *msg)
{
   web_system_message(msg);
}

/* The page keeps running behind other tabs, slowed down: the program goes on. */
static int web_sys_set_display_switch_mode(int mode)
{
   return mode == SWITCH_BACKGROUND || mode == SWITCH_BACKAMNESIA || mode == SWITCH_NONE ? 0 : -1;
}

static int web_sys_desktop_color_depth(void)
{
   return 32;
}

static int web_sys_get_desktop_resolution(int *width, int *height)
{
   *width = gfx_web.w;
   *height = gfx_web.h;
   return 0;
}

static void web_sys_yield_timeslice(void)
{
   web_rest(0);
}

SYSTEM_DRIVER system_web =
{
   SYSTEM_WEB,
   empty_string,
   empty_string,
   "Browser",
   web_sys_init,
   web_sys_exit,
   web_sys_get_executable_name,
   NULL,                               /* find_resource */
   web_sys_set_window_title,
   web_sys_set_close_button_callback,
   web_sys_message,
   NULL,                               /* assert */
   NULL, NULL,                         /* save_console_state, restore_console_state */
   NULL, NULL, NULL, NULL, NULL,       /* bitmaps: the library's own */
   NULL, NULL,                         /* read_hardware_palette, set_palette_range */
   NULL,                               /* get_vtable */
   web_sys_set_display_switch_mode,
   NULL,                               /* display_switch_lock */
   web_sys_desktop_color_depth,
   web_sys_get_desktop_resolution,
   NULL,                               /* get_gfx_safe_mode */
   web_sys_yield_timeslice,
   NULL, NULL, NULL, NULL,             /* no threads, no mutexes */
   NULL, NULL, NULL, NULL, NULL, NULL, NULL   /* the library's driver lists */
};

_DRIVER_INFO _system_driver_list[] =
{
   { SYSTEM_WEB, &system_web, TRUE },
   { SYSTEM_NONE, &system_none, FALSE },
   { 0, NULL, 0 }
};

/* No joysticks in the browser build. */
_DRIVER_INFO _joystick_driver_list[] =
{
   { JOY_TYPE_NONE, &joystick_none, TRUE },
   { 0, NULL, 0 }
};
