// fuzz_scorefile.cpp -- any bytes as highscores.dat: load, order, record a
// score without the dialog (which saves), and load again. The table never
// holds an unterminated slot, the saved file always decodes to two header
// lines and fifteen entry lines, and reloading it gives the table back.
#include "fuzz/fuzz_support.h"
#include "game/catalogue.h"
#include "scores/cipher.h"
#include "scores/newscore.h"
#include "scores/table.h"
#include "support/seams.h"
#include <allegro.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Every slot ends inside its 1024 bytes, so it holds at most 1023 characters.
static void checkSlots()
{
    for (int i = 0; i < TABLE_SLOTS; i++)
        if (!memchr(highScoreTable[i], 0, ENTRY_BYTES))
            abort();
}

// Loads the file the way start-up does (no fatal box: the file is there).
static std::vector<unsigned char> loadTable()
{
    std::vector<unsigned char> plain;
    if (readScoreFile(HIGH_SCORE_FILE, plain) != FileRead::OK)
        abort();
    fillHighScoreTable(plain.data(), plain.size());
    checkSlots();
    sortHighScores();
    return plain;
}

// An entry's text with its dots taken out.
static std::string withoutDots(const char *entry)
{
    std::string text;
    for (; *entry; entry++)
        if (*entry != '.')
            text += *entry;
    return text;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startFuzzTarget();
    if (!writeBytes(HIGH_SCORE_FILE, data, size))
        abort();
    loadTable();

    testPlayerName = "Fuzzy";
    resetSeams();
    int finalScore = size ? 1 + data[0] * 7919 : 1;
    recordHighScore(finalScore);
    checkSlots();
    // A score that doesn't beat the lowest entry leaves the file as it was.
    if (nameDialogShown == 0)
        return 0;
    HighScoreEntry saved[TABLE_SLOTS];
    memcpy(saved, highScoreTable, sizeof saved);

    // The save is a well-formed stored form: size 8n + 1, a tail count of 1..8,
    // two header lines and fifteen entries each ended by CR LF.
    std::vector<unsigned char> plain = loadTable();
    if (plain.size() % 8 != 1 || plain[0] < 1 || plain[0] > 8)
        abort();
    size_t end = scoreTextEnd(plain.data(), plain.size()), lineEnds = 0;
    for (size_t p = 1; p < end; p++)
        lineEnds += plain[p] == '\n';
    if (end != plain.size() - plain[0] || lineEnds != 2 + TABLE_SLOTS) {
        fprintf(stderr, "saved text: %zu bytes to %zu of %zu, %zu line ends\n", end - 1, end,
                plain.size(), lineEnds);
        abort();
    }

    // What was in memory comes back, empty slots aside, in the same order.
    // An entry as wide as the list or wider loses one dot at every load (the
    // fitting takes one back from it), so only its other characters must match.
    int j = 0;
    for (int i = 0; i < TABLE_SLOTS; i++) {
        if (!saved[i][0])
            continue;
        bool wide = text_length(hudFont, saved[i]) >= SCORE_LIST_RIGHT - SCORE_LIST_LEFT;
        if (wide ? withoutDots(saved[i]) != withoutDots(highScoreTable[j])
                 : strcmp(saved[i], highScoreTable[j]) != 0) {
            fprintf(stderr, "slot %d was \"%s\", came back as slot %d \"%s\"\n", i, saved[i], j,
                    highScoreTable[j]);
            abort();
        }
        j++;
    }
    return 0;
}
