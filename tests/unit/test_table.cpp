// The high-score table: reading an entry's score, the dot leader, the
// ordering, and loading files both sound and damaged.
#include "game/catalogue.h"
#include "scores/cipher.h"
#include "scores/table.h"
#include "support/headless.h"
#include <gtest/gtest.h>
#include <allegro.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int FIT_WIDTH = SCORE_LIST_RIGHT - SCORE_LIST_LEFT;

// Measures with a chosen font for one test and puts hudFont back after.
struct FontInUse {
    FONT *saved;
    explicit FontInUse(FONT *f) : saved(hudFont) { hudFont = f; }
    ~FontInUse() { hudFont = saved; }
};

// Fits a text the way the load and the new entry do.
std::string fitted(const std::string &text)
{
    char entry[ENTRY_BYTES] = {};
    strncpy(entry, text.c_str(), ENTRY_BYTES - 1);
    fitDotLeader(entry);
    return entry;
}

// A name made of repeats of one letter that alone is at least 408 pixels wide.
std::string wideName()
{
    std::string name = "W";
    while (text_length(hudFont, name.c_str()) < FIT_WIDTH)
        name += "W";
    return name;
}

// The checks every fitted entry of a narrow text must pass.
void expectFitted(const std::string &entry)
{
    EXPECT_LT(text_length(hudFont, entry.c_str()), FIT_WIDTH) << entry;
    std::string wider = entry;
    size_t dot = wider.find('.');
    wider.insert(dot == std::string::npos ? wider.size() : dot, ".");
    EXPECT_GE(text_length(hudFont, wider.c_str()), FIT_WIDTH) << entry;
    EXPECT_EQ(fitted(entry), entry) << "fitting again changes nothing";
}

TEST(EntryScore, ReadsTheDigitsAfterTheFirstDot)
{
    struct Case { const char *entry; int score; };
    const Case cases[] = {
        {"Marisol.........48250", 48250},
        {"R2D2.500", 500},                  // digits in the name don't count
        {"K.9.500", 9},                     // the first dot decides
        {"Bo.x7", 7},                       // non-digits after the dot are skipped
        {".42", 42},
        {"500.......", 500},                // no digit after the dot: first run anywhere
        {"Name", 0},
        {"", 0},
        {"A.99999999999999999999", INT_MAX}, // saturates instead of overflowing
        {"A.2147483647", INT_MAX},
        {"A.0", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(entryScore(c.entry), c.score) << c.entry;
}

TEST(SortHighScores, DescendingAndEqualScoresKeepTheirOrder)
{
    const char *before[TABLE_SLOTS] = {"a.5", "b.9", "c.5", "d.", "e.9", "f.1", "g.5", "h.0",
                                       "i.12", "j.5", "k.9", "l.3", "m.3", "", "n.100"};
    const char *after[TABLE_SLOTS] = {"n.100", "i.12", "b.9", "e.9", "k.9", "a.5", "c.5", "g.5",
                                      "j.5", "l.3", "m.3", "f.1", "d.", "h.0", ""};
    for (int i = 0; i < TABLE_SLOTS; i++)
        strcpy(highScoreTable[i], before[i]);
    sortHighScores();
    for (int i = 0; i < TABLE_SLOTS; i++)
        EXPECT_STREQ(highScoreTable[i], after[i]) << "slot " << i;
}

// The leader rules hold in any font; this runs with the library's font and,
// once the datafile is there, with the HUD font the list is drawn in.
void checkDotLeaderRules()
{
    expectFitted(fitted("Bob.500"));
    expectFitted(fitted("R2D2.1234567"));
    EXPECT_EQ(fitted("Bob.500").find("Bob."), 0u);
    std::string noDot = fitted("Bob");
    EXPECT_EQ(noDot.substr(0, 4), "Bob.") << "dots go at the end of an entry without one";
    expectFitted(noDot);
    // Too wide already: its only dot stays, so the score stays apart.
    std::string wide = wideName() + ".500";
    EXPECT_EQ(fitted(wide), wide);
    EXPECT_EQ(entryScore(fitted(wide).c_str()), 500);
    // Too wide with a leader: one dot goes.
    EXPECT_EQ(fitted(wideName() + "...500"), wideName() + "..500");
}

TEST(FitDotLeader, RulesWithTheLibraryFont)
{
    startHeadlessAllegro();
    FontInUse use(font);
    checkDotLeaderRules();
}

TEST(FitDotLeader, RulesWithTheHudFont)
{
    if (!loadGameDatafile())
        GTEST_SKIP() << "tumblegrid.dat could not be loaded";
    checkDotLeaderRules();
}

TEST(FitDotLeader, NoFontLeavesTheEntryAsStored)
{
    FontInUse use(nullptr);
    EXPECT_EQ(fitted("Bob.500"), "Bob.500");
}

TEST(FitDotLeader, StaysInsideTheSlot)
{
    startHeadlessAllegro();
    FontInUse use(font);
    std::string narrow(1023, '.');
    narrow[0] = 'A';
    std::string result = fitted(narrow.substr(0, 1022));
    EXPECT_LE(result.size(), 1023u);
}

// Each load test runs in its own empty folder, where highscores.dat is written.
class LoadHighScores : public ::testing::Test {
protected:
    TempFolder folder;
    void SetUp() override
    {
        loadGameDatafile();
        ASSERT_TRUE(folder.enter("tg-table"));
        memset(highScoreTable, 0, sizeof highScoreTable);
    }
    void TearDown() override { folder.leave(); }
    // Writes raw bytes as the high-score file.
    void writeBytes(const std::string &bytes)
    {
        FILE *f = fopen(HIGH_SCORE_FILE, "wb");
        ASSERT_TRUE(f);
        ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        fclose(f);
    }
    // Writes a text in its stored form as the high-score file.
    void writeText(const std::string &text)
    {
        size_t size;
        unsigned char *stored = encodeScoreText(text.data(), text.size(), &size);
        ASSERT_TRUE(stored);
        writeBytes(std::string((const char *)stored, size));
        delete[] stored;
    }
};

TEST_F(LoadHighScores, ReadsAnEncodedFileInOrder)
{
    std::string text = "Header one\r\nHeader two\r\n";
    for (int i = 0; i < TABLE_SLOTS; i++)
        text += "Player" + std::to_string(i) + "." + std::to_string(1000 - i) + "\r\n";
    writeText(text);
    loadHighScores();
    for (int i = 0; i < TABLE_SLOTS; i++) {
        EXPECT_EQ(highScoreTable[i], fitted("Player" + std::to_string(i) + "." + std::to_string(1000 - i)));
        EXPECT_EQ(entryScore(highScoreTable[i]), 1000 - i);
    }
}

// What the load makes of names the game no longer writes (see the new-entry tests).
TEST_F(LoadHighScores, SplitsAtOddBytesAndDropsLeadingDots)
{
    writeText("h1\r\nh2\r\n...Jo Ann.300\r\nZo\xc3\xab.200\r\n");
    loadHighScores();
    EXPECT_EQ(highScoreTable[0], fitted("Jo"));
    EXPECT_EQ(highScoreTable[1], fitted("Ann.300"));
    EXPECT_EQ(highScoreTable[2], fitted("Zo"));
    EXPECT_EQ(highScoreTable[3], fitted("200"));
    EXPECT_STREQ(highScoreTable[4], "");
}

TEST_F(LoadHighScores, DamagedFilesLoadWithinBounds)
{
    std::string many = "h1\r\nh2\r\n";
    for (int i = 0; i < 40; i++)
        many += "P" + std::to_string(i) + ".7\r\n";
    std::string longEntry = "h1\r\nh2\r\n" + std::string(5000, 'A') + ".77\r\nNext.5\r\n";
    struct Case { std::string text; int found; };
    const Case cases[] = {
        {"", 0},
        {"one line only\r\nBob.5\r\n", 0},     // fewer than two line ends
        {many, 40},
        {longEntry, 2},
        {"h1\r\nh2\r\nA." + std::string(60, '9') + "\r\n", 1},
    };
    for (const Case &c : cases) {
        writeText(c.text);
        loadHighScores();
        std::vector<unsigned char> plain;
        ASSERT_EQ(readScoreFile(HIGH_SCORE_FILE, plain), FileRead::OK);
        EXPECT_EQ(fillHighScoreTable(plain.data(), plain.size()), c.found);
        for (int i = 0; i < TABLE_SLOTS; i++)
            EXPECT_LT(strlen(highScoreTable[i]), (size_t)ENTRY_BYTES);
    }
    writeText(longEntry);
    loadHighScores();
    EXPECT_EQ(std::string(highScoreTable[0]), std::string(1023, 'A'));
    EXPECT_STREQ(highScoreTable[1], fitted("Next.5").c_str());
    writeText(many);
    loadHighScores();
    EXPECT_STREQ(highScoreTable[14], fitted("P14.7").c_str());
}

TEST_F(LoadHighScores, RandomBytesNeverCrash)
{
    std::mt19937 random(1234);
    EXPECT_EQ(fillHighScoreTable(nullptr, 0), 0);
    const std::string fixed[] = {"", "\x01", "garbage!!"};
    for (const std::string &bytes : fixed) {
        writeBytes(bytes);
        loadHighScores();
    }
    for (int round = 0; round < 300; round++) {
        std::string bytes(random() % 700, '\0');
        for (char &c : bytes)
            c = (char)(random() & 0xFF);
        writeBytes(bytes);
        loadHighScores();
        for (int i = 0; i < TABLE_SLOTS; i++)
            EXPECT_LT(strlen(highScoreTable[i]), (size_t)ENTRY_BYTES);
        sortHighScores();
    }
}

TEST(LoadHighScoresDeath, MissingFileIsFatal)
{
    TempFolder folder;
    ASSERT_TRUE(folder.enter("tg-table"));
    EXPECT_EXIT({ loadHighScores(); _exit(0); }, testing::ExitedWithCode(1),
                "Error: Fatal Error!  Cannot Open File!");
    folder.leave();
}

// Ends a load that waits instead of refusing: the test fails rather than hangs.
void stopAWaitingLoad()
{
#ifndef _WIN32
    alarm(10);
#endif
}

// A pipe, a folder or a file larger than any table in the file's place is
// refused at once as a file that can't be opened: the old load froze on the
// pipe, and the alarm ends a load that waits. (Windows keeps its pipes out
// of folders.)
TEST(LoadHighScoresDeath, UnusableFilesAreFatalAtOnce)
{
    TempFolder folder;
    ASSERT_TRUE(folder.enter("tg-table"));
    std::vector<std::string> kinds = {"folder", "oversized file"};
#ifndef _WIN32
    kinds.insert(kinds.begin(), "pipe");
    ASSERT_EQ(mkfifo(HIGH_SCORE_FILE, 0600), 0);
#endif
    for (const std::string &kind : kinds) {
        if (kind == "folder") {
            ASSERT_TRUE(std::filesystem::create_directory(HIGH_SCORE_FILE));
        } else if (kind == "oversized file") {
            FILE *f = fopen(HIGH_SCORE_FILE, "wb");
            ASSERT_TRUE(f);
            fclose(f);
            std::filesystem::resize_file(HIGH_SCORE_FILE, SCORE_FILE_CAP + 1);
        }
        EXPECT_EXIT({
            stopAWaitingLoad();
            loadHighScores();
            _exit(0);
        }, testing::ExitedWithCode(1), "Error: Fatal Error!  Cannot Open File!") << kind;
        ASSERT_TRUE(std::filesystem::remove(HIGH_SCORE_FILE));
    }
    folder.leave();
}

} // namespace
