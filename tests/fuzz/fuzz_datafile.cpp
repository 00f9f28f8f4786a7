// fuzz_datafile.cpp -- the game's datafile reader on damaged datafiles. An
// input whose first byte is even is, after that byte, the whole datafile as
// the game would find it on disk. An odd first byte damages one object of
// the real datafile instead; the next bytes say which object, what to
// damage and where:
//   [1] object index   [2] what: % 4 = 0 its unpacked bytes (then stored
//   unpacked), 1 its stored bytes, 2 the length it claims to unpack to,
//   3 its type; bit 2 (for 0 and 1) cuts the bytes at the offset first
//   [3..6] offset, big-endian (taken modulo the length + 1)   [7..] the bytes written there
// Whatever the reader's check accepts must then unpack: every object the
// catalogue binds, and the pictures the game keeps packed straight into a
// canvas as well, as the game draws them. A damaged object
// changes nothing else in the file (each stored length is written as it
// is), and the real file's other objects were all unpacked once at the
// start, so for the second kind of input only the damaged object is
// unpacked again. Nothing may crash, leak or allocate absurdly.
#include "fault/datafile_image.h"
#include "fuzz/fuzz_support.h"
#include "game/catalogue.h"
#include "game/datafile.h"
#include "support/headless.h"
#include <allegro.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>

static DatafileImage real;
static std::vector<unsigned char> realPlain[DATAFILE_OBJECTS];
static BITMAP *screenCanvas = nullptr;

// Frees an unpacked object the way the library frees a datafile's.
static void freeObject(void *data, int type)
{
    DATAFILE *entry = static_cast<DATAFILE *>(malloc(sizeof(DATAFILE)));
    *entry = {data, type, 0, nullptr};
    unload_datafile_object(entry);
}

// Unpacks objects first..last of a datafile the check accepted; every bound one must unpack.
static void unpackAccepted(int first, int last)
{
    for (int i = first; i <= last; i++) {
        int type = packedObjectType(i);
        void *data = unpackObject(i);
        if (!data && objectIsBound(i))
            abort();
        bool keptPacked = i == SCORES_BACKGROUND_OBJECT || i == HELP_SCREEN_OBJECT || i == INFO_PICTURE_OBJECT;
        if (keptPacked && !unpackPictureInto(i, screenCanvas))
            abort();
        if (data)
            freeObject(data, type);
    }
}

// Reads the real datafile from the build folder (the working folder the
// fuzz tests start in) and proves all of it unpacks.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startHeadlessAllegro();
    if (!takeDatafileApart(DATAFILE_NAME, DATAFILE_PASSWORD, real))
        abort();
    screenCanvas = create_bitmap_ex(32, SCREEN_W_PX, SCREEN_H_PX);
    unpackAccepted(0, DATAFILE_OBJECTS - 1);
    startFuzzTarget();
    return 0;
}

// The unpacked bytes of a real object, unpacked once.
static std::vector<unsigned char> &plainOf(int index)
{
    if (realPlain[index].empty() && !unpackChunkBytes(real.objects[index], realPlain[index]))
        abort();
    return realPlain[index];
}

// Writes size bytes at offset (modulo the length + 1), cutting there first if asked.
static void overwrite(std::vector<unsigned char> &b, uint32_t offset, bool cut, const uint8_t *bytes, size_t size)
{
    size_t at = offset % (b.size() + 1);
    if (cut)
        b.resize(at);
    if (at + size > b.size())
        b.resize(at + size);
    if (size)
        memcpy(b.data() + at, bytes, size);
}

// One object of the real file damaged as the input says, then read and unpacked.
static void damageOneObject(const uint8_t *data, size_t size)
{
    if (size < 7)
        return;
    int index = data[1] % DATAFILE_OBJECTS, what = data[2] % 4;
    bool cut = data[2] & 4;
    uint32_t offset = (uint32_t)data[3] << 24 | (uint32_t)data[4] << 16 | (uint32_t)data[5] << 8 | data[6];
    const uint8_t *bytes = data + 7;
    size_t count = size - 7;
    StoredChunk kept = real.objects[index];
    StoredChunk &o = real.objects[index];
    uint32_t word = count >= 4 ? (uint32_t)bytes[0] << 24 | (uint32_t)bytes[1] << 16 | (uint32_t)bytes[2] << 8 | bytes[3]
                               : 0;
    if (what == 0) {
        std::vector<unsigned char> plain = plainOf(index);
        overwrite(plain, offset, cut, bytes, count);
        o.packed = false;
        o.unpackedSize = (long)plain.size();
        o.bytes.swap(plain);
    } else if (what == 1) {
        overwrite(o.bytes, offset, cut, bytes, count);
    } else if (what == 2) {
        o.packed = (int32_t)word < 0;
        o.unpackedSize = o.packed ? -(long long)(int32_t)word : (long long)word;
    } else {
        o.type = (int)word;
    }
    std::vector<unsigned char> raw = buildDatafile(real);
    o = kept;
    if (readDatafileStream(raw.data(), (long)raw.size()))
        unpackAccepted(index, index);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    if (data[0] % 2 == 0) {
        if (!writeBytes(DATAFILE_NAME, data + 1, size - 1))
            abort();
        if (readPackedDatafile(DATAFILE_NAME, DATAFILE_PASSWORD))
            unpackAccepted(0, DATAFILE_OBJECTS - 1);
    } else {
        damageOneObject(data, size);
    }
    return 0;
}
