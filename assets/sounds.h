// sounds.h -- the game's three samples, synthesised and written as 16-bit
// mono WAV files.
#pragma once

// The soft thud of a digit landing.
void writeLandSound(const char *path);

// The bright chime of a clear; the game plays it at half speed.
void writeClearSound(const char *path);

// The looping background tune: melody, bass, chords and drums.
void writeMusic(const char *path);
