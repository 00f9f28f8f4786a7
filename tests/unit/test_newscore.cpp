// A new result entering the table: who gets replaced, what the saved file
// holds, names the file can't carry, and saves that fail.
#include "game/catalogue.h"
#include "scores/cipher.h"
#include "scores/newscore.h"
#include "scores/table.h"
#include "support/headless.h"
#include "support/seams.h"
#include <gtest/gtest.h>
#include <allegro.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <chrono>
#include <dirent.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

const char HEADERS[] = "TumbleGrid high scores\r\nDo not edit\r\n";

// Each test runs in its own empty folder, with the HUD font bound when the
// datafile is there and the library's font otherwise, so entries are fitted.
class RecordHighScore : public ::testing::Test {
protected:
    TempFolder folder;
    FONT *savedFont = nullptr;
    void SetUp() override
    {
        loadGameDatafile();
        savedFont = hudFont;
        if (!hudFont)
            hudFont = font;
        ASSERT_TRUE(folder.enter("tg-newscore"));
        memset(highScoreTable, 0, sizeof highScoreTable);
        resetSeams();
        testPlayerName = "Tester";
    }
    void TearDown() override
    {
        hudFont = savedFont;
        folder.leave();
    }
    // Writes a file of the given text and loads it the way start-up does.
    void startWith(const std::string &text)
    {
        size_t size;
        unsigned char *stored = encodeScoreText(text.data(), text.size(), &size);
        ASSERT_TRUE(stored);
        ASSERT_TRUE(replaceFileContents(HIGH_SCORE_FILE, stored, size));
        delete[] stored;
        loadHighScores();
        sortHighScores();
    }
    // Fifteen entries scoring 1500, 1400, ... 100 under the usual headers.
    void startWithLadder()
    {
        std::string text = HEADERS;
        for (int i = 0; i < TABLE_SLOTS; i++)
            text += "P" + std::to_string(i) + "." + std::to_string(1500 - 100 * i) + "\r\n";
        startWith(text);
    }
    // The plain text of the file on disk.
    std::string fileText()
    {
        std::vector<unsigned char> plain;
        if (readScoreFile(HIGH_SCORE_FILE, plain) != FileRead::OK)
            return "<missing>";
        size_t end = scoreTextEnd(plain.data(), plain.size());
        return end ? std::string((const char *)plain.data() + 1, end - 1) : "";
    }
    // The raw bytes of the file on disk.
    std::string fileBytes()
    {
        std::string bytes;
        FILE *f = fopen(HIGH_SCORE_FILE, "rb");
        if (!f)
            return "<missing>";
        int c;
        while ((c = fgetc(f)) != EOF)
            bytes += (char)c;
        fclose(f);
        return bytes;
    }
    // The names in the test's folder.
    std::vector<std::string> folderFiles()
    {
        std::vector<std::string> names;
        DIR *dir = opendir(".");
        while (dirent *e = readdir(dir))
            if (strcmp(e->d_name, ".") && strcmp(e->d_name, ".."))
                names.push_back(e->d_name);
        closedir(dir);
        return names;
    }
    // The table as it stands, one string per slot.
    std::vector<std::string> table()
    {
        return std::vector<std::string>(highScoreTable, highScoreTable + TABLE_SLOTS);
    }
};

// Fits an entry text the way the table does.
std::string fitted(const std::string &text)
{
    char entry[ENTRY_BYTES] = {};
    strncpy(entry, text.c_str(), ENTRY_BYTES - 1);
    fitDotLeader(entry);
    return entry;
}

TEST_F(RecordHighScore, ScoresThatDontBeatTheLowestChangeNothing)
{
    for (int score : {0, -40}) {
        recordHighScore(score);    // an empty table scores 0 everywhere, and no file exists
        EXPECT_EQ(nameDialogShown, 0);
    }
    startWithLadder();
    std::vector<std::string> entries = table();
    ASSERT_EQ(unlink(HIGH_SCORE_FILE), 0);    // a save would now end the test with a fatal error
    for (int score : {100, 50, 0, -40})
        recordHighScore(score);
    EXPECT_EQ(nameDialogShown, 0);
    EXPECT_EQ(table(), entries);
    EXPECT_TRUE(folderFiles().empty());
}

TEST_F(RecordHighScore, ReplacesTheFirstLowestAndKeepsTheOrder)
{
    std::string text = HEADERS;
    for (int i = 0; i < 12; i++)
        text += "P" + std::to_string(i) + "." + std::to_string(1500 - 100 * i) + "\r\n";
    text += "Low12.100\r\nLow13.100\r\nLow14.100\r\n";
    startWith(text);
    testPlayerName = "Newcomer";
    recordHighScore(150);
    EXPECT_EQ(nameDialogShown, 1);
    EXPECT_EQ(highScoreTable[11], fitted("P11.400"));
    EXPECT_EQ(highScoreTable[12], fitted("Newcomer.150"));
    EXPECT_EQ(highScoreTable[13], fitted("Low13.100"));
    EXPECT_EQ(highScoreTable[14], fitted("Low14.100"));

    testPlayerName = "Tie";
    recordHighScore(400);    // equal to P11: listed below it
    EXPECT_EQ(highScoreTable[11], fitted("P11.400"));
    EXPECT_EQ(highScoreTable[12], fitted("Tie.400"));

    testPlayerName = "Champion";
    recordHighScore(99999);
    EXPECT_EQ(highScoreTable[0], fitted("Champion.99999"));
    EXPECT_EQ(highScoreTable[14], fitted("Newcomer.150"));
    EXPECT_EQ(fileText().find("Low14"), std::string::npos);
    EXPECT_EQ(nameDialogShown, 3);

    std::string expected = HEADERS;
    for (const std::string &entry : table())
        expected += entry + "\r\n";
    EXPECT_EQ(fileText(), expected);
}

TEST_F(RecordHighScore, HeaderLinesComeBackByteForByte)
{
    struct Case { std::string oldHeaders, newHeaders; };
    const Case cases[] = {
        {"  Odd\tbytes \x01\xff~\r\nsecond line \x7f\r\n", "  Odd\tbytes \x01\xff~\r\nsecond line \x7f\r\n"},
        {"Only LF\nafter\n", "Only LF\r\nafter\r\n"},
        {"First\r\n\r\nThird\r\n", "First\r\nThird\r\n"},    // an empty second line isn't kept
    };
    for (const Case &c : cases) {
        std::string text = c.oldHeaders;
        for (int i = 0; i < TABLE_SLOTS; i++)
            text += "P" + std::to_string(i) + "." + std::to_string(1500 - 100 * i) + "\r\n";
        startWith(text);
        recordHighScore(5000);
        EXPECT_EQ(fileText().substr(0, c.newHeaders.size()), c.newHeaders);
    }
}

TEST_F(RecordHighScore, SavedFileIsReproducibleAndReloadsAsTheTable)
{
    startWithLadder();
    recordHighScore(777);
    std::string first = fileBytes();
    EXPECT_EQ(first.size() % 8, 1u);
    std::vector<std::string> entries = table();
    saveHighScores();
    EXPECT_EQ(fileBytes(), first);
    loadHighScores();
    sortHighScores();
    EXPECT_EQ(table(), entries);
    EXPECT_EQ(folderFiles(), std::vector<std::string>{HIGH_SCORE_FILE});
}

// Names the file could not carry are cleaned when the entry is built, and
// every entry keeps its score through a save and a reload.
TEST_F(RecordHighScore, NamesComeBackWithTheirScore)
{
    std::string wide = "W";
    while (text_length(hudFont, wide.c_str()) < SCORE_LIST_RIGHT - SCORE_LIST_LEFT)
        wide += "W";
    struct Case { std::string typed, stored; };
    const Case cases[] = {
        {"Jo Ann", "JoAnn"},
        {"K.9", "K9"},
        {"Zo\xc3\xab", "Zo"},
        {"<R2-D2>", "R2D2"},
        {wide, wide},
        {std::string(1100, 'n'), std::string(1019, 'n')},
    };
    for (const Case &c : cases) {
        startWithLadder();
        testPlayerName = c.typed;
        recordHighScore(550);
        EXPECT_EQ(std::string(playerName), c.typed) << "the dialog's text stays as typed";
        std::vector<std::string> entries = table();
        loadHighScores();
        sortHighScores();
        EXPECT_EQ(table(), entries) << c.typed;
        std::string entry = highScoreTable[10];
        EXPECT_EQ(entry.substr(0, c.stored.size() + 1), c.stored + ".") << c.typed;
        EXPECT_EQ(entryScore(entry.c_str()), 550) << c.typed;
        EXPECT_LE(entry.size(), 1023u);
    }
}

TEST_F(RecordHighScore, EmptyNameKeepsItsScoreAndPlace)
{
    startWithLadder();
    testPlayerName = "";
    recordHighScore(550);
    EXPECT_EQ(highScoreTable[10], fitted(".550"));
    loadHighScores();
    sortHighScores();
    EXPECT_EQ(highScoreTable[10], fitted("550"));
    EXPECT_EQ(entryScore(highScoreTable[10]), 550);
    EXPECT_EQ(highScoreTable[11], fitted("P10.500"));
}

// Writes a small file, its mtime set the given number of seconds back.
void plantFile(const char *name, int age)
{
    FILE *f = fopen(name, "wb");
    ASSERT_TRUE(f);
    fputs(name, f);
    fclose(f);
    std::error_code error;
    std::filesystem::last_write_time(name, std::filesystem::file_time_type::clock::now() - std::chrono::seconds(age),
                                     error);
    ASSERT_FALSE(error) << error.message();
}

// The clean-up of killed saves once took every "highscores.dat." + six
// characters, a player's backups included. Now it takes only its own hidden
// temporary files, and only those no running save can still be writing.
TEST_F(RecordHighScore, CleanUpTakesOnlyStaleTemporaryFilesOfItsOwn)
{
    startWithLadder();
    const char *const kept[] = {"highscores.dat.backup", "highscores.dat.old001", ".highscores.dat.Fresh1.tmp"};
    const char stale[] = ".highscores.dat.Stale1.tmp";
    for (const char *name : kept)
        plantFile(name, 0);
    plantFile(stale, 120);
    loadHighScores();
    EXPECT_EQ(access(stale, F_OK), -1) << "a stale temporary file outlives the start";
    plantFile(stale, 120);
    recordHighScore(5000);
    std::vector<std::string> names = folderFiles();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".highscores.dat.Fresh1.tmp", HIGH_SCORE_FILE,
                                               "highscores.dat.backup", "highscores.dat.old001"}));
    for (const char *name : kept) {
        std::string bytes;
        FILE *f = fopen(name, "rb");
        for (int c; f && (c = fgetc(f)) != EOF;)
            bytes += (char)c;
        if (f)
            fclose(f);
        EXPECT_EQ(bytes, name);
    }
}

#ifndef _WIN32
// Records a score with files limited to a few bytes, so the save's writes fail.
void recordWithFullDisk(int score)
{
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit;
    limit.rlim_cur = limit.rlim_max = 64;
    setrlimit(RLIMIT_FSIZE, &limit);
    recordHighScore(score);
    _exit(0);
}
#endif

// True when a read-only file can't stop the player (root on POSIX systems).
bool writesReadOnlyFiles()
{
#ifdef _WIN32
    return false;
#else
    return geteuid() == 0;
#endif
}

// The save fails part way: the old file must survive untouched, with no
// temporary file left beside it, and the game ends with the save's message.
TEST_F(RecordHighScore, FailedSaveKeepsTheOldFile)
{
    startWithLadder();
    std::string before = fileBytes();
#ifndef _WIN32    // file size limits are POSIX
    EXPECT_EXIT(recordWithFullDisk(5000), testing::ExitedWithCode(1),
                "Error: Fatal Error!  Cannot open High Scores file");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(folderFiles(), std::vector<std::string>{HIGH_SCORE_FILE});
#endif

    if (!writesReadOnlyFiles()) {
        ASSERT_EQ(chmod(HIGH_SCORE_FILE, 0400), 0);
        EXPECT_EXIT({ recordHighScore(5000); _exit(0); }, testing::ExitedWithCode(1),
                    "Cannot open High Scores file");
        ASSERT_EQ(chmod(HIGH_SCORE_FILE, 0600), 0);
        EXPECT_EQ(fileBytes(), before);
    }
}

TEST_F(RecordHighScore, MissingFileAtSaveIsFatal)
{
    startWithLadder();
    ASSERT_EQ(unlink(HIGH_SCORE_FILE), 0);
    EXPECT_EXIT({ recordHighScore(5000); _exit(0); }, testing::ExitedWithCode(1),
                "Error: Fatal Error!  Cannot open High Scores file");
    EXPECT_EQ(fileBytes(), "<missing>") << "the save never creates the file";
}

} // namespace
