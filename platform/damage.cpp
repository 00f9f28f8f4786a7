// damage.cpp -- marks the tiles of the canvas that drawing touches. The
// library dispatches every drawing call on a bitmap through the bitmap's
// method table, so the canvas gets a copy of its table in which each
// drawing method first marks the rectangle it may touch and then calls the
// library's own method. Methods with awkward shapes mark the whole canvas;
// they are rare (a dialog's round icon). Reading the canvas is not wrapped.
// A plain copy from a picture that never changes remembers, per tile it
// covers whole, where it came from: copying the same again leaves the tile
// as it was, so it is not marked; any other drawing on the tile forgets it.
#include "platform/damage.h"
#include <cstring>
#include <utility>

unsigned char damagedTiles[TILE_ROWS][TILE_COLUMNS];
static DrawnArea drawnAreas[TILE_ROWS][TILE_COLUMNS];   // what was drawn on each marked tile

static GFX_VTABLE original;       // the library's methods for a 32-bit memory bitmap
static GFX_VTABLE marking;        // the same, each marking its damage first

// Where a tile's whole picture was last copied from: an unchanging picture
// and the offset from canvas to picture coordinates; no source when unknown.
struct TileSource {
    const BITMAP *picture;
    int dx, dy;
};
static TileSource tileSources[TILE_ROWS][TILE_COLUMNS];
static const int MAX_UNCHANGING = 8;
static const BITMAP *unchangingPictures[MAX_UNCHANGING];
static int unchangingCount = 0;

// Marks one tile and adds the part of the inclusive rectangle (x1, y1)-(x2,
// y2) of the canvas that lies on it to what was drawn there.
static void markTile(int row, int column, int x1, int y1, int x2, int y2)
{
    int left = column * PRESENT_TILE, top = row * PRESENT_TILE;
    DrawnArea part = {(short)MAX(x1, left), (short)MAX(y1, top), (short)(MIN(x2, left + PRESENT_TILE - 1) + 1),
                      (short)(MIN(y2, top + PRESENT_TILE - 1) + 1)};
    DrawnArea &area = drawnAreas[row][column];
    if (damagedTiles[row][column]) {
        area = {MIN(area.left, part.left), MIN(area.top, part.top), MAX(area.right, part.right),
                MAX(area.bottom, part.bottom)};
    } else {
        area = part;
        damagedTiles[row][column] = 1;
    }
}

// Marks the tiles under the inclusive rectangle (x1, y1)-(x2, y2) of bmp, in either order.
static void mark(BITMAP *bmp, int x1, int y1, int x2, int y2)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    x1 = MAX(x1 + bmp->x_ofs, 0);
    y1 = MAX(y1 + bmp->y_ofs, 0);
    x2 = MIN(x2 + bmp->x_ofs, CANVAS_W - 1);
    y2 = MIN(y2 + bmp->y_ofs, CANVAS_H - 1);
    for (int row = y1 / PRESENT_TILE; row <= y2 / PRESENT_TILE; row++)
        for (int column = x1 / PRESENT_TILE; column <= x2 / PRESENT_TILE; column++) {
            markTile(row, column, x1, y1, x2, y2);
            tileSources[row][column].picture = nullptr;
        }
}

// Marks a w x h area with its top-left corner at (x, y).
static void markArea(BITMAP *bmp, int x, int y, int w, int h)
{
    if (w > 0 && h > 0)
        mark(bmp, x, y, x + w - 1, y + h - 1);
}

void damageWholeCanvas()
{
    memset(damagedTiles, 0, sizeof damagedTiles);
    for (int row = 0; row < TILE_ROWS; row++)
        for (int column = 0; column < TILE_COLUMNS; column++)
            markTile(row, column, 0, 0, CANVAS_W - 1, CANVAS_H - 1);
    memset(tileSources, 0, sizeof tileSources);
}

DrawnArea drawnBounds(int first, int last, int top, int rows)
{
    DrawnArea bounds = {CANVAS_W, CANVAS_H, 0, 0};
    for (int row = top; row < top + rows; row++)
        for (int column = first; column < last; column++) {
            if (!damagedTiles[row][column])
                continue;
            const DrawnArea &a = drawnAreas[row][column];
            bounds = {MIN(bounds.left, a.left), MIN(bounds.top, a.top), MAX(bounds.right, a.right),
                      MAX(bounds.bottom, a.bottom)};
        }
    return bounds;
}

void markUnchangingPicture(BITMAP *picture)
{
    for (int i = 0; i < unchangingCount; i++)
        if (unchangingPictures[i] == picture)
            return;
    if (picture && unchangingCount < MAX_UNCHANGING)
        unchangingPictures[unchangingCount++] = picture;
}

// 1 for a picture named as never changing.
static int unchanging(const BITMAP *picture)
{
    for (int i = 0; i < unchangingCount; i++)
        if (unchangingPictures[i] == picture)
            return 1;
    return 0;
}

// Marks a plain copy of a w x h area from picture (sx, sy) to the canvas at
// (dx, dy). A tile that already holds this very copy of an unchanging
// picture, whole, stays as it is, however much of it is copied again: it is
// not marked. The others are marked, and those it covers whole remember it.
static void markCopy(BITMAP *picture, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    if (d != canvas || !unchanging(picture)) {
        markArea(d, dx, dy, w, h);
        return;
    }
    TileSource copy = {picture, sx - dx, sy - dy};
    for (int row = dy / PRESENT_TILE; row <= (dy + h - 1) / PRESENT_TILE; row++)
        for (int column = dx / PRESENT_TILE; column <= (dx + w - 1) / PRESENT_TILE; column++) {
            int left = column * PRESENT_TILE, top = row * PRESENT_TILE;
            bool whole = left >= dx && top >= dy && left + PRESENT_TILE <= dx + w && top + PRESENT_TILE <= dy + h;
            TileSource &known = tileSources[row][column];
            if (known.picture == copy.picture && known.dx == copy.dx && known.dy == copy.dy)
                continue;
            markTile(row, column, dx, dy, dx + w - 1, dy + h - 1);
            known = whole ? copy : TileSource{nullptr, 0, 0};
        }
}

void clearDamage()
{
    memset(damagedTiles, 0, sizeof damagedTiles);
}

// Points and lines.
static void putpixelMarked(BITMAP *b, int x, int y, int c) { mark(b, x, y, x, y); original.putpixel(b, x, y, c); }
static void vlineMarked(BITMAP *b, int x, int y1, int y2, int c) { mark(b, x, y1, x, y2); original.vline(b, x, y1, y2, c); }
static void hlineMarked(BITMAP *b, int x1, int y, int x2, int c) { mark(b, x1, y, x2, y); original.hline(b, x1, y, x2, c); }
static void hfillMarked(BITMAP *b, int x1, int y, int x2, int c) { mark(b, x1, y, x2, y); original.hfill(b, x1, y, x2, c); }
static void lineMarked(BITMAP *b, int x1, int y1, int x2, int y2, int c) { mark(b, x1, y1, x2, y2); original.line(b, x1, y1, x2, y2, c); }
static void fastlineMarked(BITMAP *b, int x1, int y1, int x2, int y2, int c) { mark(b, x1, y1, x2, y2); original.fastline(b, x1, y1, x2, y2, c); }
static void rectfillMarked(BITMAP *b, int x1, int y1, int x2, int y2, int c) { mark(b, x1, y1, x2, y2); original.rectfill(b, x1, y1, x2, y2, c); }
static void rectMarked(BITMAP *b, int x1, int y1, int x2, int y2, int c) { mark(b, x1, y1, x2, y2); original.rect(b, x1, y1, x2, y2, c); }
static void circleMarked(BITMAP *b, int x, int y, int r, int c) { mark(b, x - r, y - r, x + r, y + r); original.circle(b, x, y, r, c); }
static void circlefillMarked(BITMAP *b, int x, int y, int r, int c) { mark(b, x - r, y - r, x + r, y + r); original.circlefill(b, x, y, r, c); }
static void clearMarked(BITMAP *b, int c) { damageWholeCanvas(); original.clear_to_color(b, c); }

// Sprites and glyphs cover their own size.
static void spriteMarked(BITMAP *b, BITMAP *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_sprite(b, s, x, y); }
static void sprite256Marked(BITMAP *b, BITMAP *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_256_sprite(b, s, x, y); }
static void spriteVFlipMarked(BITMAP *b, BITMAP *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_sprite_v_flip(b, s, x, y); }
static void spriteHFlipMarked(BITMAP *b, BITMAP *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_sprite_h_flip(b, s, x, y); }
static void spriteVHFlipMarked(BITMAP *b, BITMAP *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_sprite_vh_flip(b, s, x, y); }
static void transSpriteMarked(BITMAP *b, BITMAP *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_trans_sprite(b, s, x, y); }
static void rgbaSpriteMarked(BITMAP *b, BITMAP *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_trans_rgba_sprite(b, s, x, y); }
static void litSpriteMarked(BITMAP *b, BITMAP *s, int x, int y, int c) { markArea(b, x, y, s->w, s->h); original.draw_lit_sprite(b, s, x, y, c); }
static void spriteExMarked(BITMAP *b, BITMAP *s, int x, int y, int m, int f) { markArea(b, x, y, s->w, s->h); original.draw_sprite_ex(b, s, x, y, m, f); }
static void characterMarked(BITMAP *b, BITMAP *s, int x, int y, int c, int bg) { markArea(b, x, y, s->w, s->h); original.draw_character(b, s, x, y, c, bg); }
static void glyphMarked(BITMAP *b, const FONT_GLYPH *g, int x, int y, int c, int bg) { markArea(b, x, y, g->w, g->h); original.draw_glyph(b, g, x, y, c, bg); }
static void rleMarked(BITMAP *b, const RLE_SPRITE *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_rle_sprite(b, s, x, y); }
static void transRleMarked(BITMAP *b, const RLE_SPRITE *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_trans_rle_sprite(b, s, x, y); }
static void rgbaRleMarked(BITMAP *b, const RLE_SPRITE *s, int x, int y) { markArea(b, x, y, s->w, s->h); original.draw_trans_rgba_rle_sprite(b, s, x, y); }
static void litRleMarked(BITMAP *b, const RLE_SPRITE *s, int x, int y, int c) { markArea(b, x, y, s->w, s->h); original.draw_lit_rle_sprite(b, s, x, y, c); }

// Blits onto the canvas cover their destination rectangle.
static void blitMemoryMarked(BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h) { markCopy(s, d, sx, sy, dx, dy, w, h); original.blit_from_memory(s, d, sx, sy, dx, dy, w, h); }
static void blitSystemMarked(BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h) { markCopy(s, d, sx, sy, dx, dy, w, h); original.blit_from_system(s, d, sx, sy, dx, dy, w, h); }
static void blitSelfMarked(BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h) { markCopy(s, d, sx, sy, dx, dy, w, h); original.blit_to_self(s, d, sx, sy, dx, dy, w, h); }
static void blitForwardMarked(BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h) { markArea(d, dx, dy, w, h); original.blit_to_self_forward(s, d, sx, sy, dx, dy, w, h); }
static void blitBackwardMarked(BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h) { markArea(d, dx, dy, w, h); original.blit_to_self_backward(s, d, sx, sy, dx, dy, w, h); }
static void blitFormatsMarked(BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h) { markArea(d, dx, dy, w, h); original.blit_between_formats(s, d, sx, sy, dx, dy, w, h); }
static void maskedBlitMarked(BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h) { markArea(d, dx, dy, w, h); original.masked_blit(s, d, sx, sy, dx, dy, w, h); }
static void stretchMarked(BITMAP *s, BITMAP *d, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh, int m) { markArea(d, dx, dy, dw, dh); original.do_stretch_blit(s, d, sx, sy, sw, sh, dx, dy, dw, dh, m); }

// Shapes whose extent is awkward to work out mark everything.
static void triangleMarked(BITMAP *b, int x1, int y1, int x2, int y2, int x3, int y3, int c) { damageWholeCanvas(); original.triangle(b, x1, y1, x2, y2, x3, y3, c); }
static void polygonMarked(BITMAP *b, int n, const int *p, int c) { damageWholeCanvas(); original.polygon(b, n, p, c); }
static void ellipseMarked(BITMAP *b, int x, int y, int rx, int ry, int c) { damageWholeCanvas(); original.ellipse(b, x, y, rx, ry, c); }
static void ellipsefillMarked(BITMAP *b, int x, int y, int rx, int ry, int c) { damageWholeCanvas(); original.ellipsefill(b, x, y, rx, ry, c); }
static void arcMarked(BITMAP *b, int x, int y, fixed a1, fixed a2, int r, int c) { damageWholeCanvas(); original.arc(b, x, y, a1, a2, r, c); }
static void splineMarked(BITMAP *b, const int p[8], int c) { damageWholeCanvas(); original.spline(b, p, c); }
static void floodfillMarked(BITMAP *b, int x, int y, int c) { damageWholeCanvas(); original.floodfill(b, x, y, c); }
static void pivotMarked(BITMAP *b, BITMAP *s, fixed x, fixed y, fixed cx, fixed cy, fixed a, fixed sc, int f) { damageWholeCanvas(); original.pivot_scaled_sprite_flip(b, s, x, y, cx, cy, a, sc, f); }
static void gouraudMarked(BITMAP *b, BITMAP *s, int x, int y, int c1, int c2, int c3, int c4) { damageWholeCanvas(); original.draw_gouraud_sprite(b, s, x, y, c1, c2, c3, c4); }
static void polygon3dMarked(BITMAP *b, int t, BITMAP *tx, int n, V3D *v[]) { damageWholeCanvas(); original.polygon3d(b, t, tx, n, v); }
static void polygon3dfMarked(BITMAP *b, int t, BITMAP *tx, int n, V3D_f *v[]) { damageWholeCanvas(); original.polygon3d_f(b, t, tx, n, v); }
static void triangle3dMarked(BITMAP *b, int t, BITMAP *tx, V3D *v1, V3D *v2, V3D *v3) { damageWholeCanvas(); original.triangle3d(b, t, tx, v1, v2, v3); }
static void triangle3dfMarked(BITMAP *b, int t, BITMAP *tx, V3D_f *v1, V3D_f *v2, V3D_f *v3) { damageWholeCanvas(); original.triangle3d_f(b, t, tx, v1, v2, v3); }
static void quad3dMarked(BITMAP *b, int t, BITMAP *tx, V3D *v1, V3D *v2, V3D *v3, V3D *v4) { damageWholeCanvas(); original.quad3d(b, t, tx, v1, v2, v3, v4); }
static void quad3dfMarked(BITMAP *b, int t, BITMAP *tx, V3D_f *v1, V3D_f *v2, V3D_f *v3, V3D_f *v4) { damageWholeCanvas(); original.quad3d_f(b, t, tx, v1, v2, v3, v4); }

// Puts a marking method in place of each drawing method the library has;
// a missing one stays missing, so the library still falls back as it would.
template <typename Method>
static void wrap(Method GFX_VTABLE::*slot, Method replacement)
{
    if (original.*slot)
        marking.*slot = replacement;
}

void trackCanvasDamage()
{
    if (canvas->vtable == &marking)
        return;
    original = *canvas->vtable;
    marking = original;
    wrap(&GFX_VTABLE::putpixel, putpixelMarked);
    wrap(&GFX_VTABLE::vline, vlineMarked);
    wrap(&GFX_VTABLE::hline, hlineMarked);
    wrap(&GFX_VTABLE::hfill, hfillMarked);
    wrap(&GFX_VTABLE::line, lineMarked);
    wrap(&GFX_VTABLE::fastline, fastlineMarked);
    wrap(&GFX_VTABLE::rectfill, rectfillMarked);
    wrap(&GFX_VTABLE::rect, rectMarked);
    wrap(&GFX_VTABLE::circle, circleMarked);
    wrap(&GFX_VTABLE::circlefill, circlefillMarked);
    wrap(&GFX_VTABLE::clear_to_color, clearMarked);
    wrap(&GFX_VTABLE::draw_sprite, spriteMarked);
    wrap(&GFX_VTABLE::draw_256_sprite, sprite256Marked);
    wrap(&GFX_VTABLE::draw_sprite_v_flip, spriteVFlipMarked);
    wrap(&GFX_VTABLE::draw_sprite_h_flip, spriteHFlipMarked);
    wrap(&GFX_VTABLE::draw_sprite_vh_flip, spriteVHFlipMarked);
    wrap(&GFX_VTABLE::draw_trans_sprite, transSpriteMarked);
    wrap(&GFX_VTABLE::draw_trans_rgba_sprite, rgbaSpriteMarked);
    wrap(&GFX_VTABLE::draw_lit_sprite, litSpriteMarked);
    wrap(&GFX_VTABLE::draw_sprite_ex, spriteExMarked);
    wrap(&GFX_VTABLE::draw_character, characterMarked);
    wrap(&GFX_VTABLE::draw_glyph, glyphMarked);
    wrap(&GFX_VTABLE::draw_rle_sprite, rleMarked);
    wrap(&GFX_VTABLE::draw_trans_rle_sprite, transRleMarked);
    wrap(&GFX_VTABLE::draw_trans_rgba_rle_sprite, rgbaRleMarked);
    wrap(&GFX_VTABLE::draw_lit_rle_sprite, litRleMarked);
    wrap(&GFX_VTABLE::blit_from_memory, blitMemoryMarked);
    wrap(&GFX_VTABLE::blit_from_system, blitSystemMarked);
    wrap(&GFX_VTABLE::blit_to_self, blitSelfMarked);
    wrap(&GFX_VTABLE::blit_to_self_forward, blitForwardMarked);
    wrap(&GFX_VTABLE::blit_to_self_backward, blitBackwardMarked);
    wrap(&GFX_VTABLE::blit_between_formats, blitFormatsMarked);
    wrap(&GFX_VTABLE::masked_blit, maskedBlitMarked);
    wrap(&GFX_VTABLE::do_stretch_blit, stretchMarked);
    wrap(&GFX_VTABLE::triangle, triangleMarked);
    wrap(&GFX_VTABLE::polygon, polygonMarked);
    wrap(&GFX_VTABLE::ellipse, ellipseMarked);
    wrap(&GFX_VTABLE::ellipsefill, ellipsefillMarked);
    wrap(&GFX_VTABLE::arc, arcMarked);
    wrap(&GFX_VTABLE::spline, splineMarked);
    wrap(&GFX_VTABLE::floodfill, floodfillMarked);
    wrap(&GFX_VTABLE::pivot_scaled_sprite_flip, pivotMarked);
    wrap(&GFX_VTABLE::draw_gouraud_sprite, gouraudMarked);
    wrap(&GFX_VTABLE::polygon3d, polygon3dMarked);
    wrap(&GFX_VTABLE::polygon3d_f, polygon3dfMarked);
    wrap(&GFX_VTABLE::triangle3d, triangle3dMarked);
    wrap(&GFX_VTABLE::triangle3d_f, triangle3dfMarked);
    wrap(&GFX_VTABLE::quad3d, quad3dMarked);
    wrap(&GFX_VTABLE::quad3d_f, quad3dfMarked);
    canvas->vtable = &marking;
    damageWholeCanvas();
}
