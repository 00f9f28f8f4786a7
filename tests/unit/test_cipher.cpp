// The stored form of the high-score text: the block cipher, the layout of
// tail count, filler and trailing byte, and decoding of damaged sizes.
#include "scores/cipher.h"
#include <gtest/gtest.h>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(Tea, PublishedVectorWithTheZeroKey)
{
    const uint32_t zeroKey[4] = {0, 0, 0, 0};
    uint32_t v[2] = {0, 0};
    teaEncipherWords(v, zeroKey);
    EXPECT_EQ(v[0], 0x41EA3A0Au);
    EXPECT_EQ(v[1], 0x94BAA940u);
    teaDecipherWords(v, zeroKey);
    EXPECT_EQ(v[0], 0u);
    EXPECT_EQ(v[1], 0u);
}

TEST(Tea, BlockBytesAreTwoLittleEndianWords)
{
    unsigned char block[8] = {1, 0, 0, 0, 2, 0, 0, 0};
    uint32_t v[2] = {1, 2};
    teaEncipherWords(v, scoreFileKey);
    teaEncipher(block);
    const unsigned char expected[8] = {
        (unsigned char)v[0], (unsigned char)(v[0] >> 8), (unsigned char)(v[0] >> 16), (unsigned char)(v[0] >> 24),
        (unsigned char)v[1], (unsigned char)(v[1] >> 8), (unsigned char)(v[1] >> 16), (unsigned char)(v[1] >> 24)};
    EXPECT_EQ(0, memcmp(block, expected, 8));
    teaDecipher(block);
    const unsigned char back[8] = {1, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_EQ(0, memcmp(block, back, 8));
}

TEST(EncodeScoreText, StoredSizesAndTailCounts)
{
    struct Case { size_t length, tail, size; };
    const Case cases[] = {{0, 8, 9}, {3, 5, 9}, {7, 1, 9}, {8, 8, 17}, {16, 8, 25}, {17, 7, 25}};
    const std::string text(32, 'x');
    for (const Case &c : cases) {
        size_t size = 0;
        unsigned char *stored = encodeScoreText(text.data(), c.length, &size);
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(size, c.size) << "L = " << c.length;
        EXPECT_EQ(size % 8, 1u);
        EXPECT_EQ(stored[size - 1], 0) << "the trailing byte is written as zero";
        std::vector<unsigned char> plain(size);
        decodeScoreData(stored, size, plain.data());
        EXPECT_EQ(plain[0], c.tail);
        EXPECT_EQ(scoreTextEnd(plain.data(), size), c.length + 1);
        for (size_t i = c.length + 1; i < size - 1; i++)
            EXPECT_EQ(plain[i], 0) << "filler byte " << i;
        delete[] stored;
    }
}

TEST(EncodeScoreText, RandomTextsComeBackAndSavesAreReproducible)
{
    std::mt19937 random(4711);
    for (int round = 0; round < 200; round++) {
        std::string text(random() % 600, '\0');
        for (char &c : text)
            c = (char)(random() & 0xFF);
        size_t size = 0, again = 0;
        unsigned char *stored = encodeScoreText(text.data(), text.size(), &size);
        unsigned char *second = encodeScoreText(text.data(), text.size(), &again);
        ASSERT_TRUE(stored && second);
        ASSERT_EQ(size, again);
        EXPECT_EQ(0, memcmp(stored, second, size));
        std::vector<unsigned char> plain(size);
        decodeScoreData(stored, size, plain.data());
        size_t end = scoreTextEnd(plain.data(), size);
        ASSERT_EQ(end, text.size() + 1);
        EXPECT_EQ(std::string((const char *)plain.data() + 1, end - 1), text);
        delete[] stored;
        delete[] second;
    }
}

// Sizes that aren't 8n + 1 decipher their whole blocks only; the vector's
// exact size lets the sanitizer build catch any step past it.
TEST(DecodeScoreData, DamagedSizesStayInsideTheBuffers)
{
    for (size_t size = 0; size <= 41; size++) {
        std::vector<unsigned char> stored(size, 0xA5), plain(size, 0x5A);
        decodeScoreData(stored.data(), size, plain.data());
        for (size_t i = size / 8 * 8; i < size; i++)
            EXPECT_EQ(plain[i], 0x5A) << "size " << size << " byte " << i;
    }
}

TEST(ScoreTextEnd, ClampsDamagedTailCounts)
{
    struct Case { size_t size; unsigned char tail; size_t end; };
    const Case cases[] = {
        {0, 0, 0},      // empty file
        {1, 1, 0},      // a lone trailing byte: no block at all
        {9, 0, 8},      // tail count 0 would reach the trailing byte
        {9, 9, 0},      // a tail longer than the text
        {9, 255, 0},
        {12, 1, 8},     // past the last whole block
        {17, 3, 14},
    };
    for (const Case &c : cases) {
        std::vector<unsigned char> plain(c.size + 1, 0);
        plain[0] = c.tail;
        EXPECT_EQ(scoreTextEnd(plain.data(), c.size), c.end) << "size " << c.size << " tail " << int(c.tail);
    }
}

} // namespace
