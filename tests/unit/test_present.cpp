// test_present.cpp -- the presenter's tile comparison on memory bitmaps: a
// pixel changed on a tile's edge reaches the display, alone and at the
// display's scale; a frame that changed nothing, or drew the same pixels
// again, presents nothing; a background copied over itself is skipped, but
// never when something was drawn on it in between or another part is copied.
#include "platform/damage.h"
#include "platform/present.h"
#include "platform/scale.h"
#include "support/headless.h"
#include <allegro.h>
#include <gtest/gtest.h>

// Shows the canvas at a whole-number scale with its top-left corner at (left, top).
static void placeCanvas(int scale, int left, int top)
{
    displayScale = scale;
    displayWidth = CANVAS_W * scale;
    displayHeight = CANVAS_H * scale;
    displayLeft = left;
    displayTop = top;
}

TEST(Presenter, OnlyChangedTilesReachTheDisplayAtItsScale)
{
    startHeadlessAllegro();
    ASSERT_EQ(createCanvas(), 0);
    BITMAP *display = create_bitmap_ex(32, 2 * CANVAS_W + 8, 2 * CANVAS_H + 8);
    displayTarget = display;
    placeCanvas(1, 0, 0);
    presentEverything();
    EXPECT_EQ(presentCanvas(), CANVAS_W / PRESENT_TILE * (CANVAS_H / PRESENT_TILE));
    EXPECT_EQ(presentCanvas(), 0) << "an unchanged frame";

    int red = makecol(255, 0, 0);
    putpixel(canvas, PRESENT_TILE - 1, PRESENT_TILE, red);    // right edge of tile (1, 0)
    EXPECT_EQ(presentCanvas(), 1);
    EXPECT_EQ(getpixel(display, PRESENT_TILE - 1, PRESENT_TILE), red);
    putpixel(canvas, PRESENT_TILE - 1, PRESENT_TILE, red);
    EXPECT_EQ(presentCanvas(), 0) << "the same pixel drawn again";

    // At scale 2, centred with a border, a canvas pixel is a 2x2 block.
    placeCanvas(2, 3, 5);
    presentEverything();
    presentCanvas();
    putpixel(canvas, CANVAS_W - 1, CANVAS_H - 1, red);          // the very last pixel
    EXPECT_EQ(presentCanvas(), 1);
    for (int dy = 0; dy < 2; dy++)
        for (int dx = 0; dx < 2; dx++)
            EXPECT_EQ(getpixel(display, 3 + 2 * (CANVAS_W - 1) + dx, 5 + 2 * (CANVAS_H - 1) + dy), red);
    EXPECT_EQ(getpixel(display, 3 + 2 * (PRESENT_TILE - 1) + 1, 5 + 2 * PRESENT_TILE + 1), red);

    // A canvas that does not fit the display goes through clipped copies and
    // is compared by its tiles' digests instead of the display's memory.
    placeCanvas(1, -8, 0);
    presentEverything();
    presentCanvas();
    EXPECT_EQ(presentCanvas(), 0) << "an unchanged frame, by digest";
    putpixel(canvas, 100, 100, red);
    EXPECT_EQ(presentCanvas(), 1);
    EXPECT_EQ(getpixel(display, 92, 100), red);
    putpixel(canvas, 100, 100, red);
    EXPECT_EQ(presentCanvas(), 0) << "the same pixel again, by digest";
    displayTarget = nullptr;
    destroy_bitmap(display);
}

TEST(Presenter, BackgroundCopiedOverItselfIsSkippedOnlyWhenNothingChanged)
{
    startHeadlessAllegro();
    ASSERT_EQ(createCanvas(), 0);
    BITMAP *display = create_bitmap_ex(32, CANVAS_W, CANVAS_H);
    BITMAP *picture = create_bitmap_ex(32, 2 * PRESENT_TILE, 2 * PRESENT_TILE);
    for (int y = 0; y < picture->h; y++)
        for (int x = 0; x < picture->w; x++)
            putpixel(picture, x, y, makecol(x * 4, y * 4, 100));
    markUnchangingPicture(picture);
    displayTarget = display;
    placeCanvas(1, 0, 0);
    presentEverything();
    presentCanvas();

    blit(picture, canvas, 0, 0, 0, 0, picture->w, picture->h);
    EXPECT_EQ(presentCanvas(), 4);
    blit(picture, canvas, 0, 0, 0, 0, picture->w, picture->h);
    EXPECT_EQ(presentCanvas(), 0) << "the same copy again";
    putpixel(canvas, 5, 5, makecol(255, 0, 0));
    EXPECT_EQ(presentCanvas(), 1);
    blit(picture, canvas, 0, 0, 0, 0, 16, 16);       // part of one tile, where the pixel was
    EXPECT_EQ(presentCanvas(), 1) << "the copy that erased the pixel";
    EXPECT_EQ(getpixel(display, 5, 5), getpixel(picture, 5, 5));
    blit(picture, canvas, 1, 0, 0, 0, PRESENT_TILE, PRESENT_TILE);   // another part of the picture
    EXPECT_EQ(presentCanvas(), 1) << "a copy from elsewhere in the picture";
    displayTarget = nullptr;
    destroy_bitmap(picture);
    destroy_bitmap(display);
}
