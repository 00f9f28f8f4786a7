// newscore.cpp -- a result that beats the lowest entry: ask for a name, put
// the entry in the table and rewrite the high-score file at once, keeping
// the old file's two header lines.
#include "scores/newscore.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/shutdown.h"
#include "scores/cipher.h"
#include "scores/table.h"
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

// Empty at start and never cleared, so the dialog offers the last name typed.
char playerName[PLAYER_NAME_BYTES];

static const char CANNOT_OPEN[] = "Fatal Error!  Cannot open High Scores file";

// Shows a fatal message and ends the program.
[[noreturn]] static void fatalError(const char *text)
{
    showErrorBox(text, "Error");
    exitNow();
}

// The first slot holding the smallest score: later equal ones don't replace it.
static int lowestSlot()
{
    int slot = 0;
    long long lowest = LLONG_MAX;
    for (int i = 0; i < TABLE_SLOTS; i++) {
        int score = entryScore(highScoreTable[i]);
        if (score < lowest) {
            lowest = score;
            slot = i;
        }
    }
    return slot;
}

// "name.score" with only the letters and digits of the typed name: any other
// byte would split the entry or lend it a false score when the file is read
// back. The name is cut so that the score always fits in the slot.
static void buildEntry(int finalScore, char *entry)
{
    char digits[16];
    int digitCount = snprintf(digits, sizeof digits, "%d", finalScore);
    int room = ENTRY_BYTES - 1 - 1 - digitCount;
    int n = 0;
    for (int i = 0; i < PLAYER_NAME_BYTES && playerName[i] && n < room; i++) {
        if (isNameByte((unsigned char)playerName[i]))
            entry[n++] = playerName[i];
    }
    snprintf(entry + n, ENTRY_BYTES - n, ".%s", digits);
}

// Called once at the end of every round with its final score.
void recordHighScore(int finalScore)
{
    int slot = lowestSlot();
    if (finalScore <= entryScore(highScoreTable[slot]))
        return;
    askPlayerName();
    playerName[PLAYER_NAME_BYTES - 1] = '\0';
    char entry[ENTRY_BYTES];
    buildEntry(finalScore, entry);
    fitDotLeader(entry);
    memcpy(highScoreTable[slot], entry, ENTRY_BYTES);
    sortHighScores();
    saveHighScores();
}

// Takes the bytes up to the next CR or LF as one header line.
static std::string takeLine(const unsigned char *text, size_t end, size_t *pos)
{
    size_t start = *pos, p = start;
    // An empty old file has no text at all (and no buffer to point into).
    if (start >= end)
        return std::string();
    while (p < end && text[p] != '\r' && text[p] != '\n')
        p++;
    *pos = p;
    return std::string((const char *)text + start, p - start);
}

// The new file's text: the old header lines (an empty line between them
// is passed over with the line ends), then the fifteen entries, all CR LF.
static std::string newFileText(const std::vector<unsigned char> &plain)
{
    size_t end = scoreTextEnd(plain.data(), plain.size());
    size_t p = 1;
    std::string first = takeLine(plain.data(), end, &p);
    while (p < end && (plain[p] == '\r' || plain[p] == '\n'))
        p++;
    std::string second = takeLine(plain.data(), end, &p);
    std::string text = first + "\r\n" + second + "\r\n";
    for (int i = 0; i < TABLE_SLOTS; i++) {
        text += highScoreTable[i];
        text += "\r\n";
    }
    return text;
}

// The old file is only replaced once the new one is safely on disk.
void saveHighScores()
{
    std::vector<unsigned char> plain;
    std::string text;
    try {
        if (readScoreFile(HIGH_SCORE_FILE, plain) != FileRead::OK)
            fatalError(CANNOT_OPEN);
        text = newFileText(plain);
    } catch (const std::bad_alloc &) {
        fatalError("Fatal Error!  Out of Memory!");
    }
    size_t size;
    unsigned char *stored = encodeScoreText(text.data(), text.size(), &size);
    if (!stored)
        return;
    bool saved = replaceFileContents(HIGH_SCORE_FILE, stored, size);
    delete[] stored;
    if (!saved)
        fatalError(CANNOT_OPEN);
}
