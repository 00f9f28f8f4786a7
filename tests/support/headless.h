// headless.h -- Allegro without a display for tests: memory bitmaps, and the
// generated datafile loaded and bound so that fonts can measure text.
#pragma once
#include <string>

// Starts Allegro with no system driver (idempotent).
void startHeadlessAllegro();

// Reads tumblegrid.dat from the working directory through the game's reader,
// unpacks it whole and binds the catalogue; false if it can't.
bool loadGameDatafile();

// Puts every game value back to a fresh round on the given difficulty, with a seeded rand.
void freshRound(int difficulty, unsigned seed);

// A fresh empty folder that a test works in: made and entered by enter(),
// left and removed (read-only or not) by leave().
struct TempFolder {
    std::string home, path;
    bool enter(const char *prefix);
    void leave();
};
