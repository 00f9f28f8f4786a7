// table.h -- the fifteen best results as ready-to-draw texts: load, order,
// the score of an entry and the dot leader that fits it to the list.
#pragma once

const int TABLE_SLOTS = 15;
const int ENTRY_BYTES = 1024;
const char HIGH_SCORE_FILE[] = "highscores.dat";

typedef char HighScoreEntry[ENTRY_BYTES];
extern HighScoreEntry highScoreTable[TABLE_SLOTS];

// The score read from an entry's text.
int entryScore(const char *entry);

// Widens an entry (in a buffer of ENTRY_BYTES) with dots to just under the list's width.
void fitDotLeader(char *entry);

// Fills the table from the high-score file; a missing file is fatal.
void loadHighScores();

// Orders the table by score, highest first, keeping equal scores in their order.
void sortHighScores();
