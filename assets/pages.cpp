// pages.cpp -- help and about pages. Both are laid out as cards on the
// common backdrop, with short headed paragraphs so the rules read quickly.
#include "assets/pages.h"
#include "assets/glyphs.h"
#include "assets/menuart.h"
#include "assets/tiles.h"

// A card with a title bar; returns the y where its text starts.
static int paintCard(BITMAP *bmp, int l, int t, int r, int b, const char *title)
{
    softShadow(bmp, l, t, r, b, 14, 20, 0.6f);
    fillRoundBox(bmp, l, t, r, b, 14, {40, 48, 94}, {28, 33, 66});
    strokeRoundBox(bmp, l, t, r, b, 14, 1.5f, FRAME_LIGHT, 0.6f);
    drawTextAt(bmp, SANS_BOLD, 22, l + 20, t + 12, GOLD, title, 0.6f);
    drawLine(bmp, l + 20, t + 44, r - 20, t + 44, 1, FRAME_LIGHT, 0.5f);
    return t + 54;
}

// Lines of text: a line starting with '#' is a small heading.
static int paintLines(BITMAP *bmp, int x, int y, const char *const *lines, int count)
{
    for (int i = 0; i < count; i++) {
        if (lines[i][0] == '#') {
            y += 4;
            drawTextAt(bmp, SANS_BOLD, 16, x, y, shade(GOLD, 0.35f), lines[i] + 1);
            y += 21;
        } else {
            drawTextAt(bmp, SANS, 15, x, y, SOFT_WHITE, lines[i]);
            y += 19;
        }
    }
    return y;
}

// A key cap with its label, followed by what the key does; returns the next y.
static int paintKey(BITMAP *bmp, int x, int y, const char *cap, const char *what)
{
    int w = textWidth(SANS_BOLD, 13, cap) + 16;
    fillRoundBox(bmp, x, y, x + w, y + 22, 5, {236, 232, 220}, {196, 190, 172});
    strokeRoundBox(bmp, x, y, x + w, y + 22, 5, 1, {110, 104, 90});
    drawTextCentred(bmp, SANS_BOLD, 13, x + w / 2, y + 3, NIGHT, cap);
    drawTextAt(bmp, SANS, 15, x + w + 12, y + 2, SOFT_WHITE, what);
    return y + 28;
}

// The three shapes of a group, shown with tiles.
static void paintGroupExamples(BITMAP *bmp, int x, int y)
{
    static const int row[9] = {3, 7, 0, 5, 8, 2, 6, 1, 4};
    for (int i = 0; i < 9; i++)
        paintDigitTile(bmp, x + i * 22, y, 22, row[i]);
    static const int box[9] = {6, 2, 8, 0, 4, 7, 3, 5, 1};
    for (int i = 0; i < 9; i++)
        paintDigitTile(bmp, x + 232 + (i % 3) * 22, y - 22 + (i / 3) * 22, 22, box[i]);
    drawTextAt(bmp, SANS, 13, x, y + 26, MUTED, "a row (or a column) of nine");
    drawTextAt(bmp, SANS, 13, x + 220, y + 48, MUTED, "any 3x3 square");
}

BITMAP *makeHelpScreen()
{
    BITMAP *bmp = newCanvas(1024, 768);
    paintBackdrop(bmp);
    drawTextCentred(bmp, SANS_BOLD, 40, 512, 18, GOLD, "How to Play TumbleGrid", 1.0f);
    int y = paintCard(bmp, 40, 84, 560, 700, "Rules");
    static const char *const rules[] = {
        "Digits 1 to 9 fall into the well one at a time. Steer each",
        "one; where it lands, it stays.",
        "#Groups",
        "Nine different digits 1-9 in nine cells next to each other",
        "in a row or in a column, or filling any 3x3 square, make a",
        "group. Groups are cleared and the digits above drop down.",
    };
    y = paintLines(bmp, 62, y, rules, 6);
    paintGroupExamples(bmp, 62, y + 30);
    y += 104;
    static const char *const more[] = {
        "#Chains",
        "Digits that drop can complete new groups: these clear too.",
        "#Scoring",
        "Each cleared cell scores by the cells cleared in one pass:",
        "up to 9: 50   10-12: 65   13-15: 70   16-18: 75",
        "19-24: 90   25 or more: 105 points per cell",
        "+400 for each row group, +200 for each column group.",
        "All times the difficulty: Easy 1, Medium 2, Hard 3, Blitz 7.",
        "#Levels and time",
        "A level asks for a number of boxes, columns and rows;",
        "the next level asks for more. You have ten minutes of",
        "play (the clock stops while paused). The round ends when",
        "the top of the middle column is full or time is up.",
    };
    paintLines(bmp, 62, y, more, 13);
    y = paintCard(bmp, 590, 84, 984, 700, "Keys");
    drawTextAt(bmp, SANS_BOLD, 16, 612, y + 4, shade(GOLD, 0.35f), "In the menu");
    y += 30;
    y = paintKey(bmp, 612, y, "S", "start a game");
    y = paintKey(bmp, 612, y, "I", "high scores");
    y = paintKey(bmp, 612, y, "H", "this help");
    y = paintKey(bmp, 612, y, "O", "about the game");
    y = paintKey(bmp, 612, y, "Q", "quit");
    drawTextAt(bmp, SANS, 15, 612, y, MUTED, "or click the buttons with the mouse");
    y += 34;
    drawTextAt(bmp, SANS_BOLD, 16, 612, y, shade(GOLD, 0.35f), "While playing");
    y += 26;
    y = paintKey(bmp, 612, y, "A / Left", "move left");
    y = paintKey(bmp, 612, y, "D / Right", "move right");
    y = paintKey(bmp, 612, y, "S / Down", "drop fast");
    y = paintKey(bmp, 612, y, "W / Up", "slow down (-50, once)");
    drawTextAt(bmp, SANS, 13, 612, y - 2, MUTED, "W / Up also cancels a fast drop");
    y += 22;
    y = paintKey(bmp, 612, y, "P", "pause");
    y = paintKey(bmp, 612, y, "F1", "help");
    y = paintKey(bmp, 612, y, "M", "music on / off");
    y = paintKey(bmp, 612, y, "E", "sound effects on / off");
    paintKey(bmp, 612, y, "Q", "back to the menu");
    drawTextCentred(bmp, SANS_BOLD, 17, 512, 724, SOFT_WHITE, "Press any key to continue", 0.6f);
    finishOpaque(bmp);
    return bmp;
}

BITMAP *makeInfoPicture()
{
    BITMAP *bmp = newCanvas(1024, 768);
    paintBackdrop(bmp);
    BITMAP *tile = makeLogoTile(160);
    for (int y = 0; y < 160; y++)
        for (int x = 0; x < 160; x++) {
            int p = _getpixel32(tile, x, y);
            blendPixel(bmp, 432 + x, 70 + y, {getr32(p), getg32(p), getb32(p)}, geta32(p) / 255.0f);
        }
    destroy_bitmap(tile);
    drawTextCentred(bmp, SANS_BOLD, 56, 512, 246, GOLD, "TumbleGrid", 1.0f);
    drawTextCentred(bmp, SANS, 20, 512, 316, SOFT_WHITE, "Version 1.0.0");
    drawTextCentred(bmp, SANS, 17, 512, 352, MUTED, "An arcade puzzle game: line up the nine digits.");
    int y = paintCard(bmp, 212, 390, 812, 650, "Licence");
    static const char *const licence[] = {
        "TumbleGrid is free software under the MIT licence:",
        "Copyright (c) 2026 The TumbleGrid developers.",
        "Every picture, font and sound is made when the game is built.",
        "#Fonts",
        "The texts use the DejaVu fonts (DejaVu Sans, DejaVu Sans Mono),",
        "from Debian's fonts-dejavu-core package.",
        "Bitstream Vera licence: Copyright (c) 2003 Bitstream, Inc.;",
        "Bitstream Vera is a trademark of Bitstream, Inc.",
        "The DejaVu changes are in the public domain.",
    };
    paintLines(bmp, 236, y, licence, 9);
    drawTextCentred(bmp, SANS_BOLD, 17, 512, 668, shade(GOLD, 0.35f), "Press H in the menu for help");
    drawTextCentred(bmp, SANS, 16, 512, 712, SOFT_WHITE, "Press any key or click to return");
    finishOpaque(bmp);
    return bmp;
}
