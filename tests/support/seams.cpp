// seams.cpp -- a test version of askPlayerName: it records the call instead
// of showing a modal box, so the rules run without a screen.
#include "support/seams.h"
#include "scores/newscore.h"
#include <cstring>

std::string testPlayerName = "Tester";
int nameDialogShown = 0;

void resetSeams()
{
    nameDialogShown = 0;
}

// "Types" testPlayerName into the dialog's field.
void askPlayerName()
{
    nameDialogShown++;
    std::strcpy(playerName, testPlayerName.c_str());
}
