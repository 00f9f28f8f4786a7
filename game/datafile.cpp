// datafile.cpp -- reads the datafile once, keeping each object's stored
// bytes, and unpacks objects from memory when they are wanted. An object is
// stored as a chunk: its stored length, its unpacked length (negated when
// the chunk is packed with the library's LZSS), then the bytes. Pictures are
// unpacked a row at a time straight into their bitmap, which is several
// times quicker than the library's reader of 24- and 32-bit pictures (one
// call per byte); fonts and samples go through the library's own loaders.
#include "game/datafile.h"
#include "game/catalogue.h"
#include <allegro/internal/aintern.h>
#include <cstring>
#include <vector>

// One object as the file stores it.
struct PackedObject {
    int type = 0;
    bool packed = false;
    long unpackedSize = 0;
    std::vector<unsigned char> bytes;
};

static PackedObject objects[DATAFILE_OBJECTS];

// No object of the game comes near this; a larger claim is damage.
static const long LARGEST_OBJECT = 32L << 20;

// ---- reading stored bytes from memory through the packfile interface ----

struct ByteSource {
    const unsigned char *bytes;
    long size, pos;
};

static int sourceClose(void *) { return 0; }
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
static long sourceRead(void *to, long n, void *s)
{
    ByteSource *b = static_cast<ByteSource *>(s);
    long k = MIN(n, b->size - b->pos);
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

// ---- unpacking an object's bytes ----

// Hands out an object's unpacked bytes in pieces.
struct Unpacker {
    ByteSource source;
    PACKFILE *file = nullptr;
    LZSS_UNPACK_DATA *lzss = nullptr;
    bool packed = false;
};

// Starts unpacking an object from the beginning; false when out of memory.
static bool startUnpacking(const PackedObject &o, Unpacker &u)
{
    u.source = {o.bytes.data(), (long)o.bytes.size(), 0};
    u.packed = o.packed;
    u.file = pack_fopen_vtable(&sourceVtable, &u.source);
    u.lzss = o.packed ? create_lzss_unpack_data() : nullptr;
    return u.file && (!o.packed || u.lzss);
}

static void stopUnpacking(Unpacker &u)
{
    if (u.lzss)
        free_lzss_unpack_data(u.lzss);
    if (u.file)
        pack_fclose(u.file);
    u.lzss = nullptr;
    u.file = nullptr;
}

// Unpacks the next n bytes; false when the object ends first.
static bool unpackBytes(Unpacker &u, unsigned char *to, long n)
{
    if (u.packed)
        return lzss_read(u.file, u.lzss, (int)n, to) == n;
    return pack_fread(to, n, u.file) == n;
}

// A picture's header: its depth (negative when it has alpha), width and height.
struct PictureHeader {
    int bits, w, h;
};

static bool readPictureHeader(Unpacker &u, PictureHeader &p)
{
    unsigned char b[6];
    if (!unpackBytes(u, b, 6))
        return false;
    p.bits = (int16_t)(b[0] << 8 | b[1]);
    p.w = b[2] << 8 | b[3];
    p.h = b[4] << 8 | b[5];
    return true;
}

// Unpacks a 24- or 32-bit picture's rows into dest as 32-bit pixels, the way
// the library's loader and its conversion to the screen's depth make them.
static bool unpackRows(Unpacker &u, const PictureHeader &p, BITMAP *dest)
{
    int rgba = p.bits < 0, stride = rgba ? 4 : 3;
    std::vector<unsigned char> row((size_t)p.w * stride);
    for (int y = 0; y < p.h; y++) {
        if (!unpackBytes(u, row.data(), (long)row.size()))
            return false;
        uint32_t *to = reinterpret_cast<uint32_t *>(dest->line[y]);
        const unsigned char *c = row.data();
        for (int x = 0; x < p.w; x++, c += stride)
            to[x] = rgba ? makeacol32(c[0], c[1], c[2], c[3]) : makecol32(c[0], c[1], c[2]);
    }
    return true;
}

// 1 for the depths the row unpacker reads.
static int quickDepth(int bits)
{
    return bits == 24 || bits == 32 || bits == -32;
}

// Unpacks an object whole and hands it to the library's loader for its type.
static void *loadWithLibrary(const PackedObject &o)
{
    std::vector<unsigned char> plain((size_t)o.unpackedSize);
    Unpacker u;
    bool ok = startUnpacking(o, u) && unpackBytes(u, plain.data(), o.unpackedSize);
    stopUnpacking(u);
    if (!ok)
        return nullptr;
    ByteSource source = {plain.data(), (long)plain.size(), 0};
    PACKFILE *f = pack_fopen_vtable(&sourceVtable, &source);
    void *data = nullptr;
    for (int i = 0; f && i < MAX_DATAFILE_TYPES && !data; i++)
        if (_datafile_type[i].type == o.type && _datafile_type[i].load)
            data = _datafile_type[i].load(f, o.unpackedSize);
    if (f)
        pack_fclose(f);
    return data;
}

void *unpackObject(int index)
{
    const PackedObject &o = objects[index];
    if (o.type != DAT_BITMAP)
        return loadWithLibrary(o);
    Unpacker u;
    PictureHeader p = {0, 0, 0};
    bool ok = startUnpacking(o, u) && readPictureHeader(u, p) && quickDepth(p.bits);
    BITMAP *bmp = ok ? create_bitmap_ex(32, p.w, p.h) : nullptr;
    ok = bmp && unpackRows(u, p, bmp);
    stopUnpacking(u);
    if (!ok && bmp) {
        destroy_bitmap(bmp);
        bmp = nullptr;
    }
    if (!ok && startUnpacking(o, u) && readPictureHeader(u, p) && !quickDepth(p.bits)) {
        stopUnpacking(u);
        return loadWithLibrary(o);
    }
    stopUnpacking(u);
    return bmp;
}

int unpackPictureInto(int index, BITMAP *dest)
{
    const PackedObject &o = objects[index];
    Unpacker u;
    PictureHeader p = {0, 0, 0};
    bool ok = o.type == DAT_BITMAP && startUnpacking(o, u) && readPictureHeader(u, p) && quickDepth(p.bits) &&
              p.w == dest->w && p.h == dest->h && bitmap_color_depth(dest) == 32 && unpackRows(u, p, dest);
    stopUnpacking(u);
    return ok;
}

int packedObjectType(int index)
{
    return objects[index].type;
}

void dropPackedObject(int index)
{
    std::vector<unsigned char>().swap(objects[index].bytes);
}

// ---- the one pass over the file ----

// Reads n stored bytes of the file into to, or drops them when to is null.
static bool readStored(PACKFILE *f, long n, unsigned char *to)
{
    unsigned char drop[4096];
    while (n > 0) {
        long want = to ? n : MIN(n, (long)sizeof drop);
        if (pack_fread(to ? to : drop, want, f) != want)
            return false;
        if (to)
            to += want;
        n -= want;
    }
    return true;
}

// Reads one object's record: its properties, type and chunk. Objects past
// the catalogue are checked for completeness and dropped.
static bool readObject(PACKFILE *f, int index)
{
    long type;
    while ((type = pack_mgetl(f)) == DAT_PROPERTY) {
        pack_mgetl(f);
        long size = (int32_t)pack_mgetl(f);
        if (pack_feof(f) || size < 0 || !readStored(f, size, nullptr))
            return false;
    }
    // The library reads these 32-bit fields without their sign.
    long stored = (int32_t)pack_mgetl(f), unpacked = (int32_t)pack_mgetl(f);
    if (pack_feof(f) || type == DAT_END || stored < 0 || stored > LARGEST_OBJECT)
        return false;
    if (index >= DATAFILE_OBJECTS)
        return readStored(f, stored, nullptr);
    PackedObject &o = objects[index];
    o.type = (int)type;
    o.packed = unpacked < 0;
    o.unpackedSize = unpacked < 0 ? -unpacked : unpacked;
    if (o.unpackedSize > LARGEST_OBJECT)
        return false;
    o.bytes.resize((size_t)stored);
    return readStored(f, stored, o.bytes.data());
}

// 1 when an object is of the type its index wants, a picture of the right size.
static int objectChecks(int index)
{
    const PackedObject &o = objects[index];
    if (o.type != DAT_BITMAP)
        return objectFits(index, o.type, 0, 0);
    Unpacker u;
    PictureHeader p = {0, 0, 0};
    bool read = startUnpacking(o, u) && readPictureHeader(u, p);
    stopUnpacking(u);
    // A picture the row unpacker reads must hold exactly its rows.
    int stride = p.bits == -32 ? 4 : 3;
    if (read && quickDepth(p.bits) && o.unpackedSize != 6 + (long)p.w * p.h * stride)
        return 0;
    return read && objectFits(index, o.type, p.w, p.h);
}

int readPackedDatafile(const char *name, const char *password)
{
    for (PackedObject &o : objects)
        o = PackedObject();
    packfile_password(password);
    PACKFILE *f = pack_fopen(name, F_READ_PACKED);
    packfile_password(nullptr);
    bool ok = f && pack_mgetl(f) == DAT_MAGIC;
    long count = ok ? pack_mgetl(f) : 0;
    ok = ok && !pack_feof(f) && count >= DATAFILE_OBJECTS;
    for (long i = 0; ok && i < count; i++)
        ok = readObject(f, (int)i);
    if (f)
        pack_fclose(f);
    for (int i = 0; ok && i < DATAFILE_OBJECTS; i++)
        ok = objectChecks(i);
    return ok;
}
