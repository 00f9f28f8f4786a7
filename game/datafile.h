// datafile.h -- the game's datafile read in its stored form. One pass over
// the file keeps every object's stored (packed) bytes in memory and checks
// the whole file, each object's type and each picture's size included, so a
// damaged file is refused before anything is shown; the objects are then
// unpacked one at a time, whenever they are wanted.
#pragma once
#include <allegro.h>

// Reads and checks the datafile; 1 when every object the catalogue binds is
// there, complete, of the right type and size. Forgets any earlier reading.
int readPackedDatafile(const char *name, const char *password);

// Unpacks an object as the library's loader would make it (a BITMAP, FONT or
// SAMPLE); nullptr when its bytes do not unpack. Its stored bytes are kept.
void *unpackObject(int index);

// Unpacks a picture straight into dest, which has its size; 1 on success.
int unpackPictureInto(int index, BITMAP *dest);

// The library's type of an object (DAT_BITMAP, ...) as the file declares it.
int packedObjectType(int index);

// Forgets an object's stored bytes once it is unpacked for good.
void dropPackedObject(int index);
