// main.cpp -- the entry point and start-up: the library and its services,
// the play clock's timer, the saved settings, the display with its
// 1024x768 canvas, the checked datafile and the menu's own pictures, the
// first menu frame, then the sound and the high-score table; then the main
// loop, which never returns. Whatever the first frame does not need comes
// after it, so the menu is on screen within a few tens of milliseconds.
#include "app/assetload.h"
#include "app/layout.h"
#include "app/mainloop.h"
#include "app/menu.h"
#include "app/settings.h"
#include "game/catalogue.h"
#include "game/fall.h"
#include "game/well.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/pacing.h"
#include "platform/platform.h"
#include "platform/pointer.h"
#include "platform/present.h"
#include "platform/shutdown.h"
#include "scores/table.h"
#include <allegro.h>
#include <cstdlib>
#include <ctime>

static const char WINDOW_TITLE[] = "TumbleGrid";

// The play clock counts 3000 ticks a second. Waking the library's timer
// thread 3000 times a second costs several percent of a core on its own, so
// the ticks are delivered 50 at a time, sixty times a second: the clock shows
// whole seconds, and the count is the same.
static const int PLAY_CLOCK_BATCHES = 60;
static const int TICKS_PER_BATCH = TICKS_PER_SECOND / PLAY_CLOCK_BATCHES;

// Timer callback: one batch of play-clock ticks.
static void timerTick()
{
    for (int i = 0; i < TICKS_PER_BATCH; i++)
        onTimerTick();
}
END_OF_STATIC_FUNCTION(timerTick)

// Opens the display, full screen or a window as last chosen; ends silently if refused.
static void startDisplay()
{
    set_window_title(WINDOW_TITLE);
    if (openDisplay() != 0) {
        showErrorBox("Fatal Error!  Cannot Open Display!", "Error");
        exitNow();
    }
    // Message boxes in the colours of the play screen's panels.
    gui_fg_color = makecol(0, 0, 0);
    gui_mg_color = makecol(128, 128, 128);
    gui_bg_color = makecol(236, 232, 220);
    // Closing the window ends the program the way the quit key does.
    set_close_button_callback(exitNow);
}

// Checks the password-protected datafile and brings in the menu's objects, or ends with a message.
static void loadAssets()
{
    if (!loadMenuAssets()) {
        showMessageBox("Couldn't load datafile!");
        exitNow();
    }
}

// Everything from the entry point up to the first menu.
static void startUp()
{
    screenState = STATE_MENU;
    srand(static_cast<unsigned>(time(nullptr)));
    prepareDesktop();
    // Without a display (no X server, DISPLAY unset) the library does not
    // start, and every call after it would crash.
    if (allegro_init() != 0) {
        showErrorBox("Fatal Error!  Cannot Open Display!", "Error");
        exitNow();
    }
    watchForShutdown();
    install_timer();
    install_keyboard();
    LOCK_FUNCTION(timerTick);
    install_int_ex(timerTick, BPS_TO_TIMER(PLAY_CLOCK_BATCHES));
    startFramePacing();
    install_mouse();
    installPointer();
    loadSettings();
    startDisplay();
    textColour = makecol(0, 0, 0);
    loadAssets();
    animLeftY = animRightY = ANIM_START_Y;
    animLeftX = 57;
    animRightX = 816;
    computeMenuLayout(startButtonNormal->w, startButtonNormal->h, easyButtonOn->w, easyButtonOn->h,
                      menuBackground->w);
    drawMenu();
    drawDifficultyButtons();
    serviceDisplay();           // the first menu frame
    // Sound is first heard when a round starts; finding the sound card can
    // take a while on some desktops, so it is done after the first frame.
    install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "");
    loadHighScores();
    sortHighScores();
}

int main()
{
    startUp();
    runMainLoop();
}
END_OF_MAIN()
