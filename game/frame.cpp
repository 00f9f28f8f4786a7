// frame.cpp -- the once-per-frame update of the play screen. It paces the
// fall, keeps the HUD texts and the floating score gain up to date, plays the
// clear animation of completed groups, repaints the well and shows the next
// digit. Everything is drawn into the canvas: a changing item is removed by
// copying its rectangle from the background under it.
#include "game/frame.h"
#include "game/catalogue.h"
#include "game/fall.h"
#include "game/well.h"
#include "platform/pacing.h"
#include "platform/present.h"
#include <allegro.h>
#include <cstdio>

int fallFrameCounter = 0;
int lastScore = -1;
int scoreGain = 0, gainAge = 0, gainY = 0;
int clockBlinkCounter = 0;
int prevFallX = 0, prevFallY = 0;
int hudRedrawRequested = 0;

const int HUD_X = 48;
const int SCORE_Y = 100;
const int LINE_GAP = 3;
const int ERASE_MARGIN = 5;
const int GAIN_X = 775;
const int GAIN_COLUMN_X = 740;
const int GAIN_END_X = 760;
const int GAIN_COLUMN_W = 148;
const int GAIN_COLUMN_H = 800;
const int GAIN_DOWN_EXTRA = 100;
const int GAIN_LIFETIME = 120;
const int GAIN_BAND = 30;              // passes per colour of the gain text
const int BLINK_SECONDS = 30;
const int BLINK_PERIOD = 10;
const int PREVIEW_X = 500;
const int PREVIEW_Y = 70;
const int TEXT_BUFFER = 1024;

// The HUD lines, each remembering how wide it was last drawn.
enum HudLine { SCORE_LINE, CLOCK_LINE, LEVEL_LINE, DIFFICULTY_LINE, BOXES_LINE, COLUMNS_LINE, ROWS_LINE, HUD_LINES };
static int drawnWidth[HUD_LINES];

static char text[TEXT_BUFFER];

static const char *const difficultyNames[] = {"", "Easy", "Medium", "Hard", "Blitz"};

// Copies a rectangle of the game background to the same place on the canvas.
static void restoreBackground(int x, int y, int w, int h)
{
    blit(gameBackground, canvas, x, y, x, y, w, h);
}

// Repaints one cell's spot from the empty-well picture.
static void restoreCell(int row, int column)
{
    masked_blit(wellBackground, canvas, CELL_SIZE * column, CELL_SIZE * row,
                WELL_X + CELL_SIZE * column, WELL_Y + CELL_SIZE * row, CELL_SIZE, CELL_SIZE);
}

// Draws a 30x30 sprite at a cell's spot.
static void drawAtCell(BITMAP *sprite, int row, int column)
{
    masked_blit(sprite, canvas, 0, 0, WELL_X + CELL_SIZE * column, WELL_Y + CELL_SIZE * row,
                CELL_SIZE, CELL_SIZE);
}

// Erases a HUD line and draws the text now in `text`. The erase covers the
// wider of the old and the new text, so a shorter text leaves nothing behind.
static void drawHudLine(HudLine line, FONT *lineFont, int y, int colour)
{
    int width = text_length(lineFont, text);
    int eraseWidth = width > drawnWidth[line] ? width : drawnWidth[line];
    restoreBackground(HUD_X, y, eraseWidth + ERASE_MARGIN, text_height(lineFont) + ERASE_MARGIN);
    textprintf_ex(canvas, lineFont, HUD_X, y, colour, -1, "%s", text);
    drawnWidth[line] = width;
}

// Colour of the floating gain text at its age: white, black, yellow, red.
static int gainColour(int age)
{
    switch (age / GAIN_BAND) {
    case 0: return makecol(255, 255, 255);
    case 1: return makecol(0, 0, 0);
    case 2: return makecol(255, 255, 0);
    default: return makecol(255, 0, 0);
    }
}

// Wipes the whole gain column, removing any gain text.
static void clearGainColumn()
{
    restoreBackground(GAIN_COLUMN_X, 0, GAIN_COLUMN_W, GAIN_COLUMN_H);
}

// Moves the floating gain text one pixel up and recolours it, or ends it at its age limit.
static void floatGainText()
{
    if (scoreGain <= 0) {
        clearGainColumn();
        return;
    }
    restoreBackground(GAIN_X, gainY, GAIN_COLUMN_W, gainY + GAIN_DOWN_EXTRA);
    gainY--;
    if (gainAge >= GAIN_LIFETIME) {
        restoreBackground(GAIN_END_X, 0, GAIN_COLUMN_W, GAIN_COLUMN_H);
        scoreGain = 0;
        gainAge = 0;
        return;
    }
    snprintf(text, sizeof text, " %d", scoreGain);
    textprintf_ex(canvas, hudFont, GAIN_X, gainY, gainColour(gainAge), -1, "%s", text);
    gainAge++;
}

// Redraws the score line when it changed (or is 0, or was asked for) and starts a new gain text.
static void updateScoreLine()
{
    if (score != lastScore || score == 0 || hudRedrawRequested) {
        restoreBackground(GAIN_COLUMN_X, 0, GAIN_COLUMN_W, gainY + GAIN_DOWN_EXTRA);
        scoreGain = score - lastScore;
        lastScore = score;
        snprintf(text, sizeof text, "Score: %d", score);
        drawHudLine(SCORE_LINE, hudFont, SCORE_Y, textColour);
        gainAge = 1;
        gainY = fallY;      // the digit's well-pixel height, used as it is
    } else if (gainAge == 0) {
        clearGainColumn();
        return;
    }
    floatGainText();
}

// Redraws the time left when the timer asks for it; the last 30 seconds blink.
static void updateClockLine(int clockY)
{
    if (!clockDue)
        return;
    clockDue = 0;       // cleared before reading the count, so a tick meanwhile means one more redraw
    int secondsLeft = timeLimitSeconds - (int)(tickCount.load() / (uint32_t)TICKS_PER_SECOND);
    if (secondsLeft <= 0) {
        secondsLeft = 0;
        outOfTime = 1;
    }
    snprintf(text, sizeof text, "Time Left: %02d:%02d", secondsLeft / 60, secondsLeft % 60);

    int colour = textColour;
    if (secondsLeft < BLINK_SECONDS) {
        clockBlinkCounter++;
        colour = clockBlinkCounter % BLINK_PERIOD == 0 ? makecol(255, 255, 255) : makecol(255, 0, 0);
    }
    drawHudLine(CLOCK_LINE, hudFont, clockY, colour);
}

// Redraws the level, difficulty and group counters below the clock.
static void drawStatusLines(int clockY)
{
    int lineStep = text_height(font) + LINE_GAP;
    int y = clockY + text_height(hudFont) + LINE_GAP;

    snprintf(text, sizeof text, "Level: %d", level);
    drawHudLine(LEVEL_LINE, font, y, textColour);
    y += lineStep;
    bool known = difficulty >= EASY && difficulty <= BLITZ;
    snprintf(text, sizeof text, "Difficulty: %s", known ? difficultyNames[difficulty] : "");
    drawHudLine(DIFFICULTY_LINE, font, y, textColour);
    y += lineStep;
    snprintf(text, sizeof text, "Boxes   : %d of %d", boxesDone, boxesTarget);
    drawHudLine(BOXES_LINE, font, y, textColour);
    y += lineStep;
    snprintf(text, sizeof text, "Columns : %d of %d", columnsDone, columnsTarget);
    drawHudLine(COLUMNS_LINE, font, y, textColour);
    y += lineStep;
    snprintf(text, sizeof text, "Rows    : %d of %d", rowsDone, rowsTarget);
    drawHudLine(ROWS_LINE, font, y, textColour);
}

// Erases the falling digit where it was last drawn and draws it where it is now.
static void drawFallingDigit()
{
    masked_blit(wellBackground, canvas, prevFallX, prevFallY,
                WELL_X + prevFallX, WELL_Y + prevFallY, CELL_SIZE, CELL_SIZE);
    hudRedrawRequested = 0;
    masked_blit(digitSprites[currentDigit], canvas, 0, 0, WELL_X + fallX, WELL_Y + fallY,
                CELL_SIZE, CELL_SIZE);
    prevFallX = fallX;
    prevFallY = fallY;
}

// 1 when some cell waits for its clear animation.
static int clearPending()
{
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            if (cellEffects[r][c] >= EFFECT_CLEARED)
                return 1;
    return 0;
}

// Plays the 14 frames of every cleared cell together, one paced frame per cell
// per step, so each cell shows frame f before any shows frame f + 1.
static void animateClearedCells()
{
    for (int f = 0; f < CLEAR_FRAMES; f++) {
        for (int r = 0; r < WELL_ROWS; r++) {
            for (int c = 0; c < WELL_COLUMNS; c++) {
                if (cellEffects[r][c] < EFFECT_CLEARED)
                    continue;
                waitFrame();
                restoreCell(r, c);
                drawAtCell(clearFrames[cellEffects[r][c] - EFFECT_CLEARED][f], r, c);
                if (f == CLEAR_FRAMES - 1) {
                    cellEffects[r][c] = 0;
                    restoreCell(r, c);
                }
            }
        }
    }
}

// Brings in the next digit, then plays the clear sound and animation; 0 when the spawn ended the round.
static int playClearAnimation()
{
    fallRow = 0;
    if (!advanceFallingDigit())
        return 0;
    if (soundEffectsOn && clearSound)
        play_sample(clearSound, 255, 128, 500, 0);
    animateClearedCells();
    return 1;
}

// Repaints cells moved by the collapse and every landed digit.
static void redrawWell()
{
    for (int r = 0; r < WELL_ROWS; r++) {
        for (int c = 0; c < WELL_COLUMNS; c++) {
            if (cellEffects[r][c] == EFFECT_MOVED) {
                restoreCell(r, c);
                cellEffects[r][c] = 0;
            }
            if (well[r][c].digit != EMPTY_CELL)
                drawAtCell(digitSprites[well[r][c].digit], r, c);
        }
    }
}

// Shows the next digit above the spawn column while the falling digit is there.
static void drawPreview()
{
    if (fallX != CELL_SIZE * SPAWN_COLUMN)
        return;
    // The empty-well picture has nothing above the well, so the old preview
    // is erased from the game background it was drawn on.
    blit(gameBackground, canvas, PREVIEW_X, PREVIEW_Y, PREVIEW_X, PREVIEW_Y, CELL_SIZE, CELL_SIZE);
    masked_blit(digitSprites[nextDigit], canvas, 0, 0, PREVIEW_X, PREVIEW_Y, CELL_SIZE, CELL_SIZE);
}

int updateFrame()
{
    fallFrameCounter = (fallFrameCounter + 1) % stepDivider;
    if (fallFrameCounter == 0 && !advanceFallingDigit())
        return 0;

    updateScoreLine();
    int clockY = SCORE_Y + text_height(hudFont) + LINE_GAP;
    updateClockLine(clockY);
    drawStatusLines(clockY);
    drawFallingDigit();

    if (clearPending() && !playClearAnimation())
        return 0;
    redrawWell();
    drawPreview();
    return 1;
}
