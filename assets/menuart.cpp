// menuart.cpp -- the menu. The two side columns are grooves that the falling
// sprites fill: each sprite is a hanging plate of nine digit tiles under a
// ribbon whose cross-section is its top row, so the trail it leaves while it
// falls without being erased is the ribbon unrolling down the groove.
#include "assets/menuart.h"
#include "assets/glyphs.h"
#include "assets/tiles.h"
#include <cmath>

static const int ANIM_LEFT_X = 57, ANIM_RIGHT_X = 816;
static BITMAP *menuBackdropCache = nullptr;

void paintBackdrop(BITMAP *bmp)
{
    verticalGradient(bmp, 0, 0, bmp->w - 1, bmp->h - 1, DUSK, NIGHT);
    glow(bmp, bmp->w / 2.0f, 330, 520, {70, 84, 150}, 0.35f);
}

// A recessed groove down the whole height at x, as wide as a sprite.
static void paintGroove(BITMAP *bmp, int x)
{
    for (int y = 0; y < bmp->h; y++)
        for (int i = 0; i < ANIM_W; i++) {
            Rgb c = shade(NIGHT, -0.35f);
            if (i < 3)
                c = shade(NIGHT, -0.6f);
            else if (i >= ANIM_W - 3)
                c = shade(DUSK, 0.15f);
            else if (i < 10)
                c = mix(shade(NIGHT, -0.6f), c, (i - 3) / 7.0f);
            blendPixel(bmp, x + i, y, c, 1);
        }
}

BITMAP *makeMenuBackground()
{
    BITMAP *bmp = newCanvas(1024, 768);
    paintBackdrop(bmp);
    paintGroove(bmp, ANIM_LEFT_X);
    paintGroove(bmp, ANIM_RIGHT_X);
    // the card behind the button column
    float l = MENU_LEFT - 40, r = MENU_LEFT + BUTTON_W + 40;
    softShadow(bmp, l, START_TOP - 120, r, QUIT_TOP + BUTTON_H + 36, 18, 24, 0.55f);
    fillRoundBox(bmp, l, START_TOP - 120, r, QUIT_TOP + BUTTON_H + 36, 18,
                 {40, 48, 94}, {26, 31, 62});
    strokeRoundBox(bmp, l, START_TOP - 120, r, QUIT_TOP + BUTTON_H + 36, 18, 1.5f, FRAME_LIGHT, 0.6f);
    drawTextCentred(bmp, SANS, 13, 512, CHOICE_TOP - 21, MUTED, "Difficulty");
    drawTextCentred(bmp, SANS, 15, 512, 712, MUTED,
                    "S  start     I  high scores     H  help     O  about     Q  quit");
    drawTextCentred(bmp, SANS, 13, 512, 736, shade(MUTED, -0.3f), "Version 1.0.0");
    drawTextCentred(bmp, SANS_BOLD, 17, 512, 40, SOFT_WHITE, "Line up the nine digits!", 0.6f);
    finishOpaque(bmp);
    menuBackdropCache = bmp;
    return bmp;
}

BITMAP *makeMenuLogo()
{
    BITMAP *logo = newCanvas(LOGO_W, LOGO_H);
    const char *name = "TumbleGrid";
    int px = fitSize(SANS_BOLD, name, LOGO_W - 8, 54);
    BITMAP *word = newCanvas(LOGO_W, LOGO_H);
    drawTextCentred(word, SANS_BOLD, px, LOGO_W / 2, -4, WHITE, name);
    // outline and shadow first, then the word with a gold gradient
    for (int y = 0; y < LOGO_H; y++)
        for (int x = 0; x < LOGO_W; x++) {
            float best = 0;
            for (int dy = -2; dy <= 2; dy++)
                for (int dx = -2; dx <= 2; dx++)
                    if (dx * dx + dy * dy <= 5 && x + dx >= 0 && y + dy >= 0 && x + dx < LOGO_W && y + dy < LOGO_H)
                        best = std::max(best, geta32(_getpixel32(word, x + dx, y + dy)) / 255.0f);
            blendPixel(logo, x, y, {40, 22, 6}, best);
        }
    for (int y = 0; y < LOGO_H; y++)
        for (int x = 0; x < LOGO_W; x++) {
            float a = geta32(_getpixel32(word, x, y)) / 255.0f;
            blendPixel(logo, x, y, mix({255, 236, 150}, {238, 146, 30}, y / 52.0f), a);
        }
    destroy_bitmap(word);
    float tile = 24, gap = (LOGO_W - 9 * tile) / 8.0f;
    for (int d = 0; d < 9; d++)
        paintDigitTile(logo, d * (tile + gap), LOGO_H - tile, tile, d);
    finishMasked(logo, {38, 46, 92}, 0.3f);
    return logo;
}

// Copies the menu background under a button of the given size at (x, y).
static BITMAP *plateAt(int x, int y, int w, int h)
{
    BITMAP *plate = newCanvas(w, h);
    copyArea(menuBackdropCache, plate, x, y, 0, 0, w, h);
    return plate;
}

BITMAP *makeMenuButton(const char *label, int top, int pressed)
{
    BITMAP *b = plateAt(MENU_LEFT, top, BUTTON_W, BUTTON_H);
    float w = BUTTON_W, h = BUTTON_H, sink = pressed ? 2 : 0;
    Rgb topC = pressed ? Rgb{34, 46, 104} : Rgb{84, 110, 200};
    Rgb bottomC = pressed ? Rgb{52, 70, 150} : Rgb{40, 54, 124};
    fillRoundBox(b, 1, 1 + sink, w - 1, h - 1, 12, shade(NIGHT, -0.4f), shade(NIGHT, -0.4f), 0.7f);
    fillRoundBox(b, 2, 1 + sink, w - 2, h - 3 + sink, 11, topC, bottomC);
    if (!pressed)
        fillRoundBox(b, 6, 4, w - 6, h / 2, 8, WHITE, topC, 0.22f);
    strokeRoundBox(b, 2, 1 + sink, w - 2, h - 3 + sink, 11, 1.5f, pressed ? FRAME_LIGHT : GOLD, 0.9f);
    int px = fitSize(SANS_BOLD, label, BUTTON_W - 24, 24);
    int textY = (BUTTON_H - lineHeight(SANS_BOLD, px)) / 2 - 1 + (int)sink;
    drawTextCentred(b, SANS_BOLD, px, BUTTON_W / 2, textY, pressed ? shade(GOLD, 0.3f) : WHITE, label, 0.8f);
    finishOpaque(b);
    return b;
}

BITMAP *makeChoiceButton(int k, int on)
{
    static const char *labels[4] = {"Easy", "Medium", "Hard", "Blitz"};
    BITMAP *b = plateAt(MENU_LEFT + k * CHOICE_W, CHOICE_TOP, CHOICE_W, CHOICE_H);
    float w = CHOICE_W, h = CHOICE_H;
    Rgb topC = on ? Rgb{255, 218, 110} : Rgb{56, 66, 118};
    Rgb bottomC = on ? Rgb{230, 150, 40} : Rgb{34, 40, 80};
    fillRoundBox(b, 1.5f, 2, w - 1.5f, h - 1, 9, shade(NIGHT, -0.4f), shade(NIGHT, -0.4f), 0.7f);
    fillRoundBox(b, 2, 2, w - 2, h - 3, 8, topC, bottomC);
    strokeRoundBox(b, 2, 2, w - 2, h - 3, 8, 1.2f, on ? Rgb{255, 244, 200} : FRAME_LIGHT, on ? 0.9f : 0.5f);
    // one size for all four labels: the one the longest label fits at
    int px = fitSize(SANS_BOLD, "Medium", CHOICE_W - 9, 15);
    int textY = (CHOICE_H - lineHeight(SANS_BOLD, px)) / 2 - 1;
    if (on)
        drawTextCentred(b, SANS_BOLD, px, CHOICE_W / 2, textY, {50, 26, 0}, labels[k]);
    else
        drawTextCentred(b, SANS_BOLD, px, CHOICE_W / 2, textY, shade(MUTED, 0.2f), labels[k], 0.7f);
    finishOpaque(b);
    return b;
}

// The ribbon's colour at column i: dark hems, a lit middle and two pinstripes.
static Rgb ribbonColour(int i, Rgb base)
{
    if (i < 3 || i >= ANIM_W - 3)
        return shade(NIGHT, -0.35f);
    float t = (i - 3) / float(ANIM_W - 7);
    if (i < 5 || i >= ANIM_W - 5)
        return shade(base, -0.6f);
    if (std::fabs(t - 0.1f) < 0.006f || std::fabs(t - 0.9f) < 0.006f)
        return shade(base, 0.55f);
    float roundness = 1 - (2 * t - 1) * (2 * t - 1);
    return shade(base, 0.32f * roundness - 0.22f);
}

BITMAP *makeMenuSprite(int which)
{
    static const int orderA[9] = {4, 8, 1, 6, 0, 7, 3, 5, 2};
    static const int orderB[9] = {7, 2, 5, 1, 4, 8, 6, 3, 0};
    Rgb base = which == 0 ? Rgb{232, 164, 52} : Rgb{48, 170, 182};
    BITMAP *s = newCanvas(ANIM_W, ANIM_H);
    const int RIBBON = 16, BOTTOM = 146;
    for (int y = 0; y < RIBBON; y++)
        for (int i = 3; i < ANIM_W - 3; i++)
            blendPixel(s, i, y, ribbonColour(i, base), 1);
    // the plate: square at the top so the ribbon stays whole, rounded below
    fillRoundBox(s, 3, RIBBON - 14, ANIM_W - 3, BOTTOM, 12, shade(base, -0.45f), shade(base, -0.7f));
    for (int y = 0; y < RIBBON; y++)
        for (int i = 3; i < ANIM_W - 3; i++)
            blendPixel(s, i, y, ribbonColour(i, base), 1);
    strokeRoundBox(s, 3, RIBBON - 14, ANIM_W - 3, BOTTOM, 12, 2, shade(base, 0.3f), 0.8f);
    float tile = 38, gap = 5, left = (ANIM_W - 3 * tile - 2 * gap) / 2, top = RIBBON + 4;
    const int *order = which == 0 ? orderA : orderB;
    for (int i = 0; i < 9; i++)
        paintDigitTile(s, left + (i % 3) * (tile + gap), top + (i / 3) * (tile + gap), tile, order[i]);
    finishMasked(s, shade(NIGHT, -0.35f), 0.3f);
    return s;
}
