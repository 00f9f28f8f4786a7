// table.h -- the fifteen best results as ready-to-draw texts: load, order,
// the score of an entry and the dot leader that fits it to the list.
#pragma once
#include <cstddef>

const int TABLE_SLOTS = 15;
const int ENTRY_BYTES = 1024;
const int SCORE_LIST_LEFT = 310;
const int SCORE_LIST_RIGHT = 718;
const char HIGH_SCORE_FILE[] = "highscores.dat";

typedef char HighScoreEntry[ENTRY_BYTES];
extern HighScoreEntry highScoreTable[TABLE_SLOTS];

// True for the ASCII letters and digits, the only bytes a name may carry.
bool isNameByte(unsigned char c);

// The score read from an entry's text.
int entryScore(const char *entry);

// Widens an entry (in a buffer of ENTRY_BYTES) with dots to just under the list's width.
void fitDotLeader(char *entry);

// Empties the table and fills it from a deciphered plain form; returns the
// number of entries in the text, including any past the fifteenth.
int fillHighScoreTable(const unsigned char *plain, size_t size);

// Fills the table from the high-score file; a missing file is fatal.
void loadHighScores();

// Orders the table by score, highest first, keeping equal scores in their order.
void sortHighScores();
