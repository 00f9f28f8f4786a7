// seams.cpp -- test versions of endRound and askPlayerName: they record the
// call instead of showing a modal box, so the rules run without a screen.
#include "support/seams.h"
#include "app/mainloop.h"
#include "game/fall.h"
#include "scores/newscore.h"
#include <cstring>

int endRoundCalls = 0;
std::string lastEndRoundMessage;
std::string testPlayerName = "Tester";
int nameDialogShown = 0;

void resetSeams()
{
    endRoundCalls = 0;
    lastEndRoundMessage.clear();
    nameDialogShown = 0;
}

// Records the end of a round the way the game would leave the state.
void endRound(const char *message)
{
    endRoundCalls++;
    lastEndRoundMessage = message;
    screenState = STATE_MENU;
}

// "Types" testPlayerName into the dialog's field.
void askPlayerName()
{
    nameDialogShown++;
    std::strcpy(playerName, testPlayerName.c_str());
}
