// cipher.h -- the high-score file's stored form: TEA blocks under a fixed key,
// a leading tail count and an unenciphered trailing byte.
#pragma once
#include "platform/files.h"
#include <cstddef>
#include <cstdint>
#include <vector>

extern const uint32_t scoreFileKey[4];

// Enciphers the word pair v (y, z) in place under any 128-bit key.
void teaEncipherWords(uint32_t v[2], const uint32_t key[4]);

// Deciphers the word pair v (y, z) in place under any 128-bit key.
void teaDecipherWords(uint32_t v[2], const uint32_t key[4]);

// Enciphers one 8-byte block in place (two little-endian words).
void teaEncipher(unsigned char block[8]);

// Deciphers one 8-byte block in place.
void teaDecipher(unsigned char block[8]);

// Builds the stored form of a text; returns a new[] buffer of *storedSize bytes, or nullptr.
unsigned char *encodeScoreText(const char *text, size_t length, size_t *storedSize);

// Deciphers every whole 8-byte block of stored into plain (both size bytes).
void decodeScoreData(const unsigned char *stored, size_t size, unsigned char *plain);

// Where the text of a deciphered plain form ends (exclusive), kept inside its
// deciphered blocks whatever the tail count or the size say.
size_t scoreTextEnd(const unsigned char *plain, size_t size);

// The largest high-score file read. Fifteen entries of 1023 characters come
// to about 16 KB, so only files that are no table at all are refused, and
// no file in its place can exhaust memory.
const size_t SCORE_FILE_CAP = 1 << 20;

// Reads a stored file of at most SCORE_FILE_CAP bytes and deciphers it into
// plain (resized to the file's size); anything but FileRead::OK means it
// can't be used. Throws std::bad_alloc.
FileRead readScoreFile(const char *path, std::vector<unsigned char> &plain);
