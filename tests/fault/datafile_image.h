// datafile_image.h -- the game's datafile taken apart into its objects'
// stored chunks by the game's own reader, so that tests can build damaged
// copies of the real file: cut short, packed under another password, with
// a foreign object at some index, objects missing, or one object's bytes
// damaged. Writing the copies back is the tests' own small writer.
#pragma once
#include "game/chunk.h"
#include <string>
#include <vector>

struct DatafileImage {
    std::vector<StoredChunk> objects;     // the properties (object names) are left out
};

// Reads a datafile through the game's reader, which must accept it, and keeps
// a copy of every object's chunk; false when the reader refuses it.
bool takeDatafileApart(const char *path, const char *password, DatafileImage &image);

// Joins the objects into an unpacked datafile stream with its header.
std::vector<unsigned char> buildDatafile(const DatafileImage &image);

// Writes raw bytes as a packfile under a password (nullptr for none); left
// uncompressed, which the loader takes as well and which is far quicker to make.
bool writePackedStream(const char *path, const char *password, const std::vector<unsigned char> &raw);

// A chunk of the given type holding plain bytes packed with LZSS as the
// asset generator packs them, claiming to unpack to claimed bytes (-1: the truth).
StoredChunk packedChunk(int type, const std::vector<unsigned char> &plain, long claimed = -1);

// A plain binary object holding the given bytes, stored as they are.
StoredChunk binaryChunk(const std::string &bytes);

// The damages the tests make to one object of the real datafile: a damaged
// copy of object index's unpacked bytes, written as a packed chunk into
// image. Names: negative-sample-length, font-cut-in-glyph-header,
// zero-length-chunk, font-no-ranges, font-65281-ranges, font-range-end-0x7f007e,
// picture-8-bit-65535x16385, sample-16-bit-0x7fffffff, kept-picture-one-byte-short.
// False for an unknown name.
bool damageDatafile(DatafileImage &image, const std::string &damage);

// Every damage damageDatafile knows.
extern const char *const DATAFILE_DAMAGES[];
extern const int DATAFILE_DAMAGE_COUNT;
