// mainloop.cpp -- the program's one loop. Each pass waits for the next frame
// and then does the work of the current screen: the menu reacts to keys and
// completed clicks, play runs the frame update and the in-game keys, and the
// information and high-score screens wait for anything that leads back.
// Every screen is drawn into the canvas; the waits present it frame by frame.
#include "app/mainloop.h"
#include "app/assetload.h"
#include "app/layout.h"
#include "app/menu.h"
#include "app/settings.h"
#include "game/catalogue.h"
#include "game/fall.h"
#include "game/frame.h"
#include "game/well.h"
#include "platform/dialog.h"
#include "platform/pacing.h"
#include "platform/pointer.h"
#include "platform/present.h"
#include "platform/shutdown.h"
#include "scores/newscore.h"
#include <allegro.h>

int screenState = STATE_MENU;
int clickLatch = 0;
int musicOn = 1;
int animLeftX = 57, animRightX = 816;
int animLeftY = ANIM_START_Y, animRightY = ANIM_START_Y;
int animSidesSwapped = 0;

static const int ANIM_END_Y = 768;

void startMusic()
{
    if (musicSample)
        play_sample(musicSample, 255, 128, 1000, 1);
}

void stopMusic()
{
    if (musicSample)
        stop_sample(musicSample);
}

// Copies a whole picture to the canvas with its top-left corner at (x, y).
static void blitWhole(BITMAP *picture, int x, int y)
{
    blit(picture, canvas, 0, 0, x, y, picture->w, picture->h);
}

// Paints the empty play screen: the background and the empty well.
static void drawPlayScreen()
{
    blitWhole(gameBackground, 0, 0);
    blit(wellBackground, canvas, 0, 0, WELL_X, WELL_Y, WELL_PIXEL_W, WELL_PIXEL_H);
}

// Shows a button's pressed picture and gives the player time to see it.
static void pressButton(BITMAP *pressed, const ButtonRect &rect)
{
    blitWhole(pressed, rect.left, rect.top);
    holdFrames(FEEDBACK_DELAY_MS);
}

// Key S or the start button: a fresh round on the chosen difficulty.
static void startGameFromMenu()
{
    finishAssets();
    pressButton(startButtonPressed, menuLayout.startRect);
    screenState = STATE_PLAYING;
    showPointer(0);
    drawPlayScreen();
    if (musicOn)
        startMusic();
    startRound();
}

// Key O: the about picture.
static void openInfoPicture()
{
    finishAssets();
    holdFrames(FEEDBACK_DELAY_MS);
    drawScreenPicture(infoPicture, INFO_PICTURE_OBJECT);
    screenState = STATE_INFO_PICTURE;
}

// Key I or the high-scores button: the table of the fifteen best.
static void openHighScores()
{
    finishAssets();
    pressButton(scoresButtonPressed, menuLayout.scoresRect);
    showHighScores();
    screenState = STATE_HIGH_SCORES;
}

// Key H or the help button: the help picture until a key is pressed.
static void showHelpFromMenu()
{
    finishAssets();
    pressButton(helpButtonPressed, menuLayout.helpRect);
    drawScreenPicture(helpScreen, HELP_SCREEN_OBJECT);
    waitForKey();
    screenState = STATE_MENU;
    drawMenu();
    drawDifficultyButtons();
}

// Key Q or the quit button: the program ends at once.
[[noreturn]] static void quitFromMenu()
{
    blitWhole(quitButtonPressed, menuLayout.quitRect.left, menuLayout.quitRect.top);
    exitNow();
}

// Back from the information or high-score screen to the menu.
static void returnToMenu()
{
    clickLatch = 0;
    drawMenu();
    drawDifficultyButtons();
    screenState = STATE_MENU;
}

// Selects a difficulty from its button; it holds for every later game.
static void chooseDifficulty(int chosen)
{
    difficulty = chosen;
    drawDifficultyButtons();
}

// Acts on a click completed on the menu at the pointer's position.
static void menuClick()
{
    switch (menuButtonAt(canvasMouseX(), canvasMouseY())) {
    case START_BUTTON: startGameFromMenu(); break;
    case EASY_BUTTON: chooseDifficulty(EASY); break;
    case MEDIUM_BUTTON: chooseDifficulty(MEDIUM); break;
    case HARD_BUTTON: chooseDifficulty(HARD); break;
    case BLITZ_BUTTON: chooseDifficulty(BLITZ); break;
    case SCORES_BUTTON: openHighScores(); break;
    case HELP_BUTTON: showHelpFromMenu(); break;
    case QUIT_BUTTON: quitFromMenu();
    case NO_BUTTON: break;
    }
}

// Acts on a menu key; true when the key ended the pass.
static bool menuKey(int scancode)
{
    switch (scancode) {
    case KEY_S: startGameFromMenu(); return true;
    case KEY_O: openInfoPicture(); return true;
    case KEY_I: openHighScores(); return true;
    case KEY_H: showHelpFromMenu(); return true;
    case KEY_Q: quitFromMenu();
    default: return false;
    }
}

// One menu pass: the animation, at most one key, then the click test.
static void menuPass()
{
    if (animLeftY < ANIM_END_Y || animRightY < ANIM_END_Y) {
        animateMenu();
    } else {
        animSidesSwapped = !animSidesSwapped;
        animLeftY = animRightY = ANIM_START_Y;
    }
    if (keypressed() && menuKey(readkey() >> 8))
        return;
    // A click counts on the release, at the position of the release (for a
    // press let go within a frame, the press's).
    if (leftButtonDown()) {
        clickLatch = 1;
        return;
    }
    if (!clickLatch)
        return;
    clickLatch = 0;
    menuClick();
}

// The information and high-score screens: any key or completed click leads back.
static void waitingPass()
{
    // The key stays in the buffer so that the menu acts on it next pass.
    int down = leftButtonDown();
    if (keypressed())
        returnToMenu();
    else if (clickLatch && !down)
        returnToMenu();
    else if (down)
        clickLatch = 1;
}

// Key P: hides the well and the HUD until a key is pressed; the clock stops.
static void pauseGame()
{
    paused = 1;
    hudRedrawRequested = 1;
    drawPlayScreen();
    const char *label = "Paused - press a key";
    textprintf_centre_ex(canvas, hudFont, WELL_X + WELL_PIXEL_W / 2, WELL_Y + WELL_PIXEL_H / 2,
                         makecol(255, 255, 255), -1, "%s", label);
    waitForKey();
    blit(wellBackground, canvas, 0, 0, WELL_X, WELL_Y, WELL_PIXEL_W, WELL_PIXEL_H);
    paused = 0;
    clear_keybuf();
}

// Key F1: the help picture until a key is pressed; the clock stops.
static void showHelpInGame()
{
    paused = 1;
    drawScreenPicture(helpScreen, HELP_SCREEN_OBJECT);
    waitForKey();
    drawPlayScreen();
    hudRedrawRequested = 1;
    paused = 0;
    clear_keybuf();
}

// Key Q in play: the round is abandoned without recording a score.
static void leaveGame()
{
    stopMusic();
    drawMenu();
    drawDifficultyButtons();
    screenState = STATE_MENU;
}

// Key M in play: music on or off.
static void toggleMusic()
{
    if (musicOn) {
        stopMusic();
        musicOn = 0;
    } else {
        startMusic();
        musicOn = 1;
    }
}

// The end of a round: its message, the high-score entry, back to the menu.
static void finishRound()
{
    showMessageBox(roundEndMessage);
    recordHighScore(score);
    drawMenu();
    drawDifficultyButtons();
    screenState = STATE_MENU;
    stopMusic();
}

// One play pass: the frame update, then a pause if the window lost the
// focus, else at most one key.
static void playingPass(int focusLost)
{
    if (!updateFrame()) {
        finishRound();
        return;
    }
    if (focusLost) {
        pauseGame();
        return;
    }
    if (!keypressed())
        return;
    int scancode = readkey() >> 8;
    applySteeringKey(scancode);
    switch (scancode) {
    case KEY_P:
    case KEY_ESC: pauseGame(); break;
    case KEY_Q: leaveGame(); return;   // keeps the buffer: a second Q quits
    case KEY_F1: showHelpInGame(); break;
    case KEY_M: toggleMusic(); break;
    case KEY_E: soundEffectsOn = !soundEffectsOn; break;
    }
    clear_keybuf();
}

void mainLoopPass()
{
    waitFrame();
    loadMoreAssets();
    saveSettingsWhenChanged();
    int focusLost = takeFocusLoss();
    switch (screenState) {
    case STATE_PLAYING: playingPass(focusLost); break;
    case STATE_MENU: menuPass(); break;
    case STATE_INFO_PICTURE:
    case STATE_HIGH_SCORES: waitingPass(); break;
    }
}

void runMainLoop()
{
    for (;;)
        mainLoopPass();
}
