// test_frame.cpp -- the frame update into the canvas, presented on a real
// 1024x768x32 Allegro screen:
// the HUD texts and their erasing, the floating gain, the clock, the preview,
// fall pacing in frames, the clear animation's order and pace, and the CPU
// cost of an ordinary pass.
#include "game/catalogue.h"
#include "game/datafile.h"
#include "game/frame.h"
#include "game/well.h"
#include "platform/pacing.h"
#include "platform/present.h"
#include "support/headless.h"
#include <allegro.h>
#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>
#include <time.h>

namespace {

const int HUD_X = 48;
const int PREVIEW_LEFT = 500, PREVIEW_TOP = 70;

// Opens the screen once for the whole run and loads the game's datafile.
class ScreenEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        allegro_init();
        install_timer();
        set_color_depth(32);
        ASSERT_EQ(set_gfx_mode(GFX_AUTODETECT_WINDOWED, 1024, 768, 0, 0), 0) << allegro_error;
        // The game draws into the canvas; each paced frame presents it on the screen.
        ASSERT_EQ(createCanvas(), 0);
        displayTarget = screen;
        startFramePacing();
        textColour = makecol(0, 0, 0);
        DATAFILE *data = loadWholeDatafile(DATAFILE_NAME, DATAFILE_PASSWORD);
        ASSERT_TRUE(data) << "tumblegrid.dat missing or damaged";
        gameDatafile = data;
        bindAssetCatalogue(data);
    }
};
const auto *environment = ::testing::AddGlobalTestEnvironment(new ScreenEnvironment);

// A fresh round on a freshly painted play screen; the fall stands still while paused.
void freshPlayScreen(int chosenDifficulty = EASY, bool holdFall = true)
{
    freshRound(chosenDifficulty, 21);
    soundEffectsOn = 0;
    hudRedrawRequested = 0;
    clockDue = 0;
    paused = holdFall ? 1 : 0;
    blit(gameBackground, canvas, 0, 0, 0, 0, gameBackground->w, gameBackground->h);
    blit(wellBackground, canvas, 0, 0, WELL_X, WELL_Y, WELL_PIXEL_W, WELL_PIXEL_H);
}

// Screen y of the clock line and of the status line with the given index (0 = Level).
int clockLineY() { return 100 + text_height(hudFont) + 3; }
int statusLineY(int index)
{
    return clockLineY() + text_height(hudFont) + 3 + index * (text_height(font) + 3);
}

// Pixels of a screen rectangle that differ from an expected picture at (0, 0).
int differingPixels(BITMAP *expected, int x, int y, int w, int h)
{
    int count = 0;
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            if (getpixel(canvas, x + i, y + j) != getpixel(expected, i, j))
                count++;
    return count;
}

// Pixels of a screen rectangle that differ from the game background under it.
int pixelsOffBackground(int x, int y, int w, int h)
{
    BITMAP *bg = create_bitmap(w, h);
    blit(gameBackground, bg, x, y, 0, 0, w, h);
    int count = differingPixels(bg, x, y, w, h);
    destroy_bitmap(bg);
    return count;
}

// Expects the screen to show exactly this text on the game background at (x, y).
void expectTextAt(FONT *f, int x, int y, const std::string &text, int colour)
{
    int w = text_length(f, text.c_str()) + 5, h = text_height(f);
    BITMAP *expected = create_bitmap(w, h);
    blit(gameBackground, expected, x, y, 0, 0, w, h);
    textprintf_ex(expected, f, 0, 0, colour, -1, "%s", text.c_str());
    EXPECT_EQ(differingPixels(expected, x, y, w, h), 0) << "text \"" << text << "\"";
    destroy_bitmap(expected);
}

// How many pixels of a screen rectangle have exactly this colour and are not background.
int pixelsOfColour(int colour, int x, int y, int w, int h)
{
    int count = 0;
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            if (getpixel(canvas, x + i, y + j) == colour && getpixel(gameBackground, x + i, y + j) != colour)
                count++;
    return count;
}

TEST(HudLines, ShorterTextLeavesNoStalePixels)
{
    struct Case { const char *what; int *value; int before, after; int y; FONT *f; std::string wide; };
    const Case cases[] = {
        {"score", &score, 1000, 950, 100, hudFont, "Score: 1000"},
        {"boxes", &boxesDone, 10, 0, statusLineY(2), font, "Boxes   : 10 of 3"},
    };
    for (const Case &c : cases) {
        freshPlayScreen();
        *c.value = c.before;
        updateFrame();
        int wideEnd = HUD_X + text_length(c.f, c.wide.c_str());
        int h = text_height(c.f);
        *c.value = c.after;
        // Where the shorter text ends, the longer one still had pixels.
        std::string narrow = c.wide;
        narrow.replace(narrow.find(std::to_string(c.before)), std::to_string(c.before).size(),
                       std::to_string(c.after));
        int narrowEnd = HUD_X + text_length(c.f, narrow.c_str());
        ASSERT_GT(pixelsOffBackground(narrowEnd, c.y, wideEnd - narrowEnd, h), 0) << c.what;
        updateFrame();
        EXPECT_EQ(pixelsOffBackground(narrowEnd, c.y, wideEnd - narrowEnd + 5, h), 0) << c.what;
        expectTextAt(c.f, HUD_X, c.y, narrow, textColour);
    }
}

TEST(HudLines, StartOfRoundShowsTenMinutesAndTheStatusTexts)
{
    freshPlayScreen(MEDIUM);
    clockDue = 1;
    updateFrame();
    expectTextAt(hudFont, HUD_X, 100, "Score: 0", textColour);
    expectTextAt(hudFont, HUD_X, clockLineY(), "Time Left: 10:00", textColour);
    const char *status[] = {"Level: 1", "Difficulty: Medium", "Boxes   : 0 of 3",
                            "Columns : 0 of 1", "Rows    : 0 of 0"};
    for (int i = 0; i < 5; i++)
        expectTextAt(font, HUD_X, statusLineY(i), status[i], textColour);
    EXPECT_EQ(clockDue.load(), 0);
    EXPECT_EQ(outOfTime, 0);
}

TEST(HudLines, LastHalfMinuteBlinksAndTheEndSetsOutOfTime)
{
    freshPlayScreen();
    tickCount = (ROUND_SECONDS - 29) * TICKS_PER_SECOND;
    clockBlinkCounter = 0;
    clockDue = 1;
    updateFrame();
    expectTextAt(hudFont, HUD_X, clockLineY(), "Time Left: 00:29", makecol(255, 0, 0));
    clockBlinkCounter = 9;
    clockDue = 1;
    updateFrame();
    expectTextAt(hudFont, HUD_X, clockLineY(), "Time Left: 00:29", makecol(255, 255, 255));

    tickCount = ROUND_SECONDS * TICKS_PER_SECOND + 5;
    clockDue = 1;
    updateFrame();
    EXPECT_EQ(outOfTime, 1);
    EXPECT_EQ(pixelsOfColour(textColour, HUD_X, clockLineY(), 200, text_height(hudFont)), 0)
        << "the last half minute is never drawn black";
}

TEST(GainText, RisesThroughItsColoursAndEndsAtAge120)
{
    freshPlayScreen();
    updateFrame();                // score 0: the line is drawn, no gain
    fallY = 330;
    score = 40;
    const int white = makecol(255, 255, 255), black = makecol(0, 0, 0);
    const int yellow = makecol(255, 255, 0), red = makecol(255, 0, 0);
    int h = text_height(hudFont), w = text_length(hudFont, " 40");
    for (int age = 1; age <= 119; age++) {
        updateFrame();
        int y = 330 - age;
        int colour = age < 30 ? white : age < 60 ? black : age < 90 ? yellow : red;
        if (age % 10 == 1 || age % 30 == 29 || age % 30 == 0) {
            EXPECT_GT(pixelsOfColour(colour, 775, y, w, h), 0) << "age " << age;
            for (int other : {white, black, yellow, red}) {
                int stray = other == colour ? 0 : pixelsOfColour(other, 775, y - 2, w, h + 4);
                EXPECT_EQ(stray, 0) << "age " << age;
            }
        }
    }
    EXPECT_EQ(gainAge, 120);
    updateFrame();
    EXPECT_EQ(gainAge, 0);
    EXPECT_EQ(scoreGain, 0);
    EXPECT_EQ(pixelsOffBackground(740, 0, 148 + 20, 768), 0);
}

TEST(GainText, ScoreDropShowsNoGain)
{
    freshPlayScreen();
    score = 100;
    lastScore = 100;
    updateFrame();
    score = 50;
    updateFrame();
    EXPECT_EQ(scoreGain, -50);
    EXPECT_EQ(pixelsOffBackground(740, 0, 148, 768), 0);
}

TEST(Preview, OldNextDigitIsErased)
{
    // The real digit pictures are opaque and would hide a missing erase, so
    // the old preview is a sprite that leaves most of the spot transparent.
    BITMAP *realSprite = digitSprites[0];
    BITMAP *dot = create_bitmap(30, 30);
    clear_to_color(dot, bitmap_mask_color(dot));
    rectfill(dot, 2, 2, 6, 6, makecol(0, 255, 0));
    digitSprites[0] = dot;

    freshPlayScreen();
    rectfill(canvas, PREVIEW_LEFT, PREVIEW_TOP, PREVIEW_LEFT + 29, PREVIEW_TOP + 29, makecol(0, 0, 255));
    nextDigit = 7;
    updateFrame();
    nextDigit = 0;
    updateFrame();
    digitSprites[0] = realSprite;

    BITMAP *expected = create_bitmap(30, 30);
    blit(gameBackground, expected, PREVIEW_LEFT, PREVIEW_TOP, 0, 0, 30, 30);
    masked_blit(dot, expected, 0, 0, 0, 0, 30, 30);
    EXPECT_EQ(differingPixels(expected, PREVIEW_LEFT, PREVIEW_TOP, 30, 30), 0);
    destroy_bitmap(expected);
    destroy_bitmap(dot);
}

TEST(Preview, StaysWhileTheDigitIsOutOfTheSpawnColumn)
{
    freshPlayScreen();
    nextDigit = 2;
    updateFrame();
    fallX = 120;
    nextDigit = 6;
    updateFrame();
    BITMAP *expected = create_bitmap(30, 30);
    blit(gameBackground, expected, PREVIEW_LEFT, PREVIEW_TOP, 0, 0, 30, 30);
    masked_blit(digitSprites[2], expected, 0, 0, 0, 0, 30, 30);
    EXPECT_EQ(differingPixels(expected, PREVIEW_LEFT, PREVIEW_TOP, 30, 30), 0);
    destroy_bitmap(expected);
}

TEST(FallPacing, FramesPerRowOnTheScreen)
{
    struct Case { int difficulty, framesPerRow; };
    for (const Case &c : {Case{EASY, 30}, Case{MEDIUM, 20}, Case{HARD, 15}, Case{BLITZ, 12}}) {
        freshPlayScreen(c.difficulty, false);
        while (fallY < 30)
            updateFrame();
        int frames = 0;
        while (fallY < 60) {
            updateFrame();
            frames++;
        }
        EXPECT_EQ(frames, c.framesPerRow) << "difficulty " << c.difficulty;
        // The falling digit is on the screen where the model has it.
        BITMAP *expected = create_bitmap(30, 30);
        blit(wellBackground, expected, fallX, fallY, 0, 0, 30, 30);
        masked_blit(digitSprites[currentDigit], expected, 0, 0, 0, 0, 30, 30);
        EXPECT_EQ(differingPixels(expected, WELL_X + fallX, WELL_Y + fallY, 30, 30), 0);
        destroy_bitmap(expected);
    }
    paused = 0;
}

// FNV-1a over the 30x30 pixels of a bitmap area, read straight from its lines.
uint32_t cellHash(BITMAP *bmp, int x, int y)
{
    uint32_t hash = 2166136261u;
    for (int j = 0; j < 30; j++) {
        const uint32_t *line = reinterpret_cast<const uint32_t *>(bmp->line[y + j]) + x;
        for (int i = 0; i < 30; i++)
            hash = (hash ^ (line[i] & 0xffffff)) * 16777619u;
    }
    return hash;
}

TEST(ClearAnimation, CellsStepTogetherOnePacedFramePerCell)
{
    struct Cell { int row, column, digit; };
    const std::vector<Cell> cells = {{12, 8, 2}, {13, 4, 8}, {14, 0, 5}};
    freshPlayScreen(EASY, false);
    for (const Cell &c : cells)
        cellEffects[c.row][c.column] = (signed char)(EFFECT_CLEARED + c.digit);

    // What each cell looks like at every frame of its animation.
    std::vector<std::vector<uint32_t>> frameHashes(cells.size());
    std::vector<uint32_t> emptyHashes;
    BITMAP *work = create_bitmap(30, 30);
    for (size_t i = 0; i < cells.size(); i++) {
        blit(wellBackground, work, 30 * cells[i].column, 30 * cells[i].row, 0, 0, 30, 30);
        emptyHashes.push_back(cellHash(work, 0, 0));
        for (int f = 0; f < CLEAR_FRAMES; f++) {
            blit(wellBackground, work, 30 * cells[i].column, 30 * cells[i].row, 0, 0, 30, 30);
            masked_blit(clearFrames[cells[i].digit][f], work, 0, 0, 0, 0, 30, 30);
            frameHashes[i].push_back(cellHash(work, 0, 0));
        }
    }
    destroy_bitmap(work);

    // A watcher notes the sample at which each cell first shows each frame.
    const long NEVER = -1;
    std::vector<std::vector<long>> firstSeen(cells.size(), std::vector<long>(CLEAR_FRAMES, NEVER));
    std::atomic<bool> running{true};
    std::thread watcher([&] {
        long sample = 0;
        while (running) {
            for (size_t i = 0; i < cells.size(); i++) {
                uint32_t h = cellHash(screen, WELL_X + 30 * cells[i].column, WELL_Y + 30 * cells[i].row);
                for (int f = 0; f < CLEAR_FRAMES; f++)
                    if (h == frameHashes[i][f] && firstSeen[i][f] == NEVER)
                        firstSeen[i][f] = sample;
            }
            sample++;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });

    waitFrame();                  // start on a frame boundary
    auto start = std::chrono::steady_clock::now();
    updateFrame();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    running = false;
    watcher.join();

    int waits = CLEAR_FRAMES * (int)cells.size();
    EXPECT_GE(seconds, 0.95 * waits / 60.0);
    EXPECT_LE(seconds, waits / 60.0 + 0.4);
    // The last frames fade out to nothing and look like the empty cell; the
    // order can only be seen on frames that look like no other.
    auto visible = [&](int f) {
        for (size_t i = 0; i < cells.size(); i++)
            for (int g = 0; g < CLEAR_FRAMES; g++)
                if (frameHashes[i][f] == emptyHashes[i] || (g != f && frameHashes[i][g] == frameHashes[i][f]))
                    return false;
        return true;
    };
    // The last frame is wiped again before the next wait, so it is never on show.
    int distinctFrames = 0;
    for (int f = 0; f + 2 < CLEAR_FRAMES; f++) {
        if (!visible(f) || !visible(f + 1))
            continue;
        distinctFrames++;
        for (size_t i = 0; i < cells.size(); i++) {
            ASSERT_NE(firstSeen[i][f], NEVER) << "cell " << i << " frame " << f << " never seen";
            for (size_t j = 0; j < cells.size(); j++)
                EXPECT_LT(firstSeen[i][f], firstSeen[j][f + 1]) << "cells " << i << "," << j << " frame " << f;
        }
    }
    EXPECT_GE(distinctFrames, 8);
    for (const Cell &c : cells) {
        EXPECT_EQ(cellEffects[c.row][c.column], 0);
        BITMAP *empty = create_bitmap(30, 30);
        blit(wellBackground, empty, 30 * c.column, 30 * c.row, 0, 0, 30, 30);
        EXPECT_EQ(differingPixels(empty, WELL_X + 30 * c.column, WELL_Y + 30 * c.row, 30, 30), 0);
        destroy_bitmap(empty);
    }
    EXPECT_EQ(fallRow, 1) << "the next digit came in before the animation";
}

TEST(ClearAnimation, CollapsedCellsAreRepaintedWithTheirDigits)
{
    freshPlayScreen();
    masked_blit(digitSprites[3], canvas, 0, 0, WELL_X + 30 * 2, WELL_Y + 30 * 13, 30, 30);
    cellEffects[13][2] = EFFECT_MOVED;
    well[14][2].digit = 6;
    cellEffects[14][2] = EFFECT_MOVED;
    updateFrame();
    EXPECT_EQ(cellEffects[13][2], 0);
    EXPECT_EQ(cellEffects[14][2], 0);
    BITMAP *expected = create_bitmap(30, 30);
    blit(wellBackground, expected, 60, 390, 0, 0, 30, 30);
    EXPECT_EQ(differingPixels(expected, WELL_X + 60, WELL_Y + 390, 30, 30), 0);
    blit(wellBackground, expected, 60, 420, 0, 0, 30, 30);
    masked_blit(digitSprites[6], expected, 0, 0, 0, 0, 30, 30);
    EXPECT_EQ(differingPixels(expected, WELL_X + 60, WELL_Y + 420, 30, 30), 0);
    destroy_bitmap(expected);
}

// CPU time of the calling thread, in milliseconds.
double threadCpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

TEST(FramePerformance, OrdinaryPassCostsLittleCpu)
{
    freshPlayScreen(EASY, false);
    // A well half full of landed digits, all repainted on every pass.
    for (int r = 8; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            if (c != SPAWN_COLUMN)
                well[r][c].digit = (signed char)((r + c) % 9);
    score = 120;
    const int passes = 300;
    double cpu = threadCpuMs();
    for (int i = 0; i < passes; i++) {
        clockDue = 1;
        updateFrame();
    }
    double perPass = (threadCpuMs() - cpu) / passes;
    std::printf("[ figures  ] updateFrame: %.3f ms CPU per ordinary pass (%.1f%% of a 60 Hz frame)\n",
                perPass, perPass * 60 / 10);
#if defined(__SANITIZE_ADDRESS__)
    (void)perPass;
#else
    EXPECT_LT(perPass, 0.5);
#endif
}

} // namespace
