// datafile.h -- the game's one datafile reader. One pass over the file keeps
// every object's stored (packed) chunk in memory and checks the whole file:
// every object is there, of the type and size its index wants, its chunk
// unpacks to exactly the length it claims, and what it unpacks to is a
// picture, font or sample the library's loaders can take safely. A damaged
// file is thus refused before anything is shown, and unpacking an object
// later, whenever it is wanted, cannot fail.
#pragma once
#include "game/chunk.h"
#include <allegro.h>

// Reads and checks the datafile under its password; 1 when every object the
// catalogue binds is there and unpacks safely. Forgets any earlier reading.
int readPackedDatafile(const char *name, const char *password);

// The same for a datafile's unpacked stream held in memory (damaged copies in tests).
int readDatafileStream(const unsigned char *bytes, long size);

// Unpacks an object as the library's loader would make it (a BITMAP, FONT or
// SAMPLE); nullptr when its bytes do not unpack. Its stored bytes are kept.
void *unpackObject(int index);

// Unpacks a picture straight into dest, which has its size; 1 on success.
int unpackPictureInto(int index, BITMAP *dest);

// The library's type of an object (DAT_BITMAP, ...) as the file declares it.
int packedObjectType(int index);

// An object's chunk as the last reading kept it.
const StoredChunk &storedObject(int index);

// Forgets an object's stored bytes once it is unpacked for good.
void dropPackedObject(int index);

// Reads and checks the datafile and unpacks every object the catalogue
// binds into a datafile of its own, for the tool, the tests and the
// benchmarks (unload_datafile frees it); nullptr when the file is refused.
DATAFILE *loadWholeDatafile(const char *name, const char *password);
