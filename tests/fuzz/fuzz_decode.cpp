// fuzz_decode.cpp -- decodeScoreData on stored forms of every size: it must
// stay inside both buffers, and the end of the text it implies must lie
// inside what was deciphered. The same bytes taken as a text must come back
// unchanged through encodeScoreText and decodeScoreData.
#include "scores/cipher.h"
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Exact-size heap copies, so that a read or write past either end is caught.
    std::vector<unsigned char> stored(data, data + size), plain(size);
    decodeScoreData(stored.data(), size, plain.data());
    if (scoreTextEnd(plain.data(), size) > size / 8 * 8)
        abort();

    size_t storedSize = 0;
    unsigned char *encoded = encodeScoreText((const char *)data, size, &storedSize);
    if (!encoded || storedSize != size + (8 - size % 8) + 1 || storedSize % 8 != 1)
        abort();
    std::vector<unsigned char> back(storedSize);
    decodeScoreData(encoded, storedSize, back.data());
    delete[] encoded;
    if (back[0] != 8 - size % 8 || scoreTextEnd(back.data(), storedSize) != size + 1)
        abort();
    if (size && memcmp(back.data() + 1, data, size) != 0)
        abort();
    return 0;
}
