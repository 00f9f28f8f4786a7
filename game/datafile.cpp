// datafile.cpp -- reads the datafile once, keeping each object's stored
// chunk, checks every object before anything is shown, and unpacks objects
// from memory when they are wanted. An unpacked datafile is the magic
// "ALL.", an object count and one record per object: any number of
// properties ("prop", their type, length and bytes), then the object's type
// and its chunk: the stored length, the unpacked length (negated when the
// chunk is packed with the library's LZSS), then the stored bytes. Every
// number is a big-endian 32-bit word; the library reads them without their
// sign, so each is bounded here before anything is allocated.
#include "game/datafile.h"
#include "game/catalogue.h"
#include <cstdint>
#include <cstdlib>

static StoredChunk objects[DATAFILE_OBJECTS];

// ---- the one pass over the file ----

// Reads one big-endian word; false when the file ends first.
static bool readWord(PACKFILE *f, uint32_t &word)
{
    unsigned char b[4];
    if (pack_fread(b, 4, f) != 4)
        return false;
    word = (uint32_t)b[0] << 24 | (uint32_t)b[1] << 16 | (uint32_t)b[2] << 8 | b[3];
    return true;
}

// Reads n stored bytes of the file into to, or drops them when to is null.
static bool readStored(PACKFILE *f, long long n, unsigned char *to)
{
    unsigned char drop[4096];
    while (n > 0) {
        long want = to ? (long)n : (long)MIN(n, (long long)sizeof drop);
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
static bool readObject(PACKFILE *f, uint32_t index)
{
    uint32_t type, propertyType, length;
    for (;;) {
        if (!readWord(f, type))
            return false;
        if (type != (uint32_t)DAT_PROPERTY)
            break;
        if (!readWord(f, propertyType) || !readWord(f, length) || !readStored(f, length, nullptr))
            return false;
    }
    uint32_t stored, unpacked;
    if (type == (uint32_t)DAT_END || !readWord(f, stored) || !readWord(f, unpacked))
        return false;
    long long claimed = (int32_t)unpacked;
    bool packed = claimed < 0;
    if (packed)
        claimed = -claimed;
    if (stored > (uint32_t)LARGEST_OBJECT || claimed > LARGEST_OBJECT)
        return false;
    if (index >= (uint32_t)DATAFILE_OBJECTS)
        return readStored(f, stored, nullptr);
    StoredChunk &o = objects[index];
    o.type = (int)type;
    o.packed = packed;
    o.unpackedSize = (long)claimed;
    o.bytes.resize(stored);
    return readStored(f, stored, o.bytes.data());
}

// 1 when an object unpacks safely to what its index wants. The one object
// bound to nothing only has to be complete: it is never unpacked.
static int objectChecks(int index)
{
    const StoredChunk &o = objects[index];
    int w = 0, h = 0;
    if (!chunkUnpacksWhole(o))
        return 0;
    if (!objectIsBound(index))
        return 1;
    switch (o.type) {
    case DAT_BITMAP: return pictureChunkSound(o, &w, &h) && objectFits(index, o.type, w, h);
    case DAT_FONT: return objectFits(index, o.type, 0, 0) && fontChunkSound(o);
    case DAT_SAMPLE: return objectFits(index, o.type, 0, 0) && sampleChunkSound(o);
    default: return 0;
    }
}

// Reads a whole unpacked datafile stream from f, closes it and checks every object.
static int readStream(PACKFILE *f)
{
    for (StoredChunk &o : objects)
        o = StoredChunk();
    uint32_t magic = 0, count = 0;
    bool ok = f && readWord(f, magic) && magic == (uint32_t)DAT_MAGIC && readWord(f, count) &&
              count >= (uint32_t)DATAFILE_OBJECTS;
    for (uint32_t i = 0; ok && i < count; i++)
        ok = readObject(f, i);
    if (f)
        pack_fclose(f);
    for (int i = 0; ok && i < DATAFILE_OBJECTS; i++)
        ok = objectChecks(i);
    return ok;
}

int readPackedDatafile(const char *name, const char *password)
{
    packfile_password(password);
    PACKFILE *f = pack_fopen(name, F_READ_PACKED);
    packfile_password(nullptr);
    return readStream(f);
}

int readDatafileStream(const unsigned char *bytes, long size)
{
    return readStream(openMemoryBytes(bytes, size));
}

// ---- the objects ----

void *unpackObject(int index)
{
    return unpackChunk(objects[index]);
}

int unpackPictureInto(int index, BITMAP *dest)
{
    return unpackPictureChunk(objects[index], dest);
}

int packedObjectType(int index)
{
    return objects[index].type;
}

const StoredChunk &storedObject(int index)
{
    return objects[index];
}

void dropPackedObject(int index)
{
    std::vector<unsigned char>().swap(objects[index].bytes);
}

DATAFILE *loadWholeDatafile(const char *name, const char *password)
{
    if (!readPackedDatafile(name, password))
        return nullptr;
    // Allocated as the library allocates a datafile, so unload_datafile frees it.
    DATAFILE *data = static_cast<DATAFILE *>(calloc(DATAFILE_OBJECTS + 1, sizeof(DATAFILE)));
    bool ok = data != nullptr;
    for (int i = 0; ok && i < DATAFILE_OBJECTS; i++) {
        data[i].type = objects[i].type;
        data[i].dat = objectIsBound(i) ? unpackObject(i) : nullptr;
        ok = data[i].dat || !objectIsBound(i);
        data[i + 1].type = DAT_END;
    }
    for (int i = 0; i < DATAFILE_OBJECTS; i++)
        dropPackedObject(i);
    if (!ok && data) {
        unload_datafile(data);
        data = nullptr;
    }
    return data;
}
