// chunk.cpp -- checks and unpacks one datafile object's stored chunk. The
// library's loaders trust every field they read (a length taken as a huge
// copy, a range count or a code point as an allocation), so each field is
// checked here first, against the exact number of bytes the chunk unpacks
// to. Pictures are unpacked a row at a time straight into their bitmap,
// several times quicker than the library's reader (one call per byte);
// fonts and samples, once proven whole, go through the library's loaders.
#include "game/chunk.h"
#include <allegro/internal/aintern.h>
#include <cstdint>
#include <cstring>

// What the asset generator writes: 32-bit pictures (three bytes a pixel, no
// alpha), fonts of monochrome ranges, 8- or 16-bit samples.
static const int PICTURE_BITS = 32;
static const int PICTURE_HEADER = 6;         // depth, width, height: 16 bits each
static const int SAMPLE_HEADER = 8;          // depth, frequency: 16 bits; length: 32
static const int MONO_RANGE = 1;
static const long LARGEST_FONT = 1L << 20;
static const uint32_t MOST_FONT_RANGES = 256;
static const uint32_t LAST_CODE_POINT = 0x10ffff;
static const uint32_t LARGEST_GLYPH = 512;  // pixels a side

// ---- reading bytes from memory through the packfile interface ----

struct ByteSource {
    const unsigned char *bytes;
    long size, pos;
};

static int sourceClose(void *s)
{
    delete static_cast<ByteSource *>(s);
    return 0;
}
static int sourceGetc(void *s)
{
    ByteSource *b = static_cast<ByteSource *>(s);
    return b->pos < b->size ? b->bytes[b->pos++] : EOF;
}
static int sourceUngetc(int c, void *s)
{
    ByteSource *b = static_cast<ByteSource *>(s);
    if (b->pos == 0)
        return EOF;
    b->pos--;
    return c;
}
// A length of zero or less reads nothing: no copy at all, so never one from a null pointer.
static long sourceRead(void *to, long n, void *s)
{
    ByteSource *b = static_cast<ByteSource *>(s);
    long k = MIN(n, b->size - b->pos);
    if (k <= 0)
        return 0;
    memcpy(to, b->bytes + b->pos, (size_t)k);
    b->pos += k;
    return k;
}
static int sourcePutc(int, void *) { return EOF; }
static long sourceWrite(const void *, long, void *) { return 0; }
static int sourceSeek(void *s, int offset)
{
    ByteSource *b = static_cast<ByteSource *>(s);
    if (offset < 0 || offset > b->size - b->pos)
        return -1;
    b->pos += offset;
    return 0;
}
static int sourceEof(void *s)
{
    ByteSource *b = static_cast<ByteSource *>(s);
    return b->pos >= b->size;
}
static int sourceError(void *) { return 0; }

static PACKFILE_VTABLE sourceVtable = {sourceClose, sourceGetc, sourceUngetc, sourceRead, sourcePutc,
                                       sourceWrite, sourceSeek, sourceEof, sourceError};

PACKFILE *openMemoryBytes(const unsigned char *bytes, long size)
{
    ByteSource *source = new ByteSource{bytes, size, 0};
    PACKFILE *f = pack_fopen_vtable(&sourceVtable, source);
    if (!f)
        delete source;
    return f;
}

// ---- the length of an LZSS stream ----

// The library's LZSS stream is groups of a flag byte and eight codes: a set
// bit is one literal byte, a clear bit a two-byte reference that repeats
// 3 + (low four bits of its second byte) bytes. The stream ends where a code
// is cut short. The length it unpacks to therefore follows from the codes
// alone; each flag byte's shape (code offsets and sizes) is worked out once.
struct GroupShape {
    unsigned char size, fixed;               // bytes of the group; bytes it gives before references' lengths
    unsigned char offset[8], mask[8];        // where each reference's length is, and 15 (0 for a literal)
};

static GroupShape groupShapes[256];

// Works out the group shape of each of the 256 flag bytes.
static void makeGroupShapes()
{
    for (int flags = 0; flags < 256; flags++) {
        GroupShape &g = groupShapes[flags];
        int at = 1, fixed = 0;
        for (int k = 0; k < 8; k++) {
            bool literal = flags >> k & 1;
            g.offset[k] = literal ? 0 : (unsigned char)(at + 1);
            g.mask[k] = literal ? 0 : 15;
            at += literal ? 1 : 2;
            fixed += literal ? 1 : 3;
        }
        g.size = (unsigned char)at;
        g.fixed = (unsigned char)fixed;
    }
}

// The number of bytes an LZSS stream unpacks to, as the library's reader unpacks it.
static long lzssLength(const unsigned char *p, long n)
{
    if (!groupShapes[0].size)
        makeGroupShapes();
    long out = 0, i = 0;
    while (i + 17 <= n) {                    // a whole group of the largest size is there
        const GroupShape &g = groupShapes[p[i]];
        unsigned sum = g.fixed;
        for (int k = 0; k < 8; k++)
            sum += p[i + g.offset[k]] & g.mask[k];
        out += sum;
        i += g.size;
    }
    while (i < n) {
        unsigned flags = p[i++];
        for (int k = 0; k < 8; k++, flags >>= 1) {
            if (i + (flags & 1 ? 0 : 1) >= n)
                return out;
            out += flags & 1 ? 1 : (p[i + 1] & 15) + 3;
            i += flags & 1 ? 1 : 2;
        }
    }
    return out;
}

int chunkUnpacksWhole(const StoredChunk &c)
{
    long stored = (long)c.bytes.size();
    if (!c.packed)
        return stored == c.unpackedSize;
    return lzssLength(c.bytes.data(), stored) == c.unpackedSize;
}

// ---- unpacking a chunk's bytes in pieces ----

// Hands out a chunk's unpacked bytes in pieces.
struct Unpacker {
    PACKFILE *file = nullptr;
    LZSS_UNPACK_DATA *lzss = nullptr;
    bool packed = false;
};

// Starts unpacking a chunk from its beginning; false when out of memory.
static bool startUnpacking(const StoredChunk &c, Unpacker &u)
{
    u.packed = c.packed;
    u.file = openMemoryBytes(c.bytes.data(), (long)c.bytes.size());
    u.lzss = c.packed ? create_lzss_unpack_data() : nullptr;
    return u.file && (!c.packed || u.lzss);
}

// Lets go of what startUnpacking took.
static void stopUnpacking(Unpacker &u)
{
    if (u.lzss)
        free_lzss_unpack_data(u.lzss);
    if (u.file)
        pack_fclose(u.file);
    u.lzss = nullptr;
    u.file = nullptr;
}

// Unpacks the next n bytes; false when the chunk ends first.
static bool unpackBytes(Unpacker &u, unsigned char *to, long n)
{
    if (n <= 0)
        return n == 0;
    if (u.packed)
        return lzss_read(u.file, u.lzss, (int)n, to) == n;
    return pack_fread(to, n, u.file) == n;
}

// Unpacks the first n bytes of a chunk, for its header; false when it is shorter.
static bool unpackHeader(const StoredChunk &c, unsigned char *to, long n)
{
    if (c.unpackedSize < n)
        return false;
    Unpacker u;
    bool ok = startUnpacking(c, u) && unpackBytes(u, to, n);
    stopUnpacking(u);
    return ok;
}

int unpackChunkBytes(const StoredChunk &c, std::vector<unsigned char> &plain)
{
    if (c.unpackedSize < 0 || c.unpackedSize > LARGEST_OBJECT)
        return 0;
    plain.assign((size_t)c.unpackedSize, 0);
    Unpacker u;
    bool ok = startUnpacking(c, u) && unpackBytes(u, plain.data(), c.unpackedSize);
    stopUnpacking(u);
    return ok;
}

// ---- what each type's bytes must be ----

static unsigned word16(const unsigned char *p) { return (unsigned)p[0] << 8 | p[1]; }
static uint32_t word32(const unsigned char *p) { return (uint32_t)word16(p) << 16 | word16(p + 2); }

int pictureChunkSound(const StoredChunk &c, int *w, int *h)
{
    unsigned char head[PICTURE_HEADER];
    if (c.type != DAT_BITMAP || !unpackHeader(c, head, PICTURE_HEADER))
        return 0;
    *w = (int)word16(head + 2);
    *h = (int)word16(head + 4);
    return (int16_t)word16(head) == PICTURE_BITS && *w >= 1 && *h >= 1 &&
           c.unpackedSize == PICTURE_HEADER + 3LL * *w * *h;
}

int sampleChunkSound(const StoredChunk &c)
{
    unsigned char head[SAMPLE_HEADER];
    if (c.type != DAT_SAMPLE || !unpackHeader(c, head, SAMPLE_HEADER))
        return 0;
    int bits = (int16_t)word16(head);
    long long bytesPerFrame = (bits < 0 ? 2 : 1) * (long long)(bits < 0 ? -bits : bits) / 8;
    long long length = word32(head + 4);
    return (bits == 8 || bits == 16 || bits == -8 || bits == -16) && word16(head + 2) >= 1 && length >= 1 &&
           c.unpackedSize == SAMPLE_HEADER + length * bytesPerFrame;
}

// A font as the library's loader reads it: a zero word (the current
// format), the number of ranges, then each range: its kind, its first and
// last code point, and each glyph's width, height and rows of bits.
static bool fontBytesSound(const unsigned char *p, long n)
{
    if (n < 4 || word16(p) != 0)
        return false;
    uint32_t ranges = word16(p + 2);
    long at = 4;
    if (ranges < 1 || ranges > MOST_FONT_RANGES)
        return false;
    for (uint32_t r = 0; r < ranges; r++) {
        if (n - at < 9 || p[at] != MONO_RANGE)
            return false;
        uint32_t first = word32(p + at + 1), last = word32(p + at + 5);
        at += 9;
        if (first > last || last > LAST_CODE_POINT)
            return false;
        for (uint32_t glyph = first; glyph <= last; glyph++) {
            if (n - at < 4)
                return false;
            uint32_t w = word16(p + at), h = word16(p + at + 2);
            at += 4;
            if (w > LARGEST_GLYPH || h > LARGEST_GLYPH || n - at < (long)((w + 7) / 8 * h))
                return false;
            at += (long)((w + 7) / 8 * h);
        }
    }
    return at == n;
}

// Unpacks a font chunk whole into plain; false unless it is one sound font.
static bool unpackFont(const StoredChunk &c, std::vector<unsigned char> &plain)
{
    return c.type == DAT_FONT && c.unpackedSize <= LARGEST_FONT && unpackChunkBytes(c, plain) &&
           fontBytesSound(plain.data(), (long)plain.size());
}

int fontChunkSound(const StoredChunk &c)
{
    std::vector<unsigned char> plain;
    return unpackFont(c, plain);
}

// ---- unpacking into the library's objects ----

// Unpacks a 32-bit picture's rows (three bytes a pixel) into dest, the way
// the library's loader and its conversion to the screen's depth make them.
static bool unpackRows(Unpacker &u, int w, int h, BITMAP *dest)
{
    std::vector<unsigned char> row((size_t)w * 3);
    for (int y = 0; y < h; y++) {
        if (!unpackBytes(u, row.data(), (long)row.size()))
            return false;
        uint32_t *to = reinterpret_cast<uint32_t *>(dest->line[y]);
        const unsigned char *c = row.data();
        for (int x = 0; x < w; x++, c += 3)
            to[x] = makecol32(c[0], c[1], c[2]);
    }
    return true;
}

// Unpacks a sound picture chunk into dest, header and all.
static bool unpackPicture(const StoredChunk &c, int w, int h, BITMAP *dest)
{
    unsigned char head[PICTURE_HEADER];
    Unpacker u;
    bool ok = startUnpacking(c, u) && unpackBytes(u, head, PICTURE_HEADER) && unpackRows(u, w, h, dest);
    stopUnpacking(u);
    return ok;
}

int unpackPictureChunk(const StoredChunk &c, BITMAP *dest)
{
    int w, h;
    return pictureChunkSound(c, &w, &h) && w == dest->w && h == dest->h && bitmap_color_depth(dest) == 32 &&
           unpackPicture(c, w, h, dest);
}

// Hands proven bytes to the library's loader for their type.
static void *loadWithLibrary(int type, std::vector<unsigned char> &plain)
{
    PACKFILE *f = openMemoryBytes(plain.data(), (long)plain.size());
    void *data = nullptr;
    for (int i = 0; f && i < MAX_DATAFILE_TYPES && !data; i++)
        if (_datafile_type[i].type == type && _datafile_type[i].load)
            data = _datafile_type[i].load(f, (long)plain.size());
    if (f)
        pack_fclose(f);
    return data;
}

void *unpackChunk(const StoredChunk &c)
{
    int w, h;
    if (c.type == DAT_BITMAP && pictureChunkSound(c, &w, &h)) {
        BITMAP *bmp = create_bitmap_ex(32, w, h);
        if (bmp && !unpackPicture(c, w, h, bmp)) {
            destroy_bitmap(bmp);
            bmp = nullptr;
        }
        return bmp;
    }
    std::vector<unsigned char> plain;
    if (c.type == DAT_FONT && unpackFont(c, plain))
        return loadWithLibrary(c.type, plain);
    if (c.type == DAT_SAMPLE && sampleChunkSound(c) && unpackChunkBytes(c, plain))
        return loadWithLibrary(c.type, plain);
    return nullptr;
}
