// tiles.h -- the 30x30 pictures of the well: the empty cell and well
// background, the nine digit tiles and their clear animations, and the
// logo tile that also makes the program's icons.
#pragma once
#include "assets/paint.h"

const int CELL = 30;

// One empty well cell, the unit the well background is tiled from.
BITMAP *makeWellCell();

// The empty well, 330x450: eleven by fifteen empty cells.
BITMAP *makeWellBackground();

// Digit tile for digit code d (0..8, shown as d + 1); fully opaque.
BITMAP *makeDigitSprite(int d);

// Frame f (0..13) of the clear animation of digit code d; masked.
BITMAP *makeClearFrame(int d, int f);

// The game's logo tile at size x size with coverage in the top byte.
BITMAP *makeLogoTile(int size);

// One digit tile of any size drawn at (x, y), for menus and help pictures.
void paintDigitTile(BITMAP *bmp, float x, float y, float size, int d);
