// fuzz_support.h -- what the fuzz targets share: a private working folder
// (in memory where the system offers one, so the save's syncs cost nothing),
// the library started headless with its built-in font standing in for the
// HUD font, and small file helpers.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Starts the library, measures with its built-in font and moves into a private folder (once).
void startFuzzTarget();

// Writes bytes to a file, replacing it; false on failure.
bool writeBytes(const char *path, const unsigned char *data, size_t size);

// Puts a stored high-score file with two header lines and the given entries in place.
void writeScoreFile(const std::vector<std::string> &entries);
