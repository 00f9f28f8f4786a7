// cipher.h -- the high-score file's stored form: TEA blocks under a fixed key,
// a leading tail count and an unenciphered trailing byte.
#pragma once
#include <cstddef>
#include <cstdint>

extern const uint32_t scoreFileKey[4];

// Enciphers one 8-byte block in place (two little-endian words).
void teaEncipher(unsigned char block[8]);

// Deciphers one 8-byte block in place.
void teaDecipher(unsigned char block[8]);

// Builds the stored form of a text; returns a new[] buffer of *storedSize bytes, or nullptr.
unsigned char *encodeScoreText(const char *text, size_t length, size_t *storedSize);

// Deciphers every whole 8-byte block of stored into plain (both size bytes).
void decodeScoreData(const unsigned char *stored, size_t size, unsigned char *plain);
