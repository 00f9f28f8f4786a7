// settings.h -- the player's choices kept between runs in settings.cfg
// beside the high-score file: difficulty, music, sound effects, full screen
// or window, and how the picture is scaled.
#pragma once
#include <cstddef>

const char SETTINGS_FILE[] = "settings.cfg";

// Reads settings.cfg; a missing, empty or damaged file, or any odd value, keeps the default.
void loadSettings();

// Takes the settings from the text of a settings file; anything but short
// plain text is ignored whole, so the library's reader only ever sees that.
void readSettingsText(const unsigned char *bytes, size_t size);

// Rewrites settings.cfg when a setting differs from what the file holds; failures are silent.
void saveSettingsWhenChanged();
