// Drawing into bitmaps whose pixels lie above 4 GiB. On 64-bit Windows a
// long is 32 bits, and routines of the library that kept a pixel address in
// one wrote through a cut-down pointer. The heap under Wine stays below
// 4 GiB, which hides such faults, so these tests move the pixels of their
// bitmaps above 4 GiB on purpose.
#include "support/headless.h"
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdint>
#include <cstring>
#ifdef _WIN32
#include <winalleg.h>
#else
#include <sys/mman.h>
#endif

namespace {

const uint64_t FOUR_GIB = uint64_t(1) << 32;

// Pixels mapped as high in the address space as the system allows.
void *highBlock(size_t size)
{
#ifdef _WIN32
    return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE);
#else
    void *p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
#endif
}

// Gives the block back.
void freeHighBlock(void *block, size_t size)
{
#ifdef _WIN32
    (void)size;
    VirtualFree(block, 0, MEM_RELEASE);
#else
    munmap(block, size);
#endif
}

// A memory bitmap of the given depth whose rows live in a high block; the
// library's own rows are put back before it is destroyed.
struct HighBitmap {
    BITMAP *bmp = nullptr;
    void *ownDat = nullptr;
    unsigned char *high = nullptr;
    size_t size = 0;

    HighBitmap(int depth, int w, int h)
    {
        startHeadlessAllegro();
        bmp = create_bitmap_ex(depth, w, h);
        int pitch = w * ((depth + 7) / 8);
        size = size_t(pitch) * h;
        high = static_cast<unsigned char *>(highBlock(size));
        if (!bmp || !high)
            return;
        ownDat = bmp->dat;
        memcpy(high, bmp->line[0], size);
        bmp->dat = high;
        for (int y = 0; y < h; y++)
            bmp->line[y] = high + size_t(y) * pitch;
    }

    ~HighBitmap()
    {
        if (bmp && ownDat) {
            bmp->dat = ownDat;
            int pitch = bmp->w * ((bitmap_color_depth(bmp) + 7) / 8);
            for (int y = 0; y < bmp->h; y++)
                bmp->line[y] = static_cast<unsigned char *>(ownDat) + size_t(y) * pitch;
        }
        if (bmp)
            destroy_bitmap(bmp);
        if (high)
            freeHighBlock(high, size);
    }

    bool aboveFourGiB() const { return bmp && high && uintptr_t(high) >= FOUR_GIB; }
};

// Counts the pixels of one colour in a rectangle.
int countColour(BITMAP *bmp, int x, int y, int w, int h, int colour)
{
    int n = 0;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            n += getpixel(bmp, i, j) == colour;
    return n;
}

TEST(HighBitmaps, TextFromTheLibraryFont)
{
    HighBitmap canvas(32, 200, 40);
    ASSERT_TRUE(canvas.aboveFourGiB());
    clear_to_color(canvas.bmp, makecol32(255, 255, 255));
    int ink = makecol32(10, 20, 30);
    textout_ex(canvas.bmp, font, "TumbleGrid", 4, 4, ink, -1);
    textout_ex(canvas.bmp, font, "TumbleGrid", 4, 20, ink, makecol32(200, 0, 0));
    EXPECT_GT(countColour(canvas.bmp, 0, 0, 200, 16, ink), 40);
    EXPECT_GT(countColour(canvas.bmp, 0, 16, 200, 16, makecol32(200, 0, 0)), 40);
}

TEST(HighBitmaps, FloodFill)
{
    HighBitmap canvas(32, 64, 64);
    ASSERT_TRUE(canvas.aboveFourGiB());
    clear_to_color(canvas.bmp, makecol32(0, 0, 0));
    rect(canvas.bmp, 10, 10, 50, 50, makecol32(255, 255, 255));
    floodfill(canvas.bmp, 30, 30, makecol32(0, 255, 0));
    EXPECT_EQ(countColour(canvas.bmp, 11, 11, 39, 39, makecol32(0, 255, 0)), 39 * 39);
    EXPECT_EQ(getpixel(canvas.bmp, 5, 5), makecol32(0, 0, 0));
}

TEST(HighBitmaps, GouraudSpriteFrom24Bits)
{
    HighBitmap sprite(24, 16, 16);
    HighBitmap canvas(24, 32, 32);
    ASSERT_TRUE(sprite.aboveFourGiB() && canvas.aboveFourGiB());
    clear_to_color(sprite.bmp, makecol24(200, 100, 50));
    clear_to_color(canvas.bmp, makecol24(0, 0, 0));
    set_trans_blender(0, 0, 0, 0);
    draw_gouraud_sprite(canvas.bmp, sprite.bmp, 8, 8, 255, 255, 255, 255);
    EXPECT_EQ(countColour(canvas.bmp, 8, 8, 16, 16, makecol24(0, 0, 0)), 0);
    EXPECT_EQ(getpixel(canvas.bmp, 2, 2), makecol24(0, 0, 0));
}

TEST(HighBitmaps, TheGamesBlits)
{
    HighBitmap picture(32, 40, 40);
    HighBitmap canvas(32, 100, 100);
    ASSERT_TRUE(picture.aboveFourGiB() && canvas.aboveFourGiB());
    clear_to_color(picture.bmp, bitmap_mask_color(picture.bmp));
    rectfill(picture.bmp, 10, 10, 29, 29, makecol32(255, 0, 0));
    clear_to_color(canvas.bmp, makecol32(0, 0, 255));
    blit(picture.bmp, canvas.bmp, 0, 0, 0, 0, 40, 40);
    masked_blit(picture.bmp, canvas.bmp, 0, 0, 50, 0, 40, 40);
    draw_sprite(canvas.bmp, picture.bmp, 0, 50);
    EXPECT_EQ(countColour(canvas.bmp, 10, 10, 20, 20, makecol32(255, 0, 0)), 400);
    EXPECT_EQ(getpixel(canvas.bmp, 52, 2), makecol32(0, 0, 255));
    EXPECT_EQ(countColour(canvas.bmp, 60, 10, 20, 20, makecol32(255, 0, 0)), 400);
    EXPECT_EQ(getpixel(canvas.bmp, 2, 52), makecol32(0, 0, 255));
    EXPECT_EQ(countColour(canvas.bmp, 10, 60, 20, 20, makecol32(255, 0, 0)), 400);
}

}  // namespace
