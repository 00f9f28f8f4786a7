// table.cpp -- the high-score table: reading an entry's score, padding it
// with a dot leader so the scores line up in the list, loading the table
// from the high-score file and keeping it in order.
//
// The file is read as it comes: any bytes may be in it, so every scan here
// stays inside the deciphered text and inside the table's slots.
#include "scores/table.h"
#include "game/catalogue.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/shutdown.h"
#include "scores/cipher.h"
#include <allegro.h>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

HighScoreEntry highScoreTable[TABLE_SLOTS];

static const int FIT_WIDTH = SCORE_LIST_RIGHT - SCORE_LIST_LEFT;

// Shows a fatal message and ends the program.
[[noreturn]] static void fatalError(const char *text)
{
    showErrorBox(text, "Error");
    exitNow();
}

// ASCII only: bytes from 128 up are neither letters nor digits here.
bool isNameByte(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Helper for the score scan: ASCII digits only, whatever the locale.
static bool isDigitByte(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a run of digits, saturating rather than overflowing on absurd runs.
static int readDigitRun(const char *p)
{
    int value = 0;
    for (; isDigitByte(*p); p++) {
        int digit = *p - '0';
        if (value > (INT_MAX - digit) / 10)
            value = INT_MAX;
        else
            value = value * 10 + digit;
    }
    return value;
}

// The score is the first digit run after the first dot; an entry without
// one (an empty name reloaded comes back as "500.......") falls back to its
// first digit run anywhere, so it keeps the score it was saved with.
int entryScore(const char *entry)
{
    const char *p = strchr(entry, '.');
    if (!p)
        p = entry + strlen(entry);
    while (*p && !isDigitByte(*p))
        p++;
    if (!*p) {
        p = entry;
        while (*p && !isDigitByte(*p))
            p++;
    }
    return readDigitRun(p);
}

// Counts the dots, to know whether one can go without gluing name to score.
static int countDots(const char *entry)
{
    int dots = 0;
    for (; *entry; entry++)
        dots += *entry == '.';
    return dots;
}

// Grows the leader one dot at a time until the entry reaches the list's
// width, then takes the last dot back so it stays just inside. With no font
// bound (the command-line tool without the datafile) entries stay as stored.
void fitDotLeader(char *entry)
{
    if (!hudFont)
        return;
    size_t length = strlen(entry);
    while (text_length(hudFont, entry) < FIT_WIDTH) {
        if (length >= ENTRY_BYTES - 1)
            return;
        char *dot = strchr(entry, '.');
        if (!dot)
            dot = entry + length;
        memmove(dot + 1, dot, length - (dot - entry) + 1);
        *dot = '.';
        length++;
    }
    // A lone dot is all that parts the name from the score: keep it.
    char *dot = strchr(entry, '.');
    if (dot && countDots(entry) >= 2)
        memmove(dot, dot + 1, length - (dot - entry));
}

// Takes one entry that starts at *pos: letters, digits and dots, cut to
// what a slot holds; the rest of an overlong run is passed over with it.
static void takeEntry(const unsigned char *text, size_t end, size_t *pos, char *entry)
{
    size_t p = *pos, n = 0;
    while (p < end && (isNameByte(text[p]) || text[p] == '.')) {
        if (n < ENTRY_BYTES - 1)
            entry[n++] = (char)text[p];
        p++;
    }
    entry[n] = '\0';
    *pos = p;
}

// Skips the two header lines, then takes every run of letters, digits and
// dots that starts with a letter or digit as one entry.
int fillHighScoreTable(const unsigned char *plain, size_t size)
{
    memset(highScoreTable, 0, sizeof highScoreTable);
    size_t end = scoreTextEnd(plain, size);
    size_t p = 0;
    int lineEnds = 0;
    while (p < end && lineEnds < 2)
        lineEnds += plain[p++] == '\n';
    // Entries past the fifteenth are counted, for the tool's report, but dropped.
    int found = 0;
    char extra[ENTRY_BYTES];
    while (p < end) {
        if (!isNameByte(plain[p])) {
            p++;
            continue;
        }
        if (found < TABLE_SLOTS) {
            takeEntry(plain, end, &p, highScoreTable[found]);
            fitDotLeader(highScoreTable[found]);
        } else {
            takeEntry(plain, end, &p, extra);
        }
        found++;
    }
    return found;
}

// Start-up's read of the table; the game never makes a table from nothing.
void loadHighScores()
{
    std::vector<unsigned char> plain;
    removeStaleTemps(HIGH_SCORE_FILE);
    try {
        // A folder, a pipe or an oversized file in its place is as unusable as none.
        if (readScoreFile(HIGH_SCORE_FILE, plain) != FileRead::OK)
            fatalError("Fatal Error!  Cannot Open File!");
    } catch (const std::bad_alloc &) {
        fatalError("Fatal Error!  Not Enough Memory!");
    }
    fillHighScoreTable(plain.data(), plain.size());
}

// A bubble sort: it only exchanges on a strictly lower score, which keeps
// equal scores in the order they were entered.
void sortHighScores()
{
    HighScoreEntry held;
    for (int k = TABLE_SLOTS - 1; k >= 1; k--) {
        for (int j = 0; j < k; j++) {
            if (entryScore(highScoreTable[j]) < entryScore(highScoreTable[j + 1])) {
                memcpy(held, highScoreTable[j], ENTRY_BYTES);
                memcpy(highScoreTable[j], highScoreTable[j + 1], ENTRY_BYTES);
                memcpy(highScoreTable[j + 1], held, ENTRY_BYTES);
            }
        }
    }
}
