// datafile_image.h -- a datafile taken apart into its object records, so that
// tests can build damaged copies of the game's real datafile: cut short,
// packed under another password, with a foreign object at some index, or
// with objects missing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DatafileImage {
    // One record per object: its properties, type, chunk header and data, as stored.
    std::vector<std::vector<unsigned char>> records;
};

// Reads the unpacked stream of a packfile (any compression) under a password; false if it can't.
bool readPackedStream(const char *path, const char *password, std::vector<unsigned char> &raw);

// Writes raw bytes as a packfile under a password (nullptr for none); left
// uncompressed, which the loader takes as well and which is far quicker to make.
bool writePackedStream(const char *path, const char *password, const std::vector<unsigned char> &raw);

// Splits an unpacked datafile stream into its object records; false when it isn't one.
bool parseDatafile(const std::vector<unsigned char> &raw, DatafileImage &image);

// Joins the records into an unpacked datafile stream with its header.
std::vector<unsigned char> buildDatafile(const DatafileImage &image);

// A plain binary object record holding the given bytes.
std::vector<unsigned char> binaryRecord(const std::string &bytes);

// The object type stored in a record (after its properties).
uint32_t recordType(const std::vector<unsigned char> &record);
