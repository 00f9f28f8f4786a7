// cipher.cpp -- the stored form (to be written).
#include "scores/cipher.h"

const uint32_t scoreFileKey[4] = {23171, 11093, 4721, 30518};
void teaEncipher(unsigned char *) {}
void teaDecipher(unsigned char *) {}
unsigned char *encodeScoreText(const char *, size_t, size_t *) { return nullptr; }
void decodeScoreData(const unsigned char *, size_t, unsigned char *) {}
