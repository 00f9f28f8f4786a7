// settings.cpp -- settings.cfg, read and written with the library's
// configuration routines. The library's own configuration is pushed aside
// while the file is open, so nothing in it can change how the library
// behaves. Only a regular file of sensible size is ever opened: a pipe or
// a device in its place would block or never end, and is left alone.
#include "app/settings.h"
#include "app/mainloop.h"
#include "game/well.h"
#include "platform/present.h"
#include <allegro.h>
#include <filesystem>
#include <system_error>

static const char SECTION[] = "tumblegrid";
static const std::uintmax_t LARGEST_SETTINGS = 64 * 1024;

// The values as the file holds them, to know when it needs writing.
static int savedDifficulty = -1, savedMusic = -1, savedEffects = -1, savedFullScreen = -1;
static int fileUsable = 1;

// 1 when settings.cfg is missing or a regular file small enough to be ours.
static int settingsFileUsable()
{
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(SETTINGS_FILE, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return 1;
    if (error || status.type() != std::filesystem::file_type::regular)
        return 0;
    std::uintmax_t size = std::filesystem::file_size(SETTINGS_FILE, error);
    return !error && size <= LARGEST_SETTINGS;
}

// Reads one switch or choice; anything outside [low, high] gives the default.
static int readSetting(const char *name, int low, int high, int fallback)
{
    int value = get_config_int(SECTION, name, fallback);
    return value >= low && value <= high ? value : fallback;
}

void loadSettings()
{
    fileUsable = settingsFileUsable();
    if (!fileUsable)
        return;
    push_config_state();
    set_config_file(SETTINGS_FILE);
    difficulty = readSetting("difficulty", EASY, BLITZ, difficulty);
    musicOn = readSetting("music", 0, 1, musicOn);
    soundEffectsOn = readSetting("effects", 0, 1, soundEffectsOn);
    fullScreen = readSetting("fullscreen", 0, 1, fullScreen);
    pop_config_state();
    savedDifficulty = difficulty;
    savedMusic = musicOn;
    savedEffects = soundEffectsOn;
    savedFullScreen = fullScreen;
}

void saveSettingsWhenChanged()
{
    if (difficulty == savedDifficulty && musicOn == savedMusic && soundEffectsOn == savedEffects &&
        fullScreen == savedFullScreen)
        return;
    savedDifficulty = difficulty;
    savedMusic = musicOn;
    savedEffects = soundEffectsOn;
    savedFullScreen = fullScreen;
    if (!fileUsable || !settingsFileUsable())
        return;
    // The library writes the file when the pushed-aside state comes back.
    push_config_state();
    set_config_file(SETTINGS_FILE);
    set_config_int(SECTION, "difficulty", difficulty);
    set_config_int(SECTION, "music", musicOn);
    set_config_int(SECTION, "effects", soundEffectsOn);
    set_config_int(SECTION, "fullscreen", fullScreen);
    pop_config_state();
}
