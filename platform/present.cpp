// present.cpp -- the presenter. The game paints into the canvas; once a
// frame the presenter compares the tiles drawn on with what it last showed
// there, and copies only the tiles that changed to the display, at the
// size that fits the window (scale.cpp) and centred on a dark backdrop.
// What was shown is kept as a 64-bit digest per tile rather than a second
// copy of the canvas. A switch between full screen and the window, and a
// window resized by the player, show the same canvas again at its new size,
// so no screen of the game ever has to redraw itself for them.
#include "platform/present.h"
#include "platform/damage.h"
#include "platform/desktop.h"
#include "platform/platform.h"
#include "platform/scale.h"
#include "platform/shutdown.h"
#include <atomic>
#include <cstdint>
#include <cstring>

BITMAP *canvas = nullptr;
BITMAP *displayTarget = nullptr;
int fullScreen = 1;
int sharpScaling = 0;

static const int FOCUS_GRACE_FRAMES = 30;     // a switch moves the focus about for a moment

static uint64_t shownDigest[TILE_ROWS][TILE_COLUMNS];   // each tile as last presented
static int windowW = CANVAS_W, windowH = CANVAS_H;   // the room the canvas is shown in
static int everythingDue = 1;
static int pointerShown = 0;
static int framesSinceSwitch = FOCUS_GRACE_FRAMES;
static std::atomic<int> switchRequested{0};
static std::atomic<int> focusEvent{0};
static int focusLost = 0;

// The backdrop around the scaled canvas: the deep blue-black of the art's shadows.
static int backdropColour()
{
    return makecol(12, 14, 24);
}

int createCanvas()
{
    if (!canvas)
        canvas = create_bitmap_ex(32, CANVAS_W, CANVAS_H);
    if (!canvas)
        return -1;
    trackCanvasDamage();
    clear_bitmap(canvas);
    everythingDue = 1;
    return 0;
}

void presentEverything()
{
    everythingDue = 1;
}

// The digests of a row of tiles, for the tiles marked in wanted[]. Each
// tile is hashed in four independent lanes so the multiplications overlap;
// each step multiplies by an odd number and the lanes are summed with odd
// weights, so a tile that differs from another in one pair of pixels always
// gets a different digest, and larger changes collide with odds of 1 in
// 2^64. The row is read line by line, left to right, as memory lies.
static void rowDigests(int row, const unsigned char *wanted, uint64_t *digests)
{
    const uint64_t PRIME = 0x100000001b3ull;
    uint64_t lanes[TILE_COLUMNS][4];
    for (int t = 0; t < TILE_COLUMNS; t++) {
        lanes[t][0] = 0xcbf29ce484222325ull;
        lanes[t][1] = 0x84222325cbf29ce4ull;
        lanes[t][2] = 0x9ce484222325cbf2ull;
        lanes[t][3] = 0x2325cbf29ce48422ull;
    }
    for (int line = row * PRESENT_TILE; line < (row + 1) * PRESENT_TILE; line++) {
        const uint64_t *pixels = reinterpret_cast<const uint64_t *>(canvas->line[line]);
        for (int t = 0; t < TILE_COLUMNS; t++) {
            if (!wanted[t])
                continue;
            uint64_t a = lanes[t][0], b = lanes[t][1], c = lanes[t][2], d = lanes[t][3];
            const uint64_t *p = pixels + t * PRESENT_TILE / 2;
            for (int i = 0; i < PRESENT_TILE / 2; i += 4) {
                a = (a ^ p[i]) * PRIME;
                b = (b ^ p[i + 1]) * PRIME;
                c = (c ^ p[i + 2]) * PRIME;
                d = (d ^ p[i + 3]) * PRIME;
            }
            lanes[t][0] = a, lanes[t][1] = b, lanes[t][2] = c, lanes[t][3] = d;
        }
    }
    for (int t = 0; t < TILE_COLUMNS; t++)
        digests[t] = lanes[t][0] + 3 * lanes[t][1] + 5 * lanes[t][2] + 7 * lanes[t][3];
}

// 1 when a tile of the canvas differs from what the display's memory shows
// for it; the comparison stops at the first pixel that differs.
static int tileDiffersFromDisplay(int row, int column)
{
    int s = displayScale, x = column * PRESENT_TILE;
    for (int line = row * PRESENT_TILE; line < (row + 1) * PRESENT_TILE; line++) {
        const uint32_t *now = reinterpret_cast<const uint32_t *>(canvas->line[line]) + x;
        const uint32_t *shown =
            reinterpret_cast<const uint32_t *>(displayTarget->line[displayTop + line * s]) + displayLeft + x * s;
        if (s == 1) {
            if (memcmp(now, shown, PRESENT_TILE * 4) != 0)
                return 1;
            continue;
        }
        for (int i = 0; i < PRESENT_TILE; i++)
            if (now[i] != shown[i * s])
                return 1;
    }
    return 0;
}

// Marks in dirty[] the tiles of one tile row that were drawn on and now
// differ from what was shown; a tile redrawn the same is left alone. Where
// the display's memory can be read it is compared with directly; elsewhere
// each tile's digest is, and the new look of a changed tile is remembered.
static int findChangedTiles(int row, unsigned char *dirty)
{
    unsigned char drawnOn[TILE_COLUMNS];
    int any = 0;
    for (int t = 0; t < TILE_COLUMNS; t++)
        any |= drawnOn[t] = everythingDue || damagedTiles[row][t];
    memset(dirty, everythingDue, TILE_COLUMNS);
    if (!any)
        return 0;
    if (displayScale && writesDisplayMemory()) {
        int count = 0;
        for (int t = 0; t < TILE_COLUMNS; t++)
            count += dirty[t] = everythingDue || (drawnOn[t] && tileDiffersFromDisplay(row, t));
        return count;
    }
    uint64_t digests[TILE_COLUMNS];
    rowDigests(row, drawnOn, digests);
    int count = 0;
    for (int t = 0; t < TILE_COLUMNS; t++) {
        if (drawnOn[t] && digests[t] != shownDigest[row][t]) {
            shownDigest[row][t] = digests[t];
            dirty[t] = 1;
        }
        count += dirty[t];
    }
    return count;
}

// A block of changed tiles waiting to go to the display: columns [first,
// last) of tile rows [top, top + rows).
struct Block {
    int first, last, top, rows;
};

// Copies a block of tiles to the display. Resampling costs by the pixel, so
// there only the part of the block actually drawn on goes: a sprite that
// moves a pixel changes its own rectangle, not every tile it touches.
static void copyBlock(const Block &b)
{
    if (displayScale || everythingDue) {
        scaleArea(b.first * PRESENT_TILE, b.top * PRESENT_TILE, (b.last - b.first) * PRESENT_TILE,
                  b.rows * PRESENT_TILE);
        return;
    }
    DrawnArea drawn = drawnBounds(b.first, b.last, b.top, b.rows);
    if (drawn.right > drawn.left && drawn.bottom > drawn.top)
        scaleArea(drawn.left, drawn.top, drawn.right - drawn.left, drawn.bottom - drawn.top);
}

// Adds one row's runs of changed tiles to the open blocks: a run under a
// block of the same columns makes it a row taller; blocks the row does not
// continue are copied. Returns the number of tiles in the row.
static int addRowToBlocks(int row, const unsigned char *dirty, Block *blocks, int *count)
{
    Block next[TILE_COLUMNS];
    int nextCount = 0, tiles = 0;
    for (int t = 0; t < TILE_COLUMNS; t++) {
        if (!dirty[t])
            continue;
        int first = t;
        while (t < TILE_COLUMNS && dirty[t])
            t++;
        tiles += t - first;
        Block run = {first, t, row, 1};
        for (int i = 0; i < *count; i++)
            if (blocks[i].first == first && blocks[i].last == t && blocks[i].top + blocks[i].rows == row) {
                run = blocks[i];
                run.rows++;
                blocks[i].rows = 0;         // carried on, not copied yet
            }
        next[nextCount++] = run;
    }
    for (int i = 0; i < *count; i++)
        if (blocks[i].rows)
            copyBlock(blocks[i]);
    memcpy(blocks, next, sizeof(Block) * nextCount);
    *count = nextCount;
    return tiles;
}

int presentCanvas()
{
    if (!canvas || !displayTarget)
        return 0;
    int presented = 0, blockCount = 0;
    unsigned char dirty[TILE_COLUMNS];
    Block blocks[TILE_COLUMNS];
    acquire_bitmap(displayTarget);
    // Changed tiles go to the display in blocks, so a moving sprite is one copy.
    for (int row = 0; row < TILE_ROWS; row++) {
        findChangedTiles(row, dirty);
        presented += addRowToBlocks(row, dirty, blocks, &blockCount);
    }
    for (int i = 0; i < blockCount; i++)
        copyBlock(blocks[i]);
    release_bitmap(displayTarget);
    everythingDue = 0;
    clearDamage();
    return presented;
}

// Tells the frame loop that the window may have lost the focus (the library's thread).
static void onSwitchOut()
{
    focusEvent = 1;
}
END_OF_STATIC_FUNCTION(onSwitchOut)

// Takes Alt+Enter and F11 out of the key stream: they switch the display.
static int filterDisplayKeys(int key)
{
    int scancode = key >> 8;
    if (scancode == KEY_F11 || (scancode == KEY_ENTER && (key_shifts & KB_ALT_FLAG))) {
        switchRequested = 1;
        return 0;
    }
    return key;
}
END_OF_STATIC_FUNCTION(filterDisplayKeys)

// The window's size for the current mode: the whole monitor for full
// screen, else the canvas's fitted size in the room a window may take.
static void chooseWindowSize(int *w, int *h)
{
    int roomW, roomH;
    if (fullScreen) {
        desktopSize(w, h);
        return;
    }
    desktopWorkArea(&roomW, &roomH);
    fittedSize(roomW, roomH, w, h);
}

// Fills the display's area from (left, top) up to (right, bottom), when it is not empty.
static void fillBackdrop(int left, int top, int right, int bottom)
{
    if (right > left && bottom > top)
        rectfill(displayTarget, left, top, right - 1, bottom - 1, backdropColour());
}

// Paints the dark backdrop on the part of the window around the canvas.
static void paintBackdrop()
{
    int top = MAX(displayTop, 0), bottom = MIN(displayTop + displayHeight, windowH);
    fillBackdrop(0, 0, windowW, top);
    fillBackdrop(0, bottom, windowW, windowH);
    fillBackdrop(0, top, displayLeft, bottom);
    fillBackdrop(displayLeft + displayWidth, top, windowW, bottom);
}

// Shows the canvas afresh in a window of w x h: centred at its fitted size on the backdrop.
static void layOutCanvas(int w, int h)
{
    windowW = w;
    windowH = h;
    fitCanvas(w, h);
    paintBackdrop();
    everythingDue = 1;
}

// Sets the graphics mode for the current choice of full screen or window,
// trying twice. The display's memory may be larger than the window, so
// that the window can grow without the display being reopened.
static int setDisplayMode()
{
    int w, h, surfaceW, surfaceH;
    chooseWindowSize(&w, &h);
    desktopSurfaceSize(w, h, &surfaceW, &surfaceH);
    if (surfaceW == w && surfaceH == h)
        surfaceW = surfaceH = 0;
    prepareDesktopWindow(fullScreen);
    int driver = desktopDriver(fullScreen);
    set_color_depth(32);
    if (set_gfx_mode(driver, w, h, surfaceW, surfaceH) != 0) {
        set_color_depth(32);
        if (set_gfx_mode(driver, w, h, surfaceW, surfaceH) != 0)
            return -1;
    }
    displayTarget = screen;
    placeDesktopWindow(fullScreen, w, h);
    layOutCanvas(w, h);
    finishDesktopWindow(fullScreen);
    set_display_switch_mode(SWITCH_BACKGROUND);
    LOCK_FUNCTION(onSwitchOut);
    set_display_switch_callback(SWITCH_OUT, onSwitchOut);
    showPointer(pointerShown);
    return 0;
}

int openDisplay()
{
    pickDesktopMonitor(1);
    if (createCanvas() != 0 || setDisplayMode() != 0)
        return -1;
    gui_set_screen(canvas);
    LOCK_FUNCTION(filterDisplayKeys);
    keyboard_callback = filterDisplayKeys;
    return 0;
}

// Switches to the other mode on the monitor that holds the window, in place
// where the desktop can; otherwise the display is reopened, and the dialog
// colours survive the new mode.
static void switchDisplayMode()
{
    int fg = gui_fg_color, mg = gui_mg_color, bg = gui_bg_color, w, h;
    fullScreen = !fullScreen;
    pickDesktopMonitor(0);
    chooseWindowSize(&w, &h);
    if (switchDesktopWindow(fullScreen, w, h) != 0 && setDisplayMode() != 0) {
        fullScreen = !fullScreen;
        if (setDisplayMode() != 0) {
            // No display is left to draw on: the box stands alone.
            displayTarget = nullptr;
            showErrorBox("Fatal Error!  Cannot Open Display!", "Error");
            exitNow();
        }
    }
    gui_fg_color = fg;
    gui_mg_color = mg;
    gui_bg_color = bg;
    framesSinceSwitch = 0;
    focusEvent = 0;
}

void requestModeSwitch()
{
    switchRequested = 1;
}

// Turns a focus event into a loss when the focus really went elsewhere.
static void checkFocus()
{
    if (framesSinceSwitch < FOCUS_GRACE_FRAMES) {
        framesSinceSwitch++;
        return;
    }
    if (focusEvent.exchange(0) && !desktopWindowHasFocus())
        focusLost = 1;
}

// 1 while any key that can ask for a switch is down.
static int switchKeysHeld()
{
    return key[KEY_F11] || key[KEY_ENTER] || key[KEY_ALT] || key[KEY_ALTGR];
}

void serviceDisplay()
{
    // The switch waits until the keys that asked for it are let go: a key
    // still held while the display reopens can lose its release (Wine then
    // reports it pressed again, and the library repeats it), and would
    // switch the display back on its own.
    if (switchRequested && !switchKeysHeld()) {
        switchRequested = 0;
        if (displayTarget == screen)
            switchDisplayMode();
    }
    int w, h;
    if (displayTarget == screen && desktopWindowResized(&w, &h))
        layOutCanvas(w, h);
    checkFocus();
    if (presentCanvas())
        flushDesktop();
}

int takeFocusLoss()
{
    int lost = focusLost;
    focusLost = 0;
    return lost;
}

int showPointer(int shown)
{
    int was = pointerShown;
    pointerShown = shown;
    if (displayTarget == screen && screen)
        show_os_cursor(shown ? MOUSE_CURSOR_ARROW : MOUSE_CURSOR_NONE);
    return was;
}
