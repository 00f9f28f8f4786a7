// chunk.h -- one datafile object as the file stores it: a chunk of bytes,
// packed with the library's LZSS or not. The reader's checks live here: the
// proof that a chunk unpacks to exactly the length it claims, and that what
// it unpacks to is a picture, font or sample of the kind the asset generator
// writes. Only bytes that passed them reach the library's loaders.
#pragma once
#include <allegro.h>
#include <vector>

// No object of the game comes near this; a larger claim is damage.
const long LARGEST_OBJECT = 32L << 20;

// One object's stored chunk.
struct StoredChunk {
    int type = 0;              // the library's type (DAT_BITMAP, ...) as the file declares it
    bool packed = false;       // packed with LZSS
    long unpackedSize = 0;     // what the file says it unpacks to
    std::vector<unsigned char> bytes;
};

// 1 when the chunk's stored bytes unpack to exactly its unpacked size. For
// a packed chunk this walks the LZSS stream's codes without unpacking them.
int chunkUnpacksWhole(const StoredChunk &c);

// 1 when a picture chunk holds a picture the row unpacker reads, of exactly
// its size; sets its width and height.
int pictureChunkSound(const StoredChunk &c, int *w, int *h);

// 1 when a font chunk unpacks to one whole font of the generator's kind.
int fontChunkSound(const StoredChunk &c);

// 1 when a sample chunk holds 8- or 16-bit sound of exactly its length.
int sampleChunkSound(const StoredChunk &c);

// Unpacks a picture, font or sample as the library's loader would make it;
// nullptr for any other type or when its bytes fail their checks.
void *unpackChunk(const StoredChunk &c);

// Unpacks a picture straight into dest, which has its size and 32 bits; 1 on success.
int unpackPictureChunk(const StoredChunk &c, BITMAP *dest);

// Unpacks a chunk's bytes, whatever its type; 1 when they are all there.
int unpackChunkBytes(const StoredChunk &c, std::vector<unsigned char> &plain);

// A packfile that reads the given bytes from memory; close it with pack_fclose.
PACKFILE *openMemoryBytes(const unsigned char *bytes, long size);
