// seams.h -- a stand-in for the routine that only the game binary links:
// the name-entry dialog.
#pragma once
#include <string>

// The name the stand-in dialog "types", and how often it was shown.
extern std::string testPlayerName;
extern int nameDialogShown;

// Zeroes the counters above.
void resetSeams();
