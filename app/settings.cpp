// settings.cpp -- the player's choices kept in settings.cfg between runs.
//
// settings.cfg, in the library's configuration format:
//
//   [tumblegrid]
//   difficulty = 1       1 Easy .. 4 Blitz
//   music = 1            0 or 1
//   effects = 1          0 or 1
//   fullscreen = 1       0 a window, 1 full screen
//   scaling = fit        fit, or sharp for whole-number scales only
//
// The file is read with the bounded reader the high-score file uses, and
// only short plain text (printable ASCII, tabs and line ends) is handed to
// the library's configuration routines: their UTF-8 decoding loops for ever
// on some damaged bytes. A pipe, a device or a folder in the file's place
// is never opened for long and never written. A change writes the whole
// file afresh through a temporary file and a rename, the way the high-score
// file is saved, so a crash never leaves half a file and a hand-edited file
// with other sections still takes the new values.
#include "app/settings.h"
#include "app/mainloop.h"
#include "game/well.h"
#include "platform/files.h"
#include "platform/present.h"
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

static const char SECTION[] = "tumblegrid";
static const size_t LARGEST_SETTINGS = 4096;

// The values as the file holds them, to know when it needs writing.
static int savedDifficulty = -1, savedMusic = -1, savedEffects = -1, savedFullScreen = -1, savedSharp = -1;
static int fileWritable = 1;

// 1 when every byte is printable ASCII, a tab or a line end.
static int plainText(const unsigned char *bytes, size_t size)
{
    for (size_t i = 0; i < size; i++)
        if ((bytes[i] < 0x20 || bytes[i] > 0x7e) && bytes[i] != '\t' && bytes[i] != '\r' && bytes[i] != '\n')
            return 0;
    return 1;
}

// Reads one switch or choice; anything outside [low, high] gives the default.
static int readSetting(const char *name, int low, int high, int fallback)
{
    int value = get_config_int(SECTION, name, fallback);
    return value >= low && value <= high ? value : fallback;
}

// Remembers the current values as the ones the file holds.
static void rememberSaved()
{
    savedDifficulty = difficulty;
    savedMusic = musicOn;
    savedEffects = soundEffectsOn;
    savedFullScreen = fullScreen;
    savedSharp = sharpScaling;
}

void readSettingsText(const unsigned char *bytes, size_t size)
{
    if (size == 0 || size > LARGEST_SETTINGS || !plainText(bytes, size))
        return;
    push_config_state();
    set_config_data(reinterpret_cast<const char *>(bytes), (int)size);
    difficulty = readSetting("difficulty", EASY, BLITZ, difficulty);
    musicOn = readSetting("music", 0, 1, musicOn);
    soundEffectsOn = readSetting("effects", 0, 1, soundEffectsOn);
    fullScreen = readSetting("fullscreen", 0, 1, fullScreen);
    const char *scaling = get_config_string(SECTION, "scaling", "");
    if (strcmp(scaling, "sharp") == 0 || strcmp(scaling, "fit") == 0)
        sharpScaling = strcmp(scaling, "sharp") == 0;
    pop_config_state();
}

void loadSettings()
{
    std::vector<unsigned char> bytes;
    FileRead read = readWholeFile(SETTINGS_FILE, LARGEST_SETTINGS, bytes);
    // A file too large or damaged is replaced at the next change; anything
    // that is not a plain file is left alone for good.
    fileWritable = read != FileRead::NOT_REGULAR && (read != FileRead::CANNOT_OPEN || errno == ENOENT);
    if (read == FileRead::OK)
        readSettingsText(bytes.data(), bytes.size());
    rememberSaved();
}

void saveSettingsWhenChanged()
{
    if (difficulty == savedDifficulty && musicOn == savedMusic && soundEffectsOn == savedEffects &&
        fullScreen == savedFullScreen && sharpScaling == savedSharp)
        return;
    rememberSaved();
    if (!fileWritable)
        return;
    char text[160];
    int length = snprintf(text, sizeof text,
                          "[%s]\ndifficulty = %d\nmusic = %d\neffects = %d\nfullscreen = %d\nscaling = %s\n",
                          SECTION, difficulty, musicOn, soundEffectsOn, fullScreen, sharpScaling ? "sharp" : "fit");
    replaceFileContents(SETTINGS_FILE, reinterpret_cast<const unsigned char *>(text), (size_t)length);
}
