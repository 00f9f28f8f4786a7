// settings.h -- the player's choices kept between runs in settings.cfg
// beside the high-score file: difficulty, music, sound effects, and full
// screen or window.
#pragma once

const char SETTINGS_FILE[] = "settings.cfg";

// Reads settings.cfg; a missing, empty or damaged file, or any odd value, keeps the default.
void loadSettings();

// Rewrites settings.cfg when a setting differs from what the file holds; failures are silent.
void saveSettingsWhenChanged();
