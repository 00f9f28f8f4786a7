// datafile_image.cpp -- takes the game's datafile apart and puts damaged
// copies together again through the library's own packfile routines, so the
// copies differ from the real file only in the one way a test asks for.
//
// An unpacked datafile is the magic "ALL.", an object count and one record
// per object: any number of properties ("prop", type, size, bytes), then the
// object's type and a chunk (stored size, unpacked size, bytes). All numbers
// are big-endian 32-bit words.
#include "fault/datafile_image.h"
#include <allegro.h>

// Reads a big-endian word at p; the caller has checked the bounds.
static uint32_t bigWord(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Appends a big-endian word.
static void putBigWord(std::vector<unsigned char> &out, uint32_t w)
{
    out.push_back((unsigned char)(w >> 24));
    out.push_back((unsigned char)(w >> 16));
    out.push_back((unsigned char)(w >> 8));
    out.push_back((unsigned char)w);
}

bool readPackedStream(const char *path, const char *password, std::vector<unsigned char> &raw)
{
    packfile_password(password);
    PACKFILE *f = pack_fopen(path, F_READ_PACKED);
    packfile_password(nullptr);
    if (!f)
        return false;
    raw.clear();
    unsigned char chunk[65536];
    long got;
    while ((got = pack_fread(chunk, sizeof chunk, f)) > 0)
        raw.insert(raw.end(), chunk, chunk + got);
    bool failed = pack_ferror(f) != 0;
    pack_fclose(f);
    return !failed;
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

bool parseDatafile(const std::vector<unsigned char> &raw, DatafileImage &image)
{
    size_t size = raw.size(), p = 8;
    if (size < 8 || bigWord(raw.data()) != DAT_MAGIC)
        return false;
    uint32_t count = bigWord(raw.data() + 4);
    image.records.clear();
    for (uint32_t i = 0; i < count; i++) {
        size_t start = p;
        for (;;) {
            if (p + 4 > size)
                return false;
            uint32_t type = bigWord(raw.data() + p);
            p += 4;
            if (type == DAT_PROPERTY) {
                if (p + 8 > size)
                    return false;
                uint32_t length = bigWord(raw.data() + p + 4);
                p += 8;
                if (length > size - p)
                    return false;
                p += length;
                continue;
            }
            // A chunk packed by itself says so by negating its unpacked
            // size; its stored bytes are copied as they are.
            if (p + 8 > size)
                return false;
            int32_t stored = (int32_t)bigWord(raw.data() + p);
            int32_t unpacked = (int32_t)bigWord(raw.data() + p + 4);
            p += 8;
            if (stored < 0 || (unpacked >= 0 && stored != unpacked) || (size_t)stored > size - p)
                return false;
            p += (size_t)stored;
            break;
        }
        image.records.emplace_back(raw.begin() + start, raw.begin() + p);
    }
    return p == size;
}

std::vector<unsigned char> buildDatafile(const DatafileImage &image)
{
    std::vector<unsigned char> raw;
    putBigWord(raw, DAT_MAGIC);
    putBigWord(raw, (uint32_t)image.records.size());
    for (const auto &record : image.records)
        raw.insert(raw.end(), record.begin(), record.end());
    return raw;
}

std::vector<unsigned char> binaryRecord(const std::string &bytes)
{
    std::vector<unsigned char> record;
    putBigWord(record, DAT_DATA);
    putBigWord(record, (uint32_t)bytes.size());
    putBigWord(record, (uint32_t)bytes.size());
    record.insert(record.end(), bytes.begin(), bytes.end());
    return record;
}

uint32_t recordType(const std::vector<unsigned char> &record)
{
    size_t p = 0;
    while (p + 4 <= record.size()) {
        uint32_t type = bigWord(record.data() + p);
        if (type != DAT_PROPERTY)
            return type;
        p += 12 + bigWord(record.data() + p + 8);
    }
    return 0;
}
