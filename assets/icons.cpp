// icons.cpp -- PNG icons of the logo tile, kept with their transparency, for
// desktop menus and window managers.
#include "assets/icons.h"
#include "assets/tiles.h"
#include <png.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Writes one canvas as an 8-bit RGBA PNG, its coverage as alpha.
static void writePng(const char *path, BITMAP *bmp)
{
    FILE *f = fopen(path, "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!f || !info || setjmp(png_jmpbuf(png))) {
        fprintf(stderr, "tumblegrid-assets: cannot write %s\n", path);
        exit(1);
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, bmp->w, bmp->h, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(bmp->w * 4);
    for (int y = 0; y < bmp->h; y++) {
        for (int x = 0; x < bmp->w; x++) {
            int p = _getpixel32(bmp, x, y);
            row[x * 4] = (png_byte)getr32(p);
            row[x * 4 + 1] = (png_byte)getg32(p);
            row[x * 4 + 2] = (png_byte)getb32(p);
            row[x * 4 + 3] = (png_byte)geta32(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    fclose(f);
}

void writeIcons(const char *dir)
{
    static const int sizes[6] = {16, 32, 48, 64, 128, 256};
    for (int size : sizes) {
        char path[1024];
        snprintf(path, sizeof path, "%s/tumblegrid-%d.png", dir, size);
        BITMAP *tile = makeLogoTile(size);
        writePng(path, tile);
        destroy_bitmap(tile);
    }
}
