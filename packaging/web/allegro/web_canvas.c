/* web_canvas.c -- the graphics driver for the browser.
 *
 * The screen is a bitmap in the program's own memory, of any size the
 * program asks for, shown in the page's canvas element (Module.canvas) at
 * its own size in pixels; the page's style decides how large it looks.
 * Every drawing method of the screen first notes the rectangle it may
 * touch; before the program sleeps, those rectangles, and only those, go
 * to the canvas, once per browser frame at 60 frames a second. Methods
 * whose extent is awkward to work out note the whole screen. The pixel
 * layout (see web_system.c) is the canvas's own; only the alpha byte,
 * which drawing leaves at zero, is made opaque on the way.
 */
#include <emscripten.h>
#include <stdlib.h>
#include "web_drivers.h"

#define MAX_RECTS 32

static BITMAP *screenBitmap = NULL;
static unsigned char *pixels = NULL;
static GFX_VTABLE original;          /* the library's methods for the screen */
static int rects[MAX_RECTS * 4];     /* x, y, w, h of each changed rectangle */
static int rectCount = 0;
static int pitch = 0;                /* bytes from one screen row to the next */

/* Makes the page's canvas w x h and keeps what it needs to draw into it. */
EM_JS(int, web_canvas_open, (int w, int h), {
   var canvas = Module['canvas'];
   if (!canvas)
      return -1;
   canvas.width = w;
   canvas.height = h;
   var context = canvas.getContext('2d', { alpha: false });
   var image = context.createImageData(w, h);
   Module['webScreen'] = { context: context, image: image, words: new Uint32Array(image.data.buffer), w: w };
   return 0;
});

/* Copies the rectangles (x, y, w, h each) from the screen's memory to the canvas, opaque. */
EM_JS(void, web_canvas_put, (const unsigned char *pixels, int pitch, const int *rects, int count), {
   var s = Module['webScreen'];
   if (!s)
      return;
   var words = s.words, heap = HEAPU32;
   for (var r = 0; r < count; r++) {
      var x = HEAP32[(rects >> 2) + 4 * r], y = HEAP32[(rects >> 2) + 4 * r + 1];
      var w = HEAP32[(rects >> 2) + 4 * r + 2], h = HEAP32[(rects >> 2) + 4 * r + 3];
      for (var row = y; row < y + h; row++) {
         var from = (pixels + row * pitch) >> 2, to = row * s.w;
         for (var i = x; i < x + w; i++)
            words[to + i] = heap[from + i] | 0xff000000;
      }
      s.context.putImageData(s.image, 0, 0, x, y, w, h);
   }
   if (Module['onScreenDrawn'])
      Module['onScreenDrawn']();
});

/* Notes the inclusive rectangle (x1, y1)-(x2, y2) of bmp, in either order, clipped to the screen. */
static void mark(BITMAP *bmp, int x1, int y1, int x2, int y2)
{
   int t, *r;
   if (x1 > x2) { t = x1; x1 = x2; x2 = t; }
   if (y1 > y2) { t = y1; y1 = y2; y2 = t; }
   x1 = MAX(x1 + bmp->x_ofs, 0);
   y1 = MAX(y1 + bmp->y_ofs, 0);
   x2 = MIN(x2 + bmp->x_ofs, screenBitmap->w - 1);
   y2 = MIN(y2 + bmp->y_ofs, screenBitmap->h - 1);
   if (x1 > x2 || y1 > y2)
      return;
   if (rectCount == MAX_RECTS) {
      /* Too many to keep apart: they become one rectangle around them all. */
      for (t = 1; t < rectCount; t++) {
         x1 = MIN(x1, rects[4 * t]);
         y1 = MIN(y1, rects[4 * t + 1]);
         x2 = MAX(x2, rects[4 * t] + rects[4 * t + 2] - 1);
         y2 = MAX(y2, rects[4 * t + 1] + rects[4 * t + 3] - 1);
      }
      x1 = MIN(x1, rects[0]);
      y1 = MIN(y1, rects[1]);
      x2 = MAX(x2, rects[0] + rects[2] - 1);
      y2 = MAX(y2, rects[1] + rects[3] - 1);
      rectCount = 0;
   }
   r = rects + 4 * rectCount++;
   r[0] = x1;
   r[1] = y1;
   r[2] = x2 - x1 + 1;
   r[3] = y2 - y1 + 1;
}

/* Notes a w x h area with its top-left corner at (x, y). */
static void mark_area(BITMAP *bmp, int x, int y, int w, int h)
{
   if (w > 0 && h > 0)
      mark(bmp, x, y, x + w - 1, y + h - 1);
}

/* Notes the whole screen. */
static void mark_all(void)
{
   rectCount = 0;
   mark(screenBitmap, 0, 0, screenBitmap->w - 1, screenBitmap->h - 1);
}

void _web_flush_screen(void)
{
   if (!screenBitmap || !rectCount)
      return;
   web_canvas_put(pixels, pitch, rects, rectCount);
   rectCount = 0;
}

/* The screen's drawing methods: each notes its rectangle, then draws as the library does. */
#define SPAN(name, params, box, args) \
   static void noted_##name params { mark box; original.name args; }
#define AREA(name, params, box, args) \
   static void noted_##name params { mark_area box; original.name args; }
#define ALL(name, params, args) \
   static void noted_##name params { mark_all(); original.name args; }

SPAN(putpixel, (BITMAP *b, int x, int y, int c), (b, x, y, x, y), (b, x, y, c))
SPAN(vline, (BITMAP *b, int x, int y1, int y2, int c), (b, x, y1, x, y2), (b, x, y1, y2, c))
SPAN(hline, (BITMAP *b, int x1, int y, int x2, int c), (b, x1, y, x2, y), (b, x1, y, x2, c))
SPAN(hfill, (BITMAP *b, int x1, int y, int x2, int c), (b, x1, y, x2, y), (b, x1, y, x2, c))
SPAN(line, (BITMAP *b, int x1, int y1, int x2, int y2, int c), (b, x1, y1, x2, y2), (b, x1, y1, x2, y2, c))
SPAN(fastline, (BITMAP *b, int x1, int y1, int x2, int y2, int c), (b, x1, y1, x2, y2), (b, x1, y1, x2, y2, c))
SPAN(rectfill, (BITMAP *b, int x1, int y1, int x2, int y2, int c), (b, x1, y1, x2, y2), (b, x1, y1, x2, y2, c))
SPAN(rect, (BITMAP *b, int x1, int y1, int x2, int y2, int c), (b, x1, y1, x2, y2), (b, x1, y1, x2, y2, c))
SPAN(circle, (BITMAP *b, int x, int y, int r, int c), (b, x - r, y - r, x + r, y + r), (b, x, y, r, c))
SPAN(circlefill, (BITMAP *b, int x, int y, int r, int c), (b, x - r, y - r, x + r, y + r), (b, x, y, r, c))
SPAN(ellipse, (BITMAP *b, int x, int y, int rx, int ry, int c), (b, x - rx, y - ry, x + rx, y + ry), (b, x, y, rx, ry, c))
SPAN(ellipsefill, (BITMAP *b, int x, int y, int rx, int ry, int c), (b, x - rx, y - ry, x + rx, y + ry), (b, x, y, rx, ry, c))
AREA(draw_sprite, (BITMAP *b, BITMAP *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_256_sprite, (BITMAP *b, BITMAP *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_sprite_v_flip, (BITMAP *b, BITMAP *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_sprite_h_flip, (BITMAP *b, BITMAP *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_sprite_vh_flip, (BITMAP *b, BITMAP *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_trans_sprite, (BITMAP *b, BITMAP *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_trans_rgba_sprite, (BITMAP *b, BITMAP *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_lit_sprite, (BITMAP *b, BITMAP *s, int x, int y, int c), (b, x, y, s->w, s->h), (b, s, x, y, c))
AREA(draw_sprite_ex, (BITMAP *b, BITMAP *s, int x, int y, int m, int f), (b, x, y, s->w, s->h), (b, s, x, y, m, f))
AREA(draw_gouraud_sprite, (BITMAP *b, BITMAP *s, int x, int y, int c1, int c2, int c3, int c4), (b, x, y, s->w, s->h), (b, s, x, y, c1, c2, c3, c4))
AREA(draw_character, (BITMAP *b, BITMAP *s, int x, int y, int c, int bg), (b, x, y, s->w, s->h), (b, s, x, y, c, bg))
AREA(draw_glyph, (BITMAP *b, AL_CONST FONT_GLYPH *g, int x, int y, int c, int bg), (b, x, y, g->w, g->h), (b, g, x, y, c, bg))
AREA(draw_rle_sprite, (BITMAP *b, AL_CONST RLE_SPRITE *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_trans_rle_sprite, (BITMAP *b, AL_CONST RLE_SPRITE *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_trans_rgba_rle_sprite, (BITMAP *b, AL_CONST RLE_SPRITE *s, int x, int y), (b, x, y, s->w, s->h), (b, s, x, y))
AREA(draw_lit_rle_sprite, (BITMAP *b, AL_CONST RLE_SPRITE *s, int x, int y, int c), (b, x, y, s->w, s->h), (b, s, x, y, c))
AREA(blit_from_memory, (BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h), (d, dx, dy, w, h), (s, d, sx, sy, dx, dy, w, h))
AREA(blit_from_system, (BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h), (d, dx, dy, w, h), (s, d, sx, sy, dx, dy, w, h))
AREA(blit_to_self, (BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h), (d, dx, dy, w, h), (s, d, sx, sy, dx, dy, w, h))
AREA(blit_to_self_forward, (BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h), (d, dx, dy, w, h), (s, d, sx, sy, dx, dy, w, h))
AREA(blit_to_self_backward, (BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h), (d, dx, dy, w, h), (s, d, sx, sy, dx, dy, w, h))
AREA(blit_between_formats, (BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h), (d, dx, dy, w, h), (s, d, sx, sy, dx, dy, w, h))
AREA(masked_blit, (BITMAP *s, BITMAP *d, int sx, int sy, int dx, int dy, int w, int h), (d, dx, dy, w, h), (s, d, sx, sy, dx, dy, w, h))
AREA(do_stretch_blit, (BITMAP *s, BITMAP *d, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh, int m), (d, dx, dy, dw, dh), (s, d, sx, sy, sw, sh, dx, dy, dw, dh, m))
ALL(clear_to_color, (BITMAP *b, int c), (b, c))
ALL(triangle, (BITMAP *b, int x1, int y1, int x2, int y2, int x3, int y3, int c), (b, x1, y1, x2, y2, x3, y3, c))
ALL(polygon, (BITMAP *b, int n, AL_CONST int *p, int c), (b, n, p, c))
ALL(arc, (BITMAP *b, int x, int y, fixed a1, fixed a2, int r, int c), (b, x, y, a1, a2, r, c))
ALL(spline, (BITMAP *b, AL_CONST int p[8], int c), (b, p, c))
ALL(floodfill, (BITMAP *b, int x, int y, int c), (b, x, y, c))
ALL(pivot_scaled_sprite_flip, (BITMAP *b, BITMAP *s, fixed x, fixed y, fixed cx, fixed cy, fixed a, fixed sc, int f), (b, s, x, y, cx, cy, a, sc, f))
ALL(polygon3d, (BITMAP *b, int t, BITMAP *tx, int n, V3D *v[]), (b, t, tx, n, v))
ALL(polygon3d_f, (BITMAP *b, int t, BITMAP *tx, int n, V3D_f *v[]), (b, t, tx, n, v))
ALL(triangle3d, (BITMAP *b, int t, BITMAP *tx, V3D *v1, V3D *v2, V3D *v3), (b, t, tx, v1, v2, v3))
ALL(triangle3d_f, (BITMAP *b, int t, BITMAP *tx, V3D_f *v1, V3D_f *v2, V3D_f *v3), (b, t, tx, v1, v2, v3))
ALL(quad3d, (BITMAP *b, int t, BITMAP *tx, V3D *v1, V3D *v2, V3D *v3, V3D *v4), (b, t, tx, v1, v2, v3, v4))
ALL(quad3d_f, (BITMAP *b, int t, BITMAP *tx, V3D_f *v1, V3D_f *v2, V3D_f *v3, V3D_f *v4), (b, t, tx, v1, v2, v3, v4))

/* Puts the noting method in place of each drawing method the library has. */
#define NOTE(name) if (original.name) vtable->name = noted_##name

static void note_drawing(GFX_VTABLE *vtable)
{
   original = *vtable;
   NOTE(putpixel); NOTE(vline); NOTE(hline); NOTE(hfill); NOTE(line); NOTE(fastline);
   NOTE(rectfill); NOTE(rect); NOTE(circle); NOTE(circlefill); NOTE(ellipse); NOTE(ellipsefill);
   NOTE(draw_sprite); NOTE(draw_256_sprite); NOTE(draw_sprite_v_flip); NOTE(draw_sprite_h_flip);
   NOTE(draw_sprite_vh_flip); NOTE(draw_trans_sprite); NOTE(draw_trans_rgba_sprite);
   NOTE(draw_lit_sprite); NOTE(draw_sprite_ex); NOTE(draw_gouraud_sprite); NOTE(draw_character);
   NOTE(draw_glyph); NOTE(draw_rle_sprite); NOTE(draw_trans_rle_sprite);
   NOTE(draw_trans_rgba_rle_sprite); NOTE(draw_lit_rle_sprite);
   NOTE(blit_from_memory); NOTE(blit_from_system); NOTE(blit_to_self); NOTE(blit_to_self_forward);
   NOTE(blit_to_self_backward); NOTE(blit_between_formats); NOTE(masked_blit); NOTE(do_stretch_blit);
   NOTE(clear_to_color); NOTE(triangle); NOTE(polygon); NOTE(arc); NOTE(spline); NOTE(floodfill);
   NOTE(pivot_scaled_sprite_flip); NOTE(polygon3d); NOTE(polygon3d_f); NOTE(triangle3d);
   NOTE(triangle3d_f); NOTE(quad3d); NOTE(quad3d_f);
}

static BITMAP *web_gfx_init(int w, int h, int v_w, int v_h, int color_depth)
{
   if (color_depth != 32 || (v_w && v_w != w) || (v_h && v_h != h) || w <= 0 || h <= 0) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Unsupported screen size or colour depth"));
      return NULL;
   }
   if (web_canvas_open(w, h) != 0) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("The page has no canvas"));
      return NULL;
   }
   pitch = w * 4;
   pixels = calloc((size_t)w * h, 4);
   screenBitmap = pixels ? _make_bitmap(w, h, (uintptr_t)pixels, &gfx_web, 32, pitch) : NULL;
   if (!screenBitmap) {
      free(pixels);
      pixels = NULL;
      return NULL;
   }
   note_drawing(screenBitmap->vtable);
   gfx_web.w = w;
   gfx_web.h = h;
   gfx_web.vid_mem = w * h * 4;
   mark_all();
   return screenBitmap;
}

static void web_gfx_exit(BITMAP *b)
{
   (void)b;
   rectCount = 0;
   screenBitmap = NULL;
   free(pixels);
   pixels = NULL;
}

/* show_os_cursor(MOUSE_CURSOR_NONE) comes here. */
static void web_gfx_hide_mouse(void)
{
   _web_mouse_hide_cursor();
}

/* The browser's frames are the display's retrace. */
static void web_gfx_vsync(void)
{
   web_wait_frame();
}

GFX_DRIVER gfx_web =
{
   GFX_WEB,
   empty_string,
   empty_string,
   "Page canvas",
   web_gfx_init,
   web_gfx_exit,
   NULL,                      /* scroll */
   web_gfx_vsync,
   NULL,                      /* set_palette */
   NULL, NULL, NULL,          /* request_scroll, poll_scroll, enable_triple_buffer */
   NULL, NULL, NULL, NULL,    /* video bitmaps */
   NULL, NULL,                /* system bitmaps */
   NULL, NULL,                /* set_mouse_sprite, show_mouse: the page's own pointer is used */
   web_gfx_hide_mouse,
   NULL,                      /* move_mouse */
   NULL,                      /* drawing_mode */
   NULL, NULL,                /* save_video_state, restore_video_state */
   NULL,                      /* set_blender_mode */
   NULL,                      /* fetch_mode_list */
   1024, 768,                 /* until a mode is set */
   TRUE,                      /* linear */
   0, 0, 0, 0,
   TRUE                       /* windowed */
};

BEGIN_GFX_DRIVER_LIST
   { GFX_WEB, &gfx_web, TRUE },
END_GFX_DRIVER_LIST
