// cipher.cpp -- the stored form of the high-score text, and its reading.
//
// The plain form is a tail count t, the text, t - 1 filler bytes and one
// trailing byte; every whole 8-byte block but the trailing byte is run
// through TEA with the file's key. The file carries no other framing, so a
// reader finds the end of the text from the file's size and t alone.
#include "scores/cipher.h"
#include "platform/platform.h"
#include <cstring>
#include <new>

const uint32_t scoreFileKey[4] = {23171, 11093, 4721, 30518};

static const uint32_t TEA_DELTA = 0x9E3779B9u;
static const int TEA_CYCLES = 32;

// Reads a little-endian 32-bit word, whatever the host's byte order.
static uint32_t getWord(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Writes a 32-bit word in little-endian order.
static void putWord(unsigned char *p, uint32_t w)
{
    p[0] = (unsigned char)w;
    p[1] = (unsigned char)(w >> 8);
    p[2] = (unsigned char)(w >> 16);
    p[3] = (unsigned char)(w >> 24);
}

// The published TEA round function, forwards.
void teaEncipherWords(uint32_t v[2], const uint32_t k[4])
{
    uint32_t y = v[0], z = v[1], sum = 0;
    for (int i = 0; i < TEA_CYCLES; i++) {
        sum += TEA_DELTA;
        y += ((z << 4) + k[0]) ^ (z + sum) ^ ((z >> 5) + k[1]);
        z += ((y << 4) + k[2]) ^ (y + sum) ^ ((y >> 5) + k[3]);
    }
    v[0] = y;
    v[1] = z;
}

// The published TEA round function, backwards.
void teaDecipherWords(uint32_t v[2], const uint32_t k[4])
{
    uint32_t y = v[0], z = v[1], sum = TEA_DELTA * TEA_CYCLES;
    for (int i = 0; i < TEA_CYCLES; i++) {
        z -= ((y << 4) + k[2]) ^ (y + sum) ^ ((y >> 5) + k[3]);
        y -= ((z << 4) + k[0]) ^ (z + sum) ^ ((z >> 5) + k[1]);
        sum -= TEA_DELTA;
    }
    v[0] = y;
    v[1] = z;
}

// Enciphers one stored block with the file's key.
void teaEncipher(unsigned char block[8])
{
    uint32_t v[2] = {getWord(block), getWord(block + 4)};
    teaEncipherWords(v, scoreFileKey);
    putWord(block, v[0]);
    putWord(block + 4, v[1]);
}

// Deciphers one stored block with the file's key.
void teaDecipher(unsigned char block[8])
{
    uint32_t v[2] = {getWord(block), getWord(block + 4)};
    teaDecipherWords(v, scoreFileKey);
    putWord(block, v[0]);
    putWord(block + 4, v[1]);
}

// Lays out and enciphers a text; filler and trailing byte are zero so that
// the same table always gives the same file.
unsigned char *encodeScoreText(const char *text, size_t length, size_t *storedSize)
{
    size_t tail = 8 - length % 8;
    size_t size = length + tail + 1;
    unsigned char *plain = new (std::nothrow) unsigned char[size];
    unsigned char *stored = plain ? new (std::nothrow) unsigned char[size] : nullptr;
    if (!stored) {
        delete[] plain;
        showErrorBox("Memory allocation error", "FileError");
        return nullptr;
    }
    memset(plain, 0, size);
    plain[0] = (unsigned char)tail;
    if (length)
        memcpy(plain + 1, text, length);
    memcpy(stored, plain, size);
    for (size_t p = 0; p + 8 < size; p += 8)
        teaEncipher(stored + p);
    delete[] plain;
    *storedSize = size;
    return stored;
}

// Deciphers the whole blocks only: a damaged size never reads past the data.
void decodeScoreData(const unsigned char *stored, size_t size, unsigned char *plain)
{
    for (size_t p = 0; p + 8 <= size; p += 8) {
        memcpy(plain + p, stored + p, 8);
        teaDecipher(plain + p);
    }
}

// The text ends t bytes before the end of the file; a damaged t or size must
// still leave the end inside what was actually deciphered.
size_t scoreTextEnd(const unsigned char *plain, size_t size)
{
    if (size == 0)
        return 0;
    size_t tail = plain[0];
    size_t end = size > tail ? size - tail : 0;
    size_t deciphered = size / 8 * 8;
    return end < deciphered ? end : deciphered;
}

// The file is read whole, within the cap, and deciphered in one go.
FileRead readScoreFile(const char *path, std::vector<unsigned char> &plain)
{
    std::vector<unsigned char> stored;
    FileRead status = readWholeFile(path, SCORE_FILE_CAP, stored);
    if (status != FileRead::OK)
        return status;
    plain.assign(stored.size(), 0);
    decodeScoreData(stored.data(), stored.size(), plain.data());
    return FileRead::OK;
}
