// glyphs.cpp -- FreeType rasterising. Pictures get anti-aliased text; the
// game's fonts are rendered in one-bit mode so Allegro makes mono fonts of
// them, which take whatever colour the game asks for.
#include "assets/glyphs.h"
#include <ft2build.h>
#include FT_FREETYPE_H
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

static const char *FONT_DIR = "/usr/share/fonts/truetype/dejavu/";
static const char *faceFiles[FACE_COUNT] = {
    "DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
    "DejaVuSansMono-Bold.ttf", "DejaVuSerif-Bold.ttf",
};
static FT_Library library;
static FT_Face faces[FACE_COUNT];

void openFaces()
{
    if (FT_Init_FreeType(&library)) {
        fprintf(stderr, "tumblegrid-assets: FreeType does not start\n");
        exit(1);
    }
    for (int i = 0; i < FACE_COUNT; i++) {
        char path[512];
        snprintf(path, sizeof path, "%s%s", FONT_DIR, faceFiles[i]);
        if (FT_New_Face(library, path, 0, &faces[i])) {
            fprintf(stderr, "tumblegrid-assets: cannot open %s (fonts-dejavu-core)\n", path);
            exit(1);
        }
    }
}

static FT_Face sized(Face face, int px)
{
    FT_Set_Pixel_Sizes(faces[face], 0, px);
    return faces[face];
}

static int ascender(FT_Face f)
{
    return (int)((f->size->metrics.ascender + 63) >> 6);
}

int lineHeight(Face face, int px)
{
    FT_Face f = sized(face, px);
    return ascender(f) + (int)((-f->size->metrics.descender + 63) >> 6);
}

int textWidth(Face face, int px, const char *text)
{
    FT_Face f = sized(face, px);
    int w = 0;
    for (const char *p = text; *p; p++)
        if (!FT_Load_Char(f, (unsigned char)*p, FT_LOAD_DEFAULT))
            w += (int)(f->glyph->advance.x >> 6);
    return w;
}

// Paints one run of text with the top of its line box at y.
static void paintRun(BITMAP *bmp, Face face, int px, int x, int y, Rgb c, const char *text,
                     float alpha)
{
    FT_Face f = sized(face, px);
    int penX = x, baseline = y + ascender(f);
    for (const char *p = text; *p; p++) {
        if (FT_Load_Char(f, (unsigned char)*p, FT_LOAD_RENDER))
            continue;
        FT_Bitmap &g = f->glyph->bitmap;
        int left = penX + f->glyph->bitmap_left, top = baseline - f->glyph->bitmap_top;
        for (unsigned row = 0; row < g.rows; row++)
            for (unsigned col = 0; col < g.width; col++) {
                unsigned char v = g.buffer[row * g.pitch + col];
                if (v)
                    blendPixel(bmp, left + col, top + row, c, alpha * v / 255.0f);
            }
        penX += (int)(f->glyph->advance.x >> 6);
    }
}

void drawTextAt(BITMAP *bmp, Face face, int px, int x, int y, Rgb c, const char *text, float shadow)
{
    if (shadow > 0) {
        // two offset passes give the shadow a soft edge
        paintRun(bmp, face, px, x + 1, y + 1, BLACK, text, shadow * 0.5f);
        paintRun(bmp, face, px, x + 2, y + 2, BLACK, text, shadow * 0.6f);
    }
    paintRun(bmp, face, px, x, y, c, text, 1.0f);
}

void drawTextCentred(BITMAP *bmp, Face face, int px, int cx, int y, Rgb c, const char *text,
                     float shadow)
{
    drawTextAt(bmp, face, px, cx - textWidth(face, px, text) / 2, y, c, text, shadow);
}

int fitSize(Face face, const char *text, int maxWidth, int px)
{
    while (px > 6 && textWidth(face, px, text) > maxWidth)
        px--;
    return px;
}

// One glyph rendered in one-bit mode, kept until the grid is laid out.
struct MonoGlyph {
    int left, top, width, rows, advance;
    std::vector<unsigned char> ink;
};

static MonoGlyph renderMono(FT_Face f, int ch)
{
    MonoGlyph m = {0, 0, 0, 0, 0, {}};
    if (FT_Load_Char(f, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME))
        return m;
    FT_Bitmap &g = f->glyph->bitmap;
    m.left = f->glyph->bitmap_left;
    m.top = f->glyph->bitmap_top;
    m.width = (int)g.width;
    m.rows = (int)g.rows;
    m.advance = (int)(f->glyph->advance.x >> 6);
    m.ink.resize(m.width * m.rows);
    for (int r = 0; r < m.rows; r++)
        for (int c = 0; c < m.width; c++)
            m.ink[r * m.width + c] = (g.buffer[r * g.pitch + c / 8] >> (7 - c % 8)) & 1;
    return m;
}

int writeGridFont(const char *path, Face face, int px)
{
    const int PER_ROW = 16, FIRST = 32, COUNT = 95;
    FT_Face f = sized(face, px);
    std::vector<MonoGlyph> glyphs;
    int ascent = 0, descent = 0;
    for (int i = 0; i < COUNT; i++) {
        glyphs.push_back(renderMono(f, FIRST + i));
        const MonoGlyph &m = glyphs.back();
        if (m.rows) {
            ascent = std::max(ascent, m.top);
            descent = std::max(descent, m.rows - m.top);
        }
    }
    int cellH = ascent + descent;
    std::vector<int> cellW(COUNT);
    int gridW = 0;
    for (int i = 0; i < COUNT; i++) {
        const MonoGlyph &m = glyphs[i];
        cellW[i] = std::max({1, m.advance, std::max(0, m.left) + m.width});
        if (i % PER_ROW == 0) {
            int rowW = 1;
            for (int j = i; j < std::min(COUNT, i + PER_ROW); j++)
                rowW += std::max({1, glyphs[j].advance, std::max(0, glyphs[j].left) + glyphs[j].width}) + 1;
            gridW = std::max(gridW, rowW);
        }
    }
    int rowsOfCells = (COUNT + PER_ROW - 1) / PER_ROW;
    BITMAP *grid = create_bitmap_ex(8, gridW, rowsOfCells * (cellH + 1) + 1);
    clear_to_color(grid, 255);
    int x = 1;
    for (int i = 0; i < COUNT; i++) {
        if (i % PER_ROW == 0)
            x = 1;
        int y = 1 + (i / PER_ROW) * (cellH + 1);
        rectfill(grid, x, y, x + cellW[i] - 1, y + cellH - 1, 0);
        const MonoGlyph &m = glyphs[i];
        int gx = x + std::max(0, m.left), gy = y + ascent - m.top;
        for (int r = 0; r < m.rows; r++)
            for (int c = 0; c < m.width; c++)
                if (m.ink[r * m.width + c] && gy + r >= y && gy + r < y + cellH)
                    putpixel(grid, gx + c, gy + r, 1);
        x += cellW[i] + 1;
    }
    PALETTE pal;
    for (int i = 0; i < 256; i++)
        pal[i].r = pal[i].g = pal[i].b = 0;
    pal[1].r = pal[1].g = pal[1].b = 63;
    pal[255].r = pal[255].g = 63;
    save_bitmap(path, grid, pal);
    destroy_bitmap(grid);
    return cellH;
}

void drawGlyphCentred(BITMAP *bmp, Face face, int px, float cx, float cy, int ch,
                      Rgb fill, Rgb edge, float edgeWidth)
{
    FT_Face f = sized(face, px);
    if (FT_Load_Char(f, ch, FT_LOAD_RENDER))
        return;
    FT_Bitmap &g = f->glyph->bitmap;
    int left = (int)(cx - g.width / 2.0f + 0.5f), top = (int)(cy - g.rows / 2.0f + 0.5f);
    auto ink = [&](int col, int row) -> float {
        if (col < 0 || row < 0 || col >= (int)g.width || row >= (int)g.rows)
            return 0;
        return g.buffer[row * g.pitch + col] / 255.0f;
    };
    int reach = (int)std::ceil(edgeWidth);
    if (edgeWidth > 0)
        for (int row = -reach; row < (int)g.rows + reach; row++)
            for (int col = -reach; col < (int)g.width + reach; col++) {
                // the outline is the glyph's coverage spread over a small disc
                float best = 0;
                for (int dy = -reach; dy <= reach; dy++)
                    for (int dx = -reach; dx <= reach; dx++)
                        if (dx * dx + dy * dy <= edgeWidth * edgeWidth + 0.5f)
                            best = std::max(best, ink(col + dx, row + dy));
                blendPixel(bmp, left + col, top + row, edge, best);
            }
    for (int row = 0; row < (int)g.rows; row++)
        for (int col = 0; col < (int)g.width; col++)
            blendPixel(bmp, left + col, top + row, fill, ink(col, row));
}
