// scale.cpp -- the canvas at the size the display gives it. At a whole-number
// scale each canvas pixel becomes a block of pixels, written straight into
// the display's lines where they are plain memory. At any other size the
// pixman library resamples: bilinear when enlarging, and when shrinking an
// average over each display pixel's share of the canvas (a box filter, as
// a separable convolution), so thin lines and text stay visible. pixman
// has vector code for both. Only the areas the presenter found changed are
// resampled, each taking in the canvas pixels its filter reaches beyond
// the area, so the picture is the same as if the whole canvas had been
// resampled. A build without pixman keeps to whole numbers.
#include "platform/scale.h"
#include "platform/desktop.h"
#include "platform/present.h"
#include <cstdint>
#include <cstdlib>
#include <cstring>
#ifdef TG_HAVE_PIXMAN
#include <pixman.h>
#endif

int displayLeft = 0, displayTop = 0;
int displayWidth = CANVAS_W, displayHeight = CANVAS_H;
int displayScale = 1;

#ifdef TG_HAVE_PIXMAN
static const int CAN_RESAMPLE = 1;
#else
static const int CAN_RESAMPLE = 0;
#endif

static BITMAP *band = nullptr;                // one row of tiles at a whole-number scale

// a / b rounded down or up, for any sign of a and b > 0.
static int divideDown(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
[[maybe_unused]] static int divideUp(int a, int b) { return -divideDown(-a, b); }

void fittedSize(int roomW, int roomH, int *w, int *h)
{
    // The largest 4:3 size in the room; the height always follows from the
    // width, so that a size fitted once fits itself again.
    int fitW = roomW;
    if (fitW * CANVAS_H / CANVAS_W > roomH)
        fitW = roomH * CANVAS_W / CANVAS_H;
    int fitH = fitW * CANVAS_H / CANVAS_W;
    // Up to 2 % more than a whole number is not worth the resampling's blur.
    int whole = fitW / CANVAS_W;
    if (whole < 1 && !CAN_RESAMPLE)
        whole = 1;
    if (whole >= 1 && (sharpScaling || !CAN_RESAMPLE || fitW * 50 <= whole * CANVAS_W * 51)) {
        fitW = whole * CANVAS_W;
        fitH = whole * CANVAS_H;
    }
    *w = MAX(fitW, 1);
    *h = MAX(fitH, 1);
}

void fitCanvas(int roomW, int roomH)
{
    fittedSize(roomW, roomH, &displayWidth, &displayHeight);
    displayScale = displayWidth % CANVAS_W == 0 && displayHeight == displayWidth / CANVAS_W * CANVAS_H
                       ? displayWidth / CANVAS_W
                       : 0;
    displayLeft = (roomW - displayWidth) / 2;
    displayTop = (roomH - displayHeight) / 2;
}

int canvasXAt(int x)
{
    return divideDown((x - displayLeft) * CANVAS_W, displayWidth);
}

int canvasYAt(int y)
{
    return divideDown((y - displayTop) * CANVAS_H, displayHeight);
}

// 1 when the display's lines are memory the presenter may write itself.
static int displayIsMemory()
{
    return is_memory_bitmap(displayTarget) || (displayTarget == screen && desktopDirectPixels());
}

int writesDisplayMemory()
{
    int fits = displayLeft >= 0 && displayTop >= 0 && displayLeft + displayWidth <= displayTarget->w &&
               displayTop + displayHeight <= displayTarget->h;
    return fits && displayIsMemory();
}

// Writes each of w pixels s times over; scale 2, the common one, a pair at a time.
static void widenLine(const uint32_t *from, uint32_t *to, int w, int s)
{
    if (s == 1) {
        memcpy(to, from, (size_t)w * 4);
        return;
    }
    if (s == 2) {
        // Written as plain pairs, which the compiler turns into vector shuffles.
        for (int i = 0; i < w; i++) {
            to[2 * i] = from[i];
            to[2 * i + 1] = from[i];
        }
        return;
    }
    for (int i = 0; i < w; i++)
        for (int k = 0; k < s; k++)
            *to++ = from[i];
}

// Writes the canvas area at (x, y), w by h, scaled, straight into the
// display's lines, and tells the windowing system.
static void writeArea(int x, int y, int w, int h)
{
    int s = displayScale, left = displayLeft + x * s;
    size_t bytes = (size_t)w * s * 4;
    for (int row = 0; row < h; row++) {
        int top = displayTop + (y + row) * s;
        uint32_t *to = reinterpret_cast<uint32_t *>(displayTarget->line[top]) + left;
        widenLine(reinterpret_cast<const uint32_t *>(canvas->line[y + row]) + x, to, w, s);
        for (int k = 1; k < s; k++)
            memcpy(reinterpret_cast<uint32_t *>(displayTarget->line[top + k]) + left, to, bytes);
    }
    if (displayTarget == screen)
        desktopPixelsChanged(left, displayTop + y * s, w * s, h * s);
}

// Makes *b a 32-bit bitmap of w by h, keeping it when it already is; 0 on success.
static int keepBitmapSized(BITMAP **b, int w, int h)
{
    if (*b && (*b)->w == w && (*b)->h == h)
        return 0;
    if (*b)
        destroy_bitmap(*b);
    *b = create_bitmap_ex(32, w, h);
    return *b ? 0 : -1;
}

// Copies the canvas area at (x, y), w by h (whole tile rows), at a whole-number scale.
static void copyWhole(int x, int y, int w, int h)
{
    if (writesDisplayMemory()) {
        writeArea(x, y, w, h);
        return;
    }
    int s = displayScale;
    if (s == 1) {
        blit(canvas, displayTarget, x, y, displayLeft + x, displayTop + y, w, h);
        return;
    }
    if (keepBitmapSized(&band, CANVAS_W * s, PRESENT_TILE * s) != 0)
        return;
    // The band holds one tile row at the display's scale.
    for (int bandTop = y; bandTop < y + h; bandTop += PRESENT_TILE) {
        for (int row = 0; row < PRESENT_TILE; row++) {
            widenLine(reinterpret_cast<const uint32_t *>(canvas->line[bandTop + row]) + x,
                      reinterpret_cast<uint32_t *>(band->line[row * s]), w, s);
            for (int k = 1; k < s; k++)
                memcpy(band->line[row * s + k], band->line[row * s], (size_t)w * s * 4);
        }
        blit(band, displayTarget, 0, 0, displayLeft + x * s, displayTop + bandTop * s, w * s, PRESENT_TILE * s);
    }
}

#ifdef TG_HAVE_PIXMAN
static pixman_image_t *canvasImage = nullptr;   // the canvas's pixels as pixman reads them
static pixman_image_t *targetImage = nullptr;   // the display's memory, or the staging bitmap's
static const BITMAP *wrappedBitmap = nullptr;   // what targetImage wraps: the bitmap,
static const unsigned char *wrappedBits = nullptr;   // its first line
static int wrappedW = 0, wrappedH = 0;               // and its size
static BITMAP *staging = nullptr;             // the scaled canvas, where the display is not plain memory
static int filterW = 0, filterH = 0;          // the canvas size the source's filter is set for
static int filterMargin = 1;                  // canvas pixels around a change that the filter reaches

// Wraps a 32-bit bitmap's lines for pixman when they lie one fixed pitch
// apart, as a memory bitmap's and the X11 screen's do; null otherwise.
static pixman_image_t *wrapBitmap(BITMAP *b)
{
    if (bitmap_color_depth(b) != 32)
        return nullptr;
    intptr_t pitch = b->h > 1 ? b->line[1] - b->line[0] : (intptr_t)b->w * 4;
    if (pitch < (intptr_t)b->w * 4 || pitch % 4 != 0)
        return nullptr;
    for (int y = 2; y < b->h; y++)
        if (b->line[y] != b->line[0] + pitch * y)
            return nullptr;
    return pixman_image_create_bits(PIXMAN_x8r8g8b8, b->w, b->h, reinterpret_cast<uint32_t *>(b->line[0]),
                                    (int)pitch);
}

// Points targetImage at a bitmap, unless it already wraps that memory; 0 on success.
static int wrapTarget(BITMAP *b)
{
    if (targetImage && wrappedBitmap == b && wrappedBits == b->line[0] && wrappedW == b->w && wrappedH == b->h)
        return 0;
    if (targetImage)
        pixman_image_unref(targetImage);
    targetImage = wrapBitmap(b);
    wrappedBitmap = b;
    wrappedBits = b->line[0];
    wrappedW = b->w;
    wrappedH = b->h;
    return targetImage ? 0 : -1;
}

// Sets the canvas's transform and filter for the current size: bilinear to
// enlarge, a box average to shrink; and the margin each filter reaches.
static void prepareFilter()
{
    if (filterW == displayWidth && filterH == displayHeight)
        return;
    pixman_fixed_t sx = pixman_double_to_fixed((double)CANVAS_W / displayWidth);
    pixman_fixed_t sy = pixman_double_to_fixed((double)CANVAS_H / displayHeight);
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, sx, sy);
    pixman_image_set_transform(canvasImage, &transform);
    pixman_image_set_repeat(canvasImage, PIXMAN_REPEAT_PAD);
    // A bilinear sample reads the two pixels around it; one more for rounding.
    filterMargin = 2;
    if (displayWidth >= CANVAS_W && displayHeight >= CANVAS_H) {
        pixman_image_set_filter(canvasImage, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    } else {
        int count = 0;
        pixman_fixed_t *params = pixman_filter_create_separable_convolution(
            &count, sx, sy, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 4, 4);
        if (params) {
            pixman_image_set_filter(canvasImage, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, count);
            // The first two values are the filter's width and height in canvas pixels.
            filterMargin = MAX(pixman_fixed_to_int(params[0]), pixman_fixed_to_int(params[1])) / 2 + 2;
            free(params);
        } else {
            pixman_image_set_filter(canvasImage, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        }
    }
    filterW = displayWidth;
    filterH = displayHeight;
}

// Resamples the canvas area at (x, y), w by h, onto the display.
static void resampleArea(int x, int y, int w, int h)
{
    if (!canvasImage && !(canvasImage = wrapBitmap(canvas)))
        return;
    prepareFilter();
    // The display pixels whose samples reach into the area.
    int m = filterMargin;
    int left = MAX(divideDown((x - m) * displayWidth, CANVAS_W), 0);
    int top = MAX(divideDown((y - m) * displayHeight, CANVAS_H), 0);
    int right = MIN(divideUp((x + w + m) * displayWidth, CANVAS_W), displayWidth);
    int bottom = MIN(divideUp((y + h + m) * displayHeight, CANVAS_H), displayHeight);
    if (displayIsMemory() && wrapTarget(displayTarget) == 0) {
        pixman_image_composite32(PIXMAN_OP_SRC, canvasImage, nullptr, targetImage, left, top, 0, 0,
                                 displayLeft + left, displayTop + top, right - left, bottom - top);
        if (displayTarget == screen)
            desktopPixelsChanged(displayLeft + left, displayTop + top, right - left, bottom - top);
        return;
    }
    // A display that must be drawn through the library gets a copy of the staging bitmap.
    if (keepBitmapSized(&staging, displayWidth, displayHeight) != 0 || wrapTarget(staging) != 0)
        return;
    pixman_image_composite32(PIXMAN_OP_SRC, canvasImage, nullptr, targetImage, left, top, 0, 0, left, top,
                             right - left, bottom - top);
    blit(staging, displayTarget, left, top, displayLeft + left, displayTop + top, right - left, bottom - top);
}
#else
// Without pixman every size is a whole number.
static void resampleArea(int, int, int, int)
{
}
#endif

void scaleArea(int x, int y, int w, int h)
{
    if (displayScale)
        copyWhole(x, y, w, h);
    else
        resampleArea(x, y, w, h);
}
