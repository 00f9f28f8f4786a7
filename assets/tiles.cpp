// tiles.cpp -- the digit tiles and everything of their size. A tile is a
// rounded, lit block in its digit's hue with a big bold white numeral; the
// clear animation flashes it, breaks it into nine shards (a little group of
// its own) and lets the shards sparkle away.
#include "assets/tiles.h"
#include "assets/glyphs.h"
#include <cmath>

BITMAP *makeWellCell()
{
    BITMAP *cell = newCanvas(CELL, CELL);
    verticalGradient(cell, 0, 0, CELL - 1, CELL - 1, shade(WELL_DARK, 0.035f), shade(WELL_DARK, -0.08f));
    Rgb line = shade(WELL_DARK, 0.10f);
    for (int i = 0; i < CELL; i++) {
        blendPixel(cell, i, CELL - 1, line, 1);
        blendPixel(cell, CELL - 1, i, line, 1);
    }
    blendPixel(cell, CELL - 1, CELL - 1, shade(WELL_DARK, 0.18f), 1);
    finishOpaque(cell);
    return cell;
}

BITMAP *makeWellBackground()
{
    BITMAP *well = newCanvas(11 * CELL, 15 * CELL);
    BITMAP *cell = makeWellCell();
    for (int r = 0; r < 15; r++)
        for (int c = 0; c < 11; c++)
            copyArea(cell, well, 0, 0, c * CELL, r * CELL, CELL, CELL);
    destroy_bitmap(cell);
    return well;
}

void paintDigitTile(BITMAP *bmp, float x, float y, float size, int d)
{
    Rgb hue = DIGIT_HUES[d];
    float s = size / CELL, r = 5.5f * s;
    fillRoundBox(bmp, x + 1 * s, y + 1 * s, x + size - 1 * s, y + size - 1 * s, r,
                 shade(hue, 0.28f), shade(hue, -0.22f));
    strokeRoundBox(bmp, x + 1 * s, y + 1 * s, x + size - 1 * s, y + size - 1 * s, r,
                   std::max(1.0f, 1.0f * s), shade(hue, -0.55f));
    // a glossy band across the top half
    fillRoundBox(bmp, x + 3 * s, y + 2.5f * s, x + size - 3 * s, y + 13 * s, 4 * s, WHITE, hue, 0.28f);
    char numeral = (char)('1' + d);
    int px = (int)std::lround(25 * s);
    drawGlyphCentred(bmp, SANS_BOLD, px, x + size / 2, y + size / 2 + 0.5f * s, numeral,
                     WHITE, shade(hue, -0.62f), std::max(1.0f, 1.3f * s));
}

BITMAP *makeDigitSprite(int d)
{
    BITMAP *tile = makeWellCell();
    paintDigitTile(tile, 0, 0, CELL, d);
    finishOpaque(tile);
    return tile;
}

// The tile brightened toward white by the given amount, for the flash frames.
static BITMAP *flashFrame(int d, float amount)
{
    BITMAP *tile = makeDigitSprite(d);
    for (int y = 0; y < CELL; y++)
        for (int x = 0; x < CELL; x++) {
            int p = _getpixel32(tile, x, y);
            Rgb c = shade({getr32(p), getg32(p), getb32(p)}, amount);
            _putpixel32(tile, x, y, makeacol32(c.r, c.g, c.b, 255));
        }
    return tile;
}

// The shards flying apart: nine small blocks that spread, shrink and pale.
static void paintShards(BITMAP *bmp, int d, float t)
{
    Rgb hue = DIGIT_HUES[d];
    float spread = 1.5f + 7.5f * t, size = 9.5f - 5.0f * t;
    for (int i = 0; i < 9; i++) {
        float ox = (i % 3 - 1), oy = (i / 3 - 1);
        float cx = 15 + ox * (9 + spread * 0.6f), cy = 15 + oy * (9 + spread * 0.6f) - 2 * t;
        Rgb c = shade(hue, 0.15f + 0.35f * t);
        fillRoundBox(bmp, cx - size / 2, cy - size / 2, cx + size / 2, cy + size / 2, 2.0f,
                     shade(c, 0.3f), c);
    }
}

// Sparkles left by the shards: each drifts up, shrinks and pales with t (0..1).
static void paintSparkles(BITMAP *bmp, int d, float t, int count)
{
    Rgb hue = DIGIT_HUES[d];
    seedRandom(101 + d);
    static const int order[9] = {4, 0, 8, 2, 6, 1, 7, 3, 5};   // the last to go is the middle
    for (int k = 0; k < 9; k++) {
        int i = order[8 - k];
        float jitterX = randomUnit() * 4 - 2, jitterY = randomUnit() * 4 - 2;
        if (k >= count)
            continue;
        float ox = (i % 3 - 1), oy = (i / 3 - 1);
        float cx = 15 + ox * (10.5f + 2 * t) + jitterX, cy = 15 + oy * (10.5f + 2 * t) + jitterY - 2 - 3 * t;
        glow(bmp, cx, cy, 6.5f - 3 * t, hue, 0.7f - 0.4f * t);
        sparkle(bmp, cx, cy, 6.0f - 3.0f * t, mix(WHITE, hue, 0.25f + 0.4f * t), 1.0f);
    }
}

BITMAP *makeClearFrame(int d, int f)
{
    if (f <= 1)
        return flashFrame(d, f == 0 ? 0.5f : 0.8f);
    BITMAP *frame = newCanvas(CELL, CELL);
    if (f == 2) {
        fillRoundBox(frame, 0, 0, CELL, CELL, 6, WHITE, shade(DIGIT_HUES[d], 0.7f), 0.9f);
        paintShards(frame, d, 0.0f);
    } else if (f <= 6) {
        glow(frame, 15, 15, 18 - 2 * (f - 3), mix(WHITE, DIGIT_HUES[d], 0.4f), 0.8f - 0.15f * (f - 3));
        paintShards(frame, d, (f - 2) / 4.0f);
    } else if (f <= 12) {
        static const int sparkleCount[13] = {0, 0, 0, 0, 0, 0, 0, 9, 8, 6, 5, 3, 2};
        paintSparkles(frame, d, (f - 7) / 5.0f, sparkleCount[f]);
    } else {
        sparkle(frame, 15, 11, 2.5f, WHITE, 0.9f);
    }
    finishMasked(frame, WELL_DARK, 0.2f);
    return frame;
}

BITMAP *makeLogoTile(int size)
{
    BITMAP *tile = newCanvas(size, size);
    float s = size / 64.0f;
    fillRoundBox(tile, 1 * s, 1 * s, size - 1 * s, size - 1 * s, 12 * s, DUSK, NIGHT);
    strokeRoundBox(tile, 1 * s, 1 * s, size - 1 * s, size - 1 * s, 12 * s, std::max(1.0f, 2 * s), GOLD);
    static const int order[9] = {0, 5, 2, 6, 4, 8, 3, 1, 7};
    float cell = 17 * s, gap = 2 * s, start = (size - 3 * cell - 2 * gap) / 2;
    for (int i = 0; i < 9; i++) {
        Rgb hue = DIGIT_HUES[order[i]];
        float x = start + (i % 3) * (cell + gap), y = start + (i / 3) * (cell + gap);
        fillRoundBox(tile, x, y, x + cell, y + cell, 3.5f * s, shade(hue, 0.3f), shade(hue, -0.2f));
        if (size >= 48) {
            char numeral = (char)('1' + order[i]);
            drawGlyphCentred(tile, SANS_BOLD, (int)std::lround(14 * s), x + cell / 2, y + cell / 2,
                             numeral, WHITE, shade(hue, -0.6f), 1.0f);
        }
    }
    return tile;
}
