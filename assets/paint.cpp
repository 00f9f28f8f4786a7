// paint.cpp -- anti-aliased drawing on 32-bit memory bitmaps. Every shape is
// evaluated per pixel from a distance function, so edges get their true
// coverage without drawing at a larger size and scaling down.
#include "assets/paint.h"
#include <algorithm>
#include <cmath>

const Rgb DIGIT_HUES[9] = {
    {222, 62, 62},   // 1 red
    {240, 134, 38},  // 2 orange
    {226, 196, 34},  // 3 yellow
    {88, 178, 60},   // 4 green
    {30, 170, 150},  // 5 teal
    {52, 136, 230},  // 6 blue
    {104, 84, 214},  // 7 indigo
    {176, 76, 200},  // 8 purple
    {226, 84, 150},  // 9 pink
};

static unsigned randomState = 1;

BITMAP *newCanvas(int w, int h)
{
    BITMAP *bmp = create_bitmap_ex(32, w, h);
    clear_to_color(bmp, makeacol32(0, 0, 0, 0));
    return bmp;
}

static float clamp01(float v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

void blendPixel(BITMAP *bmp, int x, int y, Rgb c, float a)
{
    if (x < 0 || y < 0 || x >= bmp->w || y >= bmp->h || a <= 0)
        return;
    a = clamp01(a);
    int old = _getpixel32(bmp, x, y);
    float da = geta32(old) / 255.0f;
    float outA = a + da * (1 - a);
    if (outA <= 0)
        return;
    float keep = da * (1 - a);
    int r = (int)lroundf((c.r * a + getr32(old) * keep) / outA);
    int g = (int)lroundf((c.g * a + getg32(old) * keep) / outA);
    int b = (int)lroundf((c.b * a + getb32(old) * keep) / outA);
    _putpixel32(bmp, x, y, makeacol32(r, g, b, (int)lroundf(outA * 255)));
}

Rgb mix(Rgb a, Rgb b, float t)
{
    t = clamp01(t);
    return {(int)lroundf(a.r + (b.r - a.r) * t), (int)lroundf(a.g + (b.g - a.g) * t),
            (int)lroundf(a.b + (b.b - a.b) * t)};
}

Rgb shade(Rgb c, float f)
{
    return f >= 0 ? mix(c, WHITE, f) : mix(c, BLACK, -f);
}

void verticalGradient(BITMAP *bmp, int x0, int y0, int x1, int y1, Rgb top, Rgb bottom)
{
    for (int y = y0; y <= y1; y++) {
        Rgb c = mix(top, bottom, y1 > y0 ? float(y - y0) / (y1 - y0) : 0);
        for (int x = x0; x <= x1; x++)
            blendPixel(bmp, x, y, c, 1);
    }
}

float roundBoxDistance(float px, float py, float x0, float y0, float x1, float y1, float r)
{
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
    float qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

void fillRoundBox(BITMAP *bmp, float x0, float y0, float x1, float y1, float r,
                  Rgb top, Rgb bottom, float alpha)
{
    for (int y = (int)std::floor(y0); y < (int)std::ceil(y1); y++) {
        Rgb c = mix(top, bottom, (y + 0.5f - y0) / std::max(1.0f, y1 - y0));
        for (int x = (int)std::floor(x0); x < (int)std::ceil(x1); x++) {
            float d = roundBoxDistance(x + 0.5f, y + 0.5f, x0, y0, x1, y1, r);
            blendPixel(bmp, x, y, c, alpha * clamp01(0.5f - d));
        }
    }
}

void strokeRoundBox(BITMAP *bmp, float x0, float y0, float x1, float y1, float r,
                    float w, Rgb c, float alpha)
{
    for (int y = (int)std::floor(y0); y < (int)std::ceil(y1); y++)
        for (int x = (int)std::floor(x0); x < (int)std::ceil(x1); x++) {
            float d = roundBoxDistance(x + 0.5f, y + 0.5f, x0, y0, x1, y1, r);
            float cover = clamp01(0.5f - d) * clamp01(d + w + 0.5f);
            blendPixel(bmp, x, y, c, alpha * cover);
        }
}

void softShadow(BITMAP *bmp, float x0, float y0, float x1, float y1, float r,
                float blur, float alpha)
{
    for (int y = (int)(y0 - blur); y < (int)(y1 + blur) + 1; y++)
        for (int x = (int)(x0 - blur); x < (int)(x1 + blur) + 1; x++) {
            float d = roundBoxDistance(x + 0.5f, y + 0.5f, x0, y0, x1, y1, r);
            float t = clamp01(1 - (d + blur * 0.3f) / blur);
            blendPixel(bmp, x, y, BLACK, alpha * t * t);
        }
}

void fillDisc(BITMAP *bmp, float cx, float cy, float radius, Rgb c, float alpha)
{
    for (int y = (int)(cy - radius - 1); y <= (int)(cy + radius + 1); y++)
        for (int x = (int)(cx - radius - 1); x <= (int)(cx + radius + 1); x++) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius;
            blendPixel(bmp, x, y, c, alpha * clamp01(0.5f - d));
        }
}

void glow(BITMAP *bmp, float cx, float cy, float radius, Rgb c, float alpha)
{
    for (int y = (int)(cy - radius - 1); y <= (int)(cy + radius + 1); y++)
        for (int x = (int)(cx - radius - 1); x <= (int)(cx + radius + 1); x++) {
            float t = 1 - std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            if (t > 0)
                blendPixel(bmp, x, y, c, alpha * t * t);
        }
}

void sparkle(BITMAP *bmp, float cx, float cy, float size, Rgb c, float alpha)
{
    for (int y = (int)(cy - size - 1); y <= (int)(cy + size + 1); y++)
        for (int x = (int)(cx - size - 1); x <= (int)(cx + size + 1); x++) {
            float dx = std::fabs(x + 0.5f - cx), dy = std::fabs(y + 0.5f - cy);
            float ray = std::max(clamp01(1 - dx / size) * clamp01(1.3f - dy),
                                 clamp01(1 - dy / size) * clamp01(1.3f - dx));
            float core = clamp01(1 - std::hypot(dx, dy) / (size * 0.45f));
            blendPixel(bmp, x, y, c, alpha * std::max(ray, core));
        }
}

void drawLine(BITMAP *bmp, float x0, float y0, float x1, float y1, float w, Rgb c, float alpha)
{
    float len2 = (x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0);
    int left = (int)(std::min(x0, x1) - w - 1), right = (int)(std::max(x0, x1) + w + 1);
    int top = (int)(std::min(y0, y1) - w - 1), bottom = (int)(std::max(y0, y1) + w + 1);
    for (int y = top; y <= bottom; y++)
        for (int x = left; x <= right; x++) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 0 ? clamp01((px * (x1 - x0) + py * (y1 - y0)) / len2) : 0;
            float d = std::hypot(px - t * (x1 - x0), py - t * (y1 - y0)) - w / 2;
            blendPixel(bmp, x, y, c, alpha * clamp01(0.5f - d));
        }
}

void finishOpaque(BITMAP *bmp)
{
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++) {
            int p = _getpixel32(bmp, x, y);
            int r = getr32(p), g = getg32(p), b = getb32(p);
            if (r == 255 && g == 0 && b == 255)
                g = 1;
            _putpixel32(bmp, x, y, makeacol32(r, g, b, 255));
        }
}

void finishMasked(BITMAP *bmp, Rgb matte, float threshold)
{
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++) {
            int p = _getpixel32(bmp, x, y);
            float a = geta32(p) / 255.0f;
            if (a < threshold) {
                _putpixel32(bmp, x, y, makeacol32(255, 0, 255, 255));
                continue;
            }
            Rgb c = mix(matte, {getr32(p), getg32(p), getb32(p)}, a);
            if (c.r == 255 && c.g == 0 && c.b == 255)
                c.g = 1;
            _putpixel32(bmp, x, y, makeacol32(c.r, c.g, c.b, 255));
        }
}

void copyArea(BITMAP *from, BITMAP *to, int sx, int sy, int dx, int dy, int w, int h)
{
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (sx + x < from->w && sy + y < from->h && dx + x < to->w && dy + y < to->h)
                _putpixel32(to, dx + x, dy + y, _getpixel32(from, sx + x, sy + y));
}

void seedRandom(unsigned seed)
{
    randomState = seed ? seed : 1;
}

float randomUnit()
{
    randomState = randomState * 1103515245u + 12345u;
    return ((randomState >> 8) & 0xFFFF) / 65535.0f;
}
