// newscore.h -- a new result entering the table: the name, the entry and the save.
#pragma once

extern char playerName[];

// Enters finalScore into the table if it beats the lowest entry, asking for a name.
void recordHighScore(int finalScore);

// Rewrites the high-score file from the table, keeping the old file's header lines.
void saveHighScores();

// Shows the name-entry dialog and leaves the typed name in playerName.
void askPlayerName();
