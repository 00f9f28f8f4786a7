// platform_web.cpp -- the browser's share of the operating system's
// services. The error box is the page's own, laid over the canvas with the
// title, the error icon, the text and an OK button, and the game waits
// until it is answered, as it waits for a desktop's box. The sleep is the
// browser's: the page's events, the sound and the library's timers go on.
#include "platform/platform.h"
#include <emscripten.h>
#include <weballeg.h>

// Shows the page's error box and waits for its OK; without one, the message goes to the console.
EM_ASYNC_JS(void, showPageErrorBox, (const char *text, const char *title), {
    if (Module['showErrorBox'])
        await Module['showErrorBox'](UTF8ToString(text), UTF8ToString(title));
    else
        console.error(UTF8ToString(title) + ': ' + UTF8ToString(text));
});

void showErrorBox(const char *text, const char *title)
{
    showPageErrorBox(text, title);
}

void sleepMs(int milliseconds)
{
    if (milliseconds > 0)
        web_rest(milliseconds);
}
