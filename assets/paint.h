// paint.h -- the generator's drawing kit: the game's palette, anti-aliased
// shapes and gradients on 32-bit Allegro memory bitmaps whose top byte holds
// coverage, and the finishing steps that turn coverage into the mask colour.
#pragma once
#include <allegro.h>

struct Rgb {
    int r, g, b;
};

// The one palette every screen is drawn from.
const Rgb NIGHT = {14, 18, 38};        // deepest backdrop
const Rgb DUSK = {36, 44, 86};         // backdrop highlight
const Rgb WELL_DARK = {20, 25, 46};    // inside of the well
const Rgb FRAME_DARK = {46, 54, 92};   // bevelled frames
const Rgb FRAME_LIGHT = {120, 132, 190};
const Rgb PANEL = {242, 238, 226};     // light panels under black text
const Rgb PANEL_EDGE = {198, 186, 150};
const Rgb GOLD = {255, 196, 72};
const Rgb TEAL = {64, 196, 200};
const Rgb STEEL = {84, 112, 150};      // gain column: white, black, yellow and red all read on it
const Rgb WHITE = {255, 255, 255};
const Rgb BLACK = {0, 0, 0};
const Rgb SOFT_WHITE = {226, 230, 246};
const Rgb MUTED = {150, 160, 204};     // secondary text on the dark backdrop
extern const Rgb DIGIT_HUES[9];

// A fresh 32-bit canvas, fully transparent.
BITMAP *newCanvas(int w, int h);

// Blends one pixel of colour c with coverage a (0..1) over the canvas.
void blendPixel(BITMAP *bmp, int x, int y, Rgb c, float a);

// Linear mix of two colours, t = 0 gives a.
Rgb mix(Rgb a, Rgb b, float t);

// Lightens toward white (f > 0) or darkens toward black (f < 0).
Rgb shade(Rgb c, float f);

// Opaque vertical gradient over the rectangle x0..x1, y0..y1 inclusive.
void verticalGradient(BITMAP *bmp, int x0, int y0, int x1, int y1, Rgb top, Rgb bottom);

// Signed distance from (px, py) to a rounded box; negative inside.
float roundBoxDistance(float px, float py, float x0, float y0, float x1, float y1, float r);

// Anti-aliased rounded box with a vertical gradient; corners are in pixel edges.
void fillRoundBox(BITMAP *bmp, float x0, float y0, float x1, float y1, float r,
                  Rgb top, Rgb bottom, float alpha = 1.0f);

// Anti-aliased outline of width w just inside a rounded box.
void strokeRoundBox(BITMAP *bmp, float x0, float y0, float x1, float y1, float r,
                    float w, Rgb c, float alpha = 1.0f);

// A soft shadow of a rounded box fading out over blur pixels.
void softShadow(BITMAP *bmp, float x0, float y0, float x1, float y1, float r,
                float blur, float alpha);

// Anti-aliased disc.
void fillDisc(BITMAP *bmp, float cx, float cy, float radius, Rgb c, float alpha = 1.0f);

// A round glow whose strength falls off to nothing at radius.
void glow(BITMAP *bmp, float cx, float cy, float radius, Rgb c, float alpha);

// A four-pointed sparkle: a bright core with two thin rays.
void sparkle(BITMAP *bmp, float cx, float cy, float size, Rgb c, float alpha);

// Anti-aliased line segment of the given width.
void drawLine(BITMAP *bmp, float x0, float y0, float x1, float y1, float w, Rgb c, float alpha = 1.0f);

// Makes every pixel opaque and moves pure magenta off the mask colour.
void finishOpaque(BITMAP *bmp);

// Pixels with coverage under the threshold become the mask colour; the
// rest are flattened over the matte they will usually be drawn on.
void finishMasked(BITMAP *bmp, Rgb matte, float threshold = 0.5f);

// Copies a rectangle of one canvas into another at (dx, dy).
void copyArea(BITMAP *from, BITMAP *to, int sx, int sy, int dx, int dy, int w, int h);

// A deterministic pseudo-random stream for texture and sparkles.
void seedRandom(unsigned seed);
float randomUnit();     // 0..1
