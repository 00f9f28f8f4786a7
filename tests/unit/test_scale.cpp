// test_scale.cpp -- the canvas's size on the display: the fitted sizes of
// common screens, whole numbers near a fit and for the sharp setting; and,
// where the canvas is resampled, the parts drawn on reaching the display with
// every display pixel their filter touches (two pixels on one tile both
// count), so the picture is the one a resampling of the whole canvas gives,
// enlarged and shrunk alike.
#include "platform/damage.h"
#include "platform/present.h"
#include "platform/scale.h"
#include "support/headless.h"
#include <allegro.h>
#include <gtest/gtest.h>
#include <string>

// The fitted size for a room, as "WxH".
static std::string fitted(int roomW, int roomH)
{
    int w, h;
    fittedSize(roomW, roomH, &w, &h);
    return std::to_string(w) + "x" + std::to_string(h);
}

TEST(Scale, FittedSizesKeepTheShapeAndSnapToWholeNumbers)
{
    sharpScaling = 0;
    EXPECT_EQ(fitted(1024, 768), "1024x768");
    EXPECT_EQ(fitted(2048 * 101 / 100, 1536 * 101 / 100), "2048x1536") << "1 % above scale 2";
    sharpScaling = 1;
    EXPECT_EQ(fitted(2560, 1440), "1024x768");
    EXPECT_EQ(fitted(3840, 2160), "2048x1536");
    sharpScaling = 0;
#ifdef TG_HAVE_PIXMAN
    EXPECT_EQ(fitted(3840, 2160), "2880x2160");
    EXPECT_EQ(fitted(2560, 1440), "1920x1440");
    EXPECT_EQ(fitted(1280, 720), "960x720");
    EXPECT_EQ(fitted(800, 600), "800x600");
    EXPECT_EQ(fitted(2048 * 103 / 100, 1536 * 103 / 100), "2109x1581") << "3 % above scale 2";
    sharpScaling = 1;
    EXPECT_EQ(fitted(800, 600), "800x600") << "sharp shrinks only when 1x does not fit";
    sharpScaling = 0;
#endif
}

#ifdef TG_HAVE_PIXMAN
// Presents a changed canvas at the size fitted to a room, and compares the
// display with a second display that had the whole canvas resampled.
static void expectTilesMatchWholeResample(int roomW, int roomH)
{
    startHeadlessAllegro();
    ASSERT_EQ(createCanvas(), 0);
    for (int y = 0; y < CANVAS_H; y++)
        for (int x = 0; x < CANVAS_W; x++)
            _putpixel32(canvas, x, y, makecol((x * 7) & 255, (y * 5) & 255, ((x ^ y) * 3) & 255));
    BITMAP *shown = create_bitmap_ex(32, roomW, roomH), *whole = create_bitmap_ex(32, roomW, roomH);
    clear_bitmap(shown);
    clear_bitmap(whole);
    fitCanvas(roomW, roomH);
    ASSERT_EQ(displayScale, 0) << "not a resampled size";
    displayTarget = shown;
    presentEverything();
    presentCanvas();
    // Pixels on the edges and corners of tiles, and a block across four tiles.
    putpixel(canvas, PRESENT_TILE - 1, PRESENT_TILE, makecol(255, 255, 255));
    putpixel(canvas, 0, 2 * PRESENT_TILE - 1, makecol(255, 255, 0));   // the same tile's far corner
    putpixel(canvas, 5 * PRESENT_TILE, 7 * PRESENT_TILE - 1, makecol(255, 0, 0));
    rectfill(canvas, 10 * PRESENT_TILE - 3, 3 * PRESENT_TILE - 3, 10 * PRESENT_TILE + 2, 3 * PRESENT_TILE + 2,
             makecol(0, 255, 0));
    putpixel(canvas, CANVAS_W - 1, CANVAS_H - 1, makecol(0, 0, 255));
    EXPECT_EQ(presentCanvas(), 7);
    displayTarget = whole;
    presentEverything();
    presentCanvas();
    int differing = 0;
    for (int y = 0; y < roomH; y++)
        for (int x = 0; x < roomW; x++)
            differing += _getpixel32(shown, x, y) != _getpixel32(whole, x, y);
    EXPECT_EQ(differing, 0) << "at " << displayWidth << "x" << displayHeight;
    displayTarget = nullptr;
    destroy_bitmap(shown);
    destroy_bitmap(whole);
}

TEST(Scale, ResampledTilesGiveTheWholeResampledPicture)
{
    expectTilesMatchWholeResample(1920, 1080);    // enlarged 1.40625 times, bilinear
    expectTilesMatchWholeResample(1280, 720);     // shrunk to 0.9375, box average
}
#endif
