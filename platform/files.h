// files.h -- the file work the operating system supplies for the high-score
// file: a bounded read that never blocks, a safe replacement of a file's
// contents and the tidying of temporary files an interrupted save left.
#pragma once
#include <cstddef>
#include <vector>

// What became of a read: the file was read, could not be opened, is not a
// plain file (a folder, a pipe, a device), is larger than allowed, or failed
// part way. CANNOT_OPEN and FAILED leave the system's reason in errno.
enum class FileRead { OK, CANNOT_OPEN, NOT_REGULAR, TOO_LARGE, FAILED };

// Reads the whole of a regular file of at most cap bytes into bytes, without
// ever waiting on a pipe or a device. Throws std::bad_alloc.
FileRead readWholeFile(const char *path, size_t cap, std::vector<unsigned char> &bytes);

// Puts bytes in place of the file at path (the file a link there points to,
// if it is a link). The old contents stay whole until the new ones are
// safely written; a file the player may not write is never replaced. Where
// no temporary file can be made beside it, a writable file is rewritten in
// place instead. False when the contents could not be replaced.
bool replaceFileContents(const char *path, const unsigned char *bytes, size_t size);

// Removes the temporary files of replacements that were killed before they
// finished, beside path; files another running save may still be writing
// are left alone.
void removeStaleTemps(const char *path);
