// fuzz_entry.cpp -- the entry builder with any name and any score: build,
// fit, save and load again. Whatever bytes the name holds, a score that
// beats the table's lowest comes back from the file as the same score, and
// the table keeps fifteen terminated slots.
#include "fuzz/fuzz_support.h"
#include "scores/newscore.h"
#include "scores/cipher.h"
#include "scores/table.h"
#include "support/seams.h"
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startFuzzTarget();
    if (size < 4)
        return 0;
    int finalScore;
    memcpy(&finalScore, data, sizeof finalScore);
    std::string name((const char *)data + 4, size - 4);
    name = name.substr(0, name.find('\0')).substr(0, PLAYER_NAME_BYTES - 1);

    // A table of fifteen low scores, 10 to 150, fitted as a load would.
    std::vector<std::string> entries;
    for (int i = 0; i < TABLE_SLOTS; i++)
        entries.push_back("Player" + std::to_string(i) + "." + std::to_string(150 - 10 * i));
    writeScoreFile(entries);
    std::vector<unsigned char> plain;
    if (readScoreFile(HIGH_SCORE_FILE, plain) != FileRead::OK)
        abort();
    fillHighScoreTable(plain.data(), plain.size());
    sortHighScores();

    testPlayerName = name;
    recordHighScore(finalScore);

    if (readScoreFile(HIGH_SCORE_FILE, plain) != FileRead::OK)
        abort();
    fillHighScoreTable(plain.data(), plain.size());
    sortHighScores();
    bool found = false;
    for (int i = 0; i < TABLE_SLOTS; i++) {
        if (!memchr(highScoreTable[i], 0, ENTRY_BYTES))
            abort();
        found = found || entryScore(highScoreTable[i]) == finalScore;
    }
    if (finalScore > 10 && !found)
        abort();
    if (finalScore <= 10 && found && finalScore % 10 != 0)
        abort();
    return 0;
}
