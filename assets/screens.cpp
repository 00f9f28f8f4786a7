// screens.cpp -- backgrounds of the play screen and the high-score list. The
// game erases its texts by copying back pieces of these pictures, so every
// place a text goes is a calm, even surface.
#include "assets/screens.h"
#include "assets/glyphs.h"
#include "assets/menuart.h"
#include "assets/tiles.h"
#include <cstdio>

static const int WELL_X = 350, WELL_Y = 100, WELL_W = 330, WELL_H = 450;
static const int HUD_X = 48;
static const int GAIN_LEFT = 740, GAIN_RIGHT = 887;

// The light panel the HUD's black text stands on, with the keys of play
// below the status lines; returns the panel's bottom.
static int paintHudPanel(BITMAP *bmp, const FontMetrics &m)
{
    static const char *hints[] = {
        "A / Left, D / Right:  move",
        "S / Down:  drop fast",
        "W / Up:  slow down (-50 points)",
        "P pause    F1 help    Q menu",
        "M music    E sound effects",
    };
    int statusBottom = WELL_Y + 2 * (m.hudHeight + 3) + 5 * (m.smallHeight + 3);
    int rule = statusBottom + 14, bottom = rule + 12 + 5 * 21 + 12;
    float l = HUD_X - 18, t = WELL_Y - 14, r = 322;
    softShadow(bmp, l, t, r, bottom, 12, 16, 0.6f);
    fillRoundBox(bmp, l, t, r, bottom, 12, PANEL, shade(PANEL, -0.06f));
    strokeRoundBox(bmp, l, t, r, bottom, 12, 2, PANEL_EDGE);
    drawLine(bmp, l + 14, rule, r - 14, rule, 1, PANEL_EDGE);
    int y = rule + 12;
    for (const char *hint : hints) {
        drawTextAt(bmp, SANS, 13, HUD_X, y, {92, 86, 72}, hint);
        y += 21;
    }
    return bottom;
}

// A reminder of the three shapes of a group, under the HUD panel.
static void paintGroupReminder(BITMAP *bmp, int top)
{
    static const int row[9] = {3, 7, 0, 5, 8, 2, 6, 1, 4};
    static const int box[9] = {6, 2, 8, 0, 4, 7, 3, 5, 1};
    drawTextAt(bmp, SANS_BOLD, 14, HUD_X - 12, top, SOFT_WHITE, "Clear groups of 1 to 9:", 0.6f);
    int y = top + 28;
    for (int i = 0; i < 9; i++)
        paintDigitTile(bmp, HUD_X - 12 + i * 20, y + 20, 20, row[i]);
    for (int i = 0; i < 9; i++)
        paintDigitTile(bmp, HUD_X + 196 + (i % 3) * 20, y + (i / 3) * 20, 20, box[i]);
    drawTextAt(bmp, SANS, 12, HUD_X - 12, y + 46, MUTED, "nine in a row or a column");
    drawTextAt(bmp, SANS, 12, HUD_X + 190, y + 66, MUTED, "or a 3x3 square");
}

// The bevelled frame around the well with the "Next" box on its top edge.
static void paintWellFrame(BITMAP *bmp)
{
    float l = WELL_X - 14, t = WELL_Y - 14, r = WELL_X + WELL_W + 14, b = WELL_Y + WELL_H + 14;
    softShadow(bmp, l, t, r, b, 14, 22, 0.7f);
    fillRoundBox(bmp, l, t, r, b, 14, FRAME_LIGHT, FRAME_DARK);
    strokeRoundBox(bmp, l, t, r, b, 14, 1.5f, shade(FRAME_LIGHT, 0.3f), 0.8f);
    // the "Next" box sits on the frame right above the entry column
    float nl = 500 - 9, nt = 70 - 26, nr = 530 + 9, nb = WELL_Y;
    softShadow(bmp, nl, nt, nr, nb - 4, 8, 10, 0.5f);
    fillRoundBox(bmp, nl, nt, nr, nb + 6, 8, shade(FRAME_LIGHT, 0.15f), FRAME_LIGHT);
    strokeRoundBox(bmp, nl, nt, nr, nb + 6, 8, 1.5f, shade(FRAME_LIGHT, 0.4f), 0.8f);
    drawTextCentred(bmp, SANS_BOLD, 12, 515, nt + 3, NIGHT, "Next");
    // inner lips and the cells
    fillRoundBox(bmp, WELL_X - 3, WELL_Y - 3, WELL_X + WELL_W + 3, WELL_Y + WELL_H + 3, 4,
                 shade(NIGHT, -0.5f), shade(NIGHT, -0.5f));
    fillRoundBox(bmp, 500 - 2, 70 - 2, 530 + 2, 100, 3, shade(NIGHT, -0.5f), shade(NIGHT, -0.5f));
    BITMAP *well = makeWellBackground();
    copyArea(well, bmp, 0, 0, WELL_X, WELL_Y, WELL_W, WELL_H);
    copyArea(well, bmp, 0, 0, 500, 70, CELL, CELL);
    destroy_bitmap(well);
}

// The full-height strip where the points gained float up.
static void paintGainColumn(BITMAP *bmp)
{
    verticalGradient(bmp, GAIN_LEFT, 0, GAIN_RIGHT, bmp->h - 1, shade(STEEL, 0.06f), shade(STEEL, -0.1f));
    for (int y = 0; y < bmp->h; y++) {
        blendPixel(bmp, GAIN_LEFT, y, shade(STEEL, -0.45f), 1);
        blendPixel(bmp, GAIN_LEFT + 1, y, shade(STEEL, 0.25f), 1);
        blendPixel(bmp, GAIN_RIGHT - 1, y, shade(STEEL, -0.25f), 1);
        blendPixel(bmp, GAIN_RIGHT, y, shade(STEEL, -0.45f), 1);
    }
    drawTextCentred(bmp, SANS_BOLD, 14, (GAIN_LEFT + GAIN_RIGHT) / 2, 728, shade(STEEL, 0.55f), "Points");
}

BITMAP *makeGameBackground(const FontMetrics &m)
{
    BITMAP *bmp = newCanvas(1024, 768);
    paintBackdrop(bmp);
    paintGainColumn(bmp);
    paintWellFrame(bmp);
    int panelBottom = paintHudPanel(bmp, m);
    paintGroupReminder(bmp, panelBottom + 30);
    drawTextAt(bmp, SANS_BOLD, 30, HUD_X - 6, 28, GOLD, "TumbleGrid", 0.8f);
    finishOpaque(bmp);
    return bmp;
}

BITMAP *makeScoresBackground(const FontMetrics &m)
{
    BITMAP *bmp = newCanvas(1024, 768);
    paintBackdrop(bmp);
    drawTextCentred(bmp, SANS_BOLD, 54, 512, 78, GOLD, "High Scores", 1.0f);
    drawTextCentred(bmp, SANS, 16, 512, 150, MUTED, "The fifteen best results");
    const int LIST_X = 310, LIST_Y = 205;
    float l = LIST_X - 16, t = LIST_Y - 12, r = 718 + 16, b = LIST_Y + 15 * m.hudHeight + 12;
    softShadow(bmp, l, t, r, b, 12, 18, 0.6f);
    fillRoundBox(bmp, l, t, r, b, 12, PANEL, shade(PANEL, -0.06f));
    for (int k = 1; k < 15; k += 2)
        fillRoundBox(bmp, l + 6, LIST_Y + k * m.hudHeight, r - 6, LIST_Y + (k + 1) * m.hudHeight, 3,
                     PANEL_EDGE, PANEL_EDGE, 0.22f);
    strokeRoundBox(bmp, l, t, r, b, 12, 2, PANEL_EDGE);
    int rankPx = m.hudHeight * 3 / 4;
    for (int k = 0; k < 15; k++) {
        char rank[8];
        snprintf(rank, sizeof rank, "%d.", k + 1);
        int y = LIST_Y + k * m.hudHeight + (m.hudHeight - lineHeight(SANS_BOLD, rankPx)) / 2;
        Rgb c = k == 0 ? GOLD : (k < 3 ? shade(GOLD, 0.4f) : MUTED);
        drawTextAt(bmp, SANS_BOLD, rankPx, (int)l - 14 - textWidth(SANS_BOLD, rankPx, rank), y, c, rank, 0.7f);
    }
    drawTextCentred(bmp, SANS, 16, 512, 712, MUTED, "Press any key or click to return to the menu");
    finishOpaque(bmp);
    return bmp;
}
