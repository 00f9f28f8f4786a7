// roundend.cpp -- the end of a round: the message box, the high-score entry
// and the way back to the menu. Only the game links this; the tests put a
// recorder in its place so that the rules run without a modal box.
#include "game/fall.h"
#include "game/well.h"
#include "app/mainloop.h"
#include "app/menu.h"
#include "scores/newscore.h"
#include <allegro.h>

void endRound(const char *message)
{
    alert(message, nullptr, nullptr, "OK", nullptr, 0, 0);
    recordHighScore(score);
    drawMenu();
    drawDifficultyButtons();
    screenState = STATE_MENU;
    stopMusic();
}
