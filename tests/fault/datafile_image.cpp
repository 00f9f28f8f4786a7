// datafile_image.cpp -- takes the game's datafile apart through the game's
// own reader and puts damaged copies together again, so the copies differ
// from the real file only in the one way a test asks for (and in leaving
// out the objects' names, which the game never reads).
//
// An unpacked datafile is the magic "ALL.", an object count and one record
// per object: its type and a chunk (stored size, unpacked size negated when
// the chunk is packed, bytes). All numbers are big-endian 32-bit words.
#include "fault/datafile_image.h"
#include "game/catalogue.h"
#include "game/datafile.h"
#include <allegro.h>
#include <cstdint>
#include <cstring>

// Appends a big-endian word.
static void putBigWord(std::vector<unsigned char> &out, uint32_t w)
{
    out.push_back((unsigned char)(w >> 24));
    out.push_back((unsigned char)(w >> 16));
    out.push_back((unsigned char)(w >> 8));
    out.push_back((unsigned char)w);
}

// Overwrites the big-endian 16- or 32-bit word at p.
static void setWord16(std::vector<unsigned char> &b, size_t p, unsigned w)
{
    b[p] = (unsigned char)(w >> 8);
    b[p + 1] = (unsigned char)w;
}
static void setWord32(std::vector<unsigned char> &b, size_t p, uint32_t w)
{
    setWord16(b, p, w >> 16);
    setWord16(b, p + 2, w & 0xffff);
}

bool takeDatafileApart(const char *path, const char *password, DatafileImage &image)
{
    if (!readPackedDatafile(path, password))
        return false;
    image.objects.clear();
    for (int i = 0; i < DATAFILE_OBJECTS; i++)
        image.objects.push_back(storedObject(i));
    return true;
}

std::vector<unsigned char> buildDatafile(const DatafileImage &image)
{
    std::vector<unsigned char> raw;
    putBigWord(raw, DAT_MAGIC);
    putBigWord(raw, (uint32_t)image.objects.size());
    for (const StoredChunk &o : image.objects) {
        putBigWord(raw, (uint32_t)o.type);
        putBigWord(raw, (uint32_t)o.bytes.size());
        putBigWord(raw, (uint32_t)(o.packed ? -o.unpackedSize : o.unpackedSize));
        raw.insert(raw.end(), o.bytes.begin(), o.bytes.end());
    }
    return raw;
}

bool writePackedStream(const char *path, const char *password, const std::vector<unsigned char> &raw)
{
    packfile_password(password);
    PACKFILE *f = pack_fopen(path, F_WRITE_NOPACK);
    if (!f) {
        packfile_password(nullptr);
        return false;
    }
    long put = raw.empty() ? 0 : pack_fwrite(raw.data(), (long)raw.size(), f);
    bool ok = put == (long)raw.size() && pack_fclose(f) == 0;
    packfile_password(nullptr);
    return ok;
}

// ---- packing with the library's LZSS into memory ----

static int sinkPutc(int c, void *to)
{
    static_cast<std::vector<unsigned char> *>(to)->push_back((unsigned char)c);
    return c;
}
static long sinkWrite(const void *p, long n, void *to)
{
    const unsigned char *b = static_cast<const unsigned char *>(p);
    std::vector<unsigned char> *out = static_cast<std::vector<unsigned char> *>(to);
    out->insert(out->end(), b, b + n);
    return n;
}
static int sinkClose(void *) { return 0; }
static int sinkGetc(void *) { return EOF; }
static int sinkUngetc(int, void *) { return EOF; }
static long sinkRead(void *, long, void *) { return 0; }
static int sinkSeek(void *, int) { return -1; }
static int sinkEof(void *) { return 1; }
static int sinkError(void *) { return 0; }
static PACKFILE_VTABLE sinkVtable = {sinkClose, sinkGetc, sinkUngetc, sinkRead, sinkPutc,
                                     sinkWrite, sinkSeek, sinkEof, sinkError};

StoredChunk packedChunk(int type, const std::vector<unsigned char> &plain, long claimed)
{
    StoredChunk c;
    c.type = type;
    c.packed = true;
    c.unpackedSize = claimed < 0 ? (long)plain.size() : claimed;
    PACKFILE *f = pack_fopen_vtable(&sinkVtable, &c.bytes);
    LZSS_PACK_DATA *lzss = create_lzss_pack_data();
    std::vector<unsigned char> copy = plain;      // the packer takes its input unconst
    lzss_write(f, lzss, (int)copy.size(), copy.data(), 1);
    free_lzss_pack_data(lzss);
    pack_fclose(f);
    return c;
}

StoredChunk binaryChunk(const std::string &bytes)
{
    StoredChunk c;
    c.type = DAT_DATA;
    c.unpackedSize = (long)bytes.size();
    c.bytes.assign(bytes.begin(), bytes.end());
    return c;
}

// ---- the damages ----

const char *const DATAFILE_DAMAGES[] = {
    "negative-sample-length", "font-cut-in-glyph-header", "zero-length-chunk",
    "font-no-ranges", "font-65281-ranges", "font-range-end-0x7f007e",
    "picture-8-bit-65535x16385", "sample-16-bit-0x7fffffff", "kept-picture-one-byte-short",
};
const int DATAFILE_DAMAGE_COUNT = sizeof DATAFILE_DAMAGES / sizeof DATAFILE_DAMAGES[0];

static const int LOGO_OBJECT = 35, SMALL_FONT_OBJECT = 30, CLEAR_SOUND_OBJECT = 32, MUSIC_OBJECT = 33,
                 LAND_SOUND_OBJECT = 34;

// Where the font's glyph g of its first range starts (after its kind and code points).
static size_t glyphOffset(const std::vector<unsigned char> &font, int g)
{
    size_t at = 4 + 9;
    for (int k = 0; k < g; k++) {
        unsigned w = font[at] << 8 | font[at + 1], h = font[at + 2] << 8 | font[at + 3];
        at += 4 + (w + 7) / 8 * h;
    }
    return at;
}

bool damageDatafile(DatafileImage &image, const std::string &damage)
{
    int index = damage.compare(0, 5, "font-") == 0 ? SMALL_FONT_OBJECT
                : damage == "negative-sample-length" ? LAND_SOUND_OBJECT
                : damage == "zero-length-chunk" ? CLEAR_SOUND_OBJECT
                : damage == "sample-16-bit-0x7fffffff" ? MUSIC_OBJECT
                : damage == "picture-8-bit-65535x16385" ? LOGO_OBJECT
                : HELP_SCREEN_OBJECT;
    StoredChunk &o = image.objects[index];
    std::vector<unsigned char> plain;
    if (!unpackChunkBytes(o, plain))
        return false;
    long claimed = -1;
    if (damage == "negative-sample-length") {
        setWord16(plain, 0, 8);                    // 8 bits, 2^31 samples
        setWord32(plain, 4, 0x80000000u);
    } else if (damage == "font-cut-in-glyph-header") {
        plain.resize(glyphOffset(plain, 10) + 2);
    } else if (damage == "zero-length-chunk") {
        o = StoredChunk();
        o.type = DAT_SAMPLE;
        return true;
    } else if (damage == "font-no-ranges") {
        setWord16(plain, 2, 0);
    } else if (damage == "font-65281-ranges") {
        setWord16(plain, 2, 65281);
    } else if (damage == "font-range-end-0x7f007e") {
        setWord32(plain, 4 + 5, 0x7f007e);
    } else if (damage == "picture-8-bit-65535x16385") {
        setWord16(plain, 0, 8);
        setWord16(plain, 2, 65535);
        setWord16(plain, 4, 16385);
    } else if (damage == "sample-16-bit-0x7fffffff") {
        setWord32(plain, 4, 0x7fffffff);
    } else if (damage == "kept-picture-one-byte-short") {
        claimed = (long)plain.size();
        plain.pop_back();
    } else {
        return false;
    }
    o = packedChunk(o.type, plain, claimed);
    return true;
}
