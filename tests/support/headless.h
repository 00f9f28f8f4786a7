// headless.h -- Allegro without a display for tests: memory bitmaps, and the
// generated datafile loaded and bound so that fonts can measure text.
#pragma once

// Starts Allegro with no system driver (idempotent).
void startHeadlessAllegro();

// Loads tumblegrid.dat from the working directory and binds the catalogue; false if it can't.
bool loadGameDatafile();

// Puts every game value back to a fresh round on the given difficulty, with a seeded rand.
void freshRound(int difficulty, unsigned seed);
