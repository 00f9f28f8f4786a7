// damage.h -- which tiles of the canvas have been drawn on since the
// presenter last looked. The canvas's drawing methods are wrapped so every
// drawing call marks the tiles it may touch; the presenter then compares
// only those tiles with what it showed, instead of the whole canvas.
#pragma once
#include "platform/present.h"

const int TILE_COLUMNS = CANVAS_W / PRESENT_TILE;
const int TILE_ROWS = CANVAS_H / PRESENT_TILE;

// Per tile, 1 when something was drawn on it since the last clearDamage.
extern unsigned char damagedTiles[TILE_ROWS][TILE_COLUMNS];

// A rectangle of the canvas: left and top inclusive, right and bottom not.
struct DrawnArea {
    short left, top, right, bottom;
};

// The smallest rectangle holding all that was drawn on the marked tiles of
// columns [first, last) and rows [top, top + rows), since the last
// clearDamage; a tile marked as a whole counts whole. Nothing outside it can
// have changed, so the presenter need not resample more.
DrawnArea drawnBounds(int first, int last, int top, int rows);

// Wraps the canvas's drawing methods so that they mark damage; call once the canvas exists.
void trackCanvasDamage();

// Names a picture that never changes (a background). Copying the same part
// of it onto tiles that already hold exactly that copy does not damage them,
// so the redrawing of backgrounds each frame costs the presenter nothing.
void markUnchangingPicture(BITMAP *picture);

// Marks every tile as drawn on.
void damageWholeCanvas();

// Forgets all marks.
void clearDamage();
