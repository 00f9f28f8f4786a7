// newscore.h -- a new result entering the table: the name, the entry and the save.
#pragma once

// The edit field takes 1024 characters of up to four UTF-8 bytes each.
const int PLAYER_NAME_BYTES = 1024 * 4 + 1;
extern char playerName[PLAYER_NAME_BYTES];

// Enters finalScore into the table if it beats the lowest entry, asking for a name.
void recordHighScore(int finalScore);

// Rewrites the high-score file from the table, keeping the old file's header lines.
void saveHighScores();

// Shows the name-entry dialog and leaves the typed name in playerName.
void askPlayerName();
