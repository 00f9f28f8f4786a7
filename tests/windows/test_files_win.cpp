// The Windows save and another program holding the high-score file: a
// scanner or an indexer that has it open without sharing for a moment only
// delays the save, one that keeps it makes the save fail after about a
// second with the old contents whole and no temporary file left behind.
#include "platform/files.h"
#include "support/headless.h"
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

// The contents of a file as text.
std::string contents(const char *path)
{
    std::vector<unsigned char> bytes;
    return readWholeFile(path, 1024, bytes) == FileRead::OK ? std::string(bytes.begin(), bytes.end()) : "<unreadable>";
}

// Opens the file as a scanner would: reading, and sharing it with nobody.
HANDLE holdWithoutSharing(const char *path)
{
    return CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Milliseconds a save of the given text took.
long long timedSave(const char *path, const std::string &text, bool *ok)
{
    Clock::time_point start = Clock::now();
    *ok = replaceFileContents(path, reinterpret_cast<const unsigned char *>(text.data()), text.size());
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(WindowsSave, WaitsAboutASecondForAProgramHoldingTheFile)
{
    TempFolder folder;
    ASSERT_TRUE(folder.enter("tg-held"));
    const char *path = "highscores.dat";
    bool ok = false;
    timedSave(path, "old", &ok);
    ASSERT_TRUE(ok);

    // Held for longer than the save waits: it gives up.
    HANDLE held = holdWithoutSharing(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    long long waited = timedSave(path, "lost", &ok);
    CloseHandle(held);
    EXPECT_FALSE(ok);
    EXPECT_GE(waited, 900);
    EXPECT_LE(waited, 3000);
    EXPECT_EQ(contents(path), "old");

    // Held for 300 ms from another thread: the save waits and succeeds.
    held = holdWithoutSharing(path);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread scanner([held] {
        Sleep(300);
        CloseHandle(held);
    });
    waited = timedSave(path, "new", &ok);
    scanner.join();
    EXPECT_TRUE(ok);
    EXPECT_GE(waited, 250);
    EXPECT_EQ(contents(path), "new");

    int files = 0;
    for (const auto &entry : std::filesystem::directory_iterator("."))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1) << "a temporary file was left behind";
    folder.leave();
}

} // namespace
