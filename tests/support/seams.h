// seams.h -- stand-ins for the two routines that only the game binary links:
// the end of a round (a message box) and the name-entry dialog.
#pragma once
#include <string>

// How often endRound ran since the last reset, and the message it was given last.
extern int endRoundCalls;
extern std::string lastEndRoundMessage;

// The name the stand-in dialog "types", and how often it was shown.
extern std::string testPlayerName;
extern int nameDialogShown;

// Zeroes the counters above.
void resetSeams();
