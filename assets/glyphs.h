// glyphs.h -- text from Debian's DejaVu fonts through FreeType: smooth text
// painted into pictures, and the game's two monochrome fonts written as
// Allegro font-grid images.
#pragma once
#include "assets/paint.h"

enum Face { SANS, SANS_BOLD, MONO, MONO_BOLD, SERIF_BOLD, FACE_COUNT };

// Opens every face; exits with a message if a font file is missing.
void openFaces();

// Width in pixels of a text set in the face at the given pixel size.
int textWidth(Face face, int px, const char *text);

// Height of a line box (ascender to descender) at the given pixel size.
int lineHeight(Face face, int px);

// Paints text centred on cx, with a soft drop shadow when shadow > 0.
void drawTextCentred(BITMAP *bmp, Face face, int px, int cx, int y, Rgb c, const char *text,
                     float shadow = 0);

// Paints text at (x, y) with an optional drop shadow.
void drawTextAt(BITMAP *bmp, Face face, int px, int x, int y, Rgb c, const char *text,
                float shadow = 0);

// The largest size no bigger than px at which the text fits maxWidth.
int fitSize(Face face, const char *text, int maxWidth, int px);

// Writes an 8-bit font-grid BMP (0 clear, 1 ink, 255 between cells) of
// the printable ASCII range; returns the cell height.
int writeGridFont(const char *path, Face face, int px);

// Paints one character centred on (cx, cy) by its inked box, with an
// outline of the given width (0 for none) in the edge colour.
void drawGlyphCentred(BITMAP *bmp, Face face, int px, float cx, float cy, int ch,
                      Rgb fill, Rgb edge, float edgeWidth);
