/* fixtime.c -- preloaded into the game by end-to-end tests: time() answers
   the value of TG_FIXED_TIME, so the game seeds its dealer predictably
   without any option of its own. */
#include <stdlib.h>
#include <time.h>

time_t time(time_t *out)
{
    const char *fixed = getenv("TG_FIXED_TIME");
    time_t now = fixed ? (time_t)strtoll(fixed, NULL, 10) : 0;
    if (out)
        *out = now;
    return now;
}
