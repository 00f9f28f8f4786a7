// test_settings.cpp -- settings.cfg: damaged bytes give the defaults at once,
// and a change is saved whole even into a hand-edited file.
#include "app/mainloop.h"
#include "app/settings.h"
#include "game/well.h"
#include "platform/present.h"
#include "support/headless.h"
#include <allegro.h>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

// Writes a settings file in the current folder.
static void writeSettings(const std::string &text)
{
    std::ofstream(SETTINGS_FILE, std::ios::binary) << text;
}

// Puts the defaults back.
static void defaults()
{
    difficulty = EASY;
    musicOn = soundEffectsOn = fullScreen = 1;
    sharpScaling = 0;
}

TEST(Settings, DamagedBytesGiveTheDefaults)
{
    startHeadlessAllegro();
    TempFolder folder;
    ASSERT_TRUE(folder.enter("tg-settings"));
    defaults();
    // Decoded as UTF-8 this is a code point above 2^30, on which the
    // library's reader never ends; a comment around it changes nothing.
    writeSettings("[tumblegrid]\ndifficulty = 3\n# \xfd\x8d\x96\x9b\xa2\xa3\nfullscreen = 0\n");
    loadSettings();
    EXPECT_EQ(difficulty, EASY);
    EXPECT_EQ(fullScreen, 1);
    folder.leave();
}

TEST(Settings, ChangesAreSavedIntoAHandEditedFile)
{
    startHeadlessAllegro();
    TempFolder folder;
    ASSERT_TRUE(folder.enter("tg-settings"));
    defaults();
    writeSettings("; mine\r\n[tumblegrid]\r\ndifficulty = 2\r\nscaling = sharp\r\n[elsewhere]\r\nx = 1\r\n");
    loadSettings();
    EXPECT_EQ(difficulty, MEDIUM);
    EXPECT_EQ(sharpScaling, 1);
    difficulty = BLITZ;
    musicOn = 0;
    saveSettingsWhenChanged();
    defaults();
    loadSettings();
    EXPECT_EQ(difficulty, BLITZ);
    EXPECT_EQ(musicOn, 0);
    EXPECT_EQ(sharpScaling, 1);
    folder.leave();
    defaults();
}
