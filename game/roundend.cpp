// roundend.cpp -- the end of a round: the message box, the high-score entry
// and the way back to the menu. Only the game links this; the tests put a
// recorder in its place so that the rules run without a modal box.
#include "game/fall.h"
#include "game/well.h"
#include "app/mainloop.h"
#include "app/menu.h"
#include "platform/dialog.h"
#include "scores/newscore.h"
#include <allegro.h>

void endRound(const char *message)
{
    showMessageBox(message);
    recordHighScore(score);
    drawMenu();
    drawDifficultyButtons();
    screenState = STATE_MENU;
    stopMusic();
}
