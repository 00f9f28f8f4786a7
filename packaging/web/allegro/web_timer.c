/* web_timer.c -- the timer driver for the browser, without threads.
 *
 * A browser program cannot be interrupted: its timers can only run when
 * it sleeps. So this driver keeps the library's own list of timers (it
 * offers no install_int of its own) and, whenever the program sleeps,
 * advances them by the time that really passed. Every sleep of the
 * program comes through here -- rest(), the frame wait, a yield -- and
 * before each one the screen goes to the page and a pending mouse release
 * is applied. A page that stood still (a hidden tab, a long computation)
 * does not catch up in a burst: at most a tenth of a second is counted
 * per wake-up.
 */
#include <emscripten.h>
#include "web_drivers.h"

static const double LONGEST_STEP_MS = 100.0;

int _web_sleep_count = 0;

static double lastAdvance = 0.0;     /* when the timers were last advanced, in ms */
static double owedUnits = 0.0;       /* the part of a timer unit not yet handed on */

/* Waits for the browser's next animation frame, or timeout ms when the page draws none. */
EM_ASYNC_JS(void, web_await_frame, (int timeout), {
   await new Promise(function(done) {
      var timer = setTimeout(done, timeout);
      requestAnimationFrame(function() { clearTimeout(timer); done(); });
   });
});

/* Hands the time since the last call to the library's timers. */
static void advance_timers(void)
{
   double now = emscripten_get_now();
   double ms = now - lastAdvance;
   long units;

   lastAdvance = now;
   if (ms > LONGEST_STEP_MS)
      ms = LONGEST_STEP_MS;
   owedUnits += ms * TIMERS_PER_SECOND / 1000.0;
   units = (long)owedUnits;
   owedUnits -= units;
   if (units > 0)
      _handle_timer_tick(units);
}

/* What every sleep does before and after it. */
static void before_sleep(void)
{
   _web_flush_screen();
   _web_sleep_count++;
}

void web_rest(int milliseconds)
{
   before_sleep();
   emscripten_sleep(milliseconds > 0 ? milliseconds : 0);
   advance_timers();
}

void web_wait_frame(void)
{
   before_sleep();
   web_await_frame(100);
   advance_timers();
}

/* rest() and rest_callback(): sleeps in slices, calling the callback between them. */
static void web_timer_rest(unsigned int time, void (*callback)(void))
{
   double end = emscripten_get_now() + time;
   double left = time;

   do {
      if (callback)
         callback();
      web_rest(callback ? 1 : (int)(left + 0.999));
      left = end - emscripten_get_now();
   } while (left > 0);
}

static int web_timer_init(void)
{
   lastAdvance = emscripten_get_now();
   owedUnits = 0.0;
   return 0;
}

static void web_timer_exit(void)
{
}

TIMER_DRIVER timer_web =
{
   TIMERDRV_WEB,
   empty_string,
   empty_string,
   "Browser timers",
   web_timer_init,
   web_timer_exit,
   NULL, NULL,          /* install_int, remove_int: the library keeps the list */
   NULL, NULL,          /* install_param_int, remove_param_int */
   NULL, NULL,          /* can_simulate_retrace, simulate_retrace */
   web_timer_rest
};

_DRIVER_INFO _timer_driver_list[] =
{
   { TIMERDRV_WEB, &timer_web, TRUE },
   { 0, NULL, 0 }
};
