// cipher.cpp -- the stored form of the high-score text and its file.
//
// The plain form is a tail count t, the text, t - 1 filler bytes and one
// trailing byte; every whole 8-byte block but the trailing byte is run
// through TEA with the file's key. The file carries no other framing, so a
// reader finds the end of the text from the file's size and t alone.
#include "scores/cipher.h"
#include "platform/platform.h"
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

const uint32_t scoreFileKey[4] = {23171, 11093, 4721, 30518};

static const uint32_t TEA_DELTA = 0x9E3779B9u;
static const int TEA_CYCLES = 32;

// Reads a little-endian 32-bit word, whatever the host's byte order.
static uint32_t getWord(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Writes a 32-bit word in little-endian order.
static void putWord(unsigned char *p, uint32_t w)
{
    p[0] = (unsigned char)w;
    p[1] = (unsigned char)(w >> 8);
    p[2] = (unsigned char)(w >> 16);
    p[3] = (unsigned char)(w >> 24);
}

// The published TEA round function, forwards.
void teaEncipherWords(uint32_t v[2], const uint32_t k[4])
{
    uint32_t y = v[0], z = v[1], sum = 0;
    for (int i = 0; i < TEA_CYCLES; i++) {
        sum += TEA_DELTA;
        y += ((z << 4) + k[0]) ^ (z + sum) ^ ((z >> 5) + k[1]);
        z += ((y << 4) + k[2]) ^ (y + sum) ^ ((y >> 5) + k[3]);
    }
    v[0] = y;
    v[1] = z;
}

// The published TEA round function, backwards.
void teaDecipherWords(uint32_t v[2], const uint32_t k[4])
{
    uint32_t y = v[0], z = v[1], sum = TEA_DELTA * TEA_CYCLES;
    for (int i = 0; i < TEA_CYCLES; i++) {
        z -= ((y << 4) + k[2]) ^ (y + sum) ^ ((y >> 5) + k[3]);
        y -= ((z << 4) + k[0]) ^ (z + sum) ^ ((z >> 5) + k[1]);
        sum -= TEA_DELTA;
    }
    v[0] = y;
    v[1] = z;
}

// Enciphers one stored block with the file's key.
void teaEncipher(unsigned char block[8])
{
    uint32_t v[2] = {getWord(block), getWord(block + 4)};
    teaEncipherWords(v, scoreFileKey);
    putWord(block, v[0]);
    putWord(block + 4, v[1]);
}

// Deciphers one stored block with the file's key.
void teaDecipher(unsigned char block[8])
{
    uint32_t v[2] = {getWord(block), getWord(block + 4)};
    teaDecipherWords(v, scoreFileKey);
    putWord(block, v[0]);
    putWord(block + 4, v[1]);
}

// Lays out and enciphers a text; filler and trailing byte are zero so that
// the same table always gives the same file.
unsigned char *encodeScoreText(const char *text, size_t length, size_t *storedSize)
{
    size_t tail = 8 - length % 8;
    size_t size = length + tail + 1;
    unsigned char *plain = new (std::nothrow) unsigned char[size];
    unsigned char *stored = plain ? new (std::nothrow) unsigned char[size] : nullptr;
    if (!stored) {
        delete[] plain;
        showErrorBox("Memory allocation error", "FileError");
        return nullptr;
    }
    memset(plain, 0, size);
    plain[0] = (unsigned char)tail;
    if (length)
        memcpy(plain + 1, text, length);
    memcpy(stored, plain, size);
    for (size_t p = 0; p + 8 < size; p += 8)
        teaEncipher(stored + p);
    delete[] plain;
    *storedSize = size;
    return stored;
}

// Deciphers the whole blocks only: a damaged size never reads past the data.
void decodeScoreData(const unsigned char *stored, size_t size, unsigned char *plain)
{
    for (size_t p = 0; p + 8 <= size; p += 8) {
        memcpy(plain + p, stored + p, 8);
        teaDecipher(plain + p);
    }
}

// The text ends t bytes before the end of the file; a damaged t or size must
// still leave the end inside what was actually deciphered.
size_t scoreTextEnd(const unsigned char *plain, size_t size)
{
    if (size == 0)
        return 0;
    size_t tail = plain[0];
    size_t end = size > tail ? size - tail : 0;
    size_t deciphered = size / 8 * 8;
    return end < deciphered ? end : deciphered;
}

// Reads to the end rather than trusting a length query, so that odd files
// (a folder, a pipe) fail cleanly instead of giving a bogus size.
bool readScoreFile(const char *path, std::vector<unsigned char> &plain)
{
    FILE *file = fopen(path, "rb");
    if (!file)
        return false;
    std::vector<unsigned char> stored;
    unsigned char chunk[4096];
    size_t got;
    try {
        while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
            stored.insert(stored.end(), chunk, chunk + got);
    } catch (...) {
        fclose(file);
        throw;
    }
    bool failed = ferror(file) != 0;
    fclose(file);
    if (failed)
        return false;
    plain.assign(stored.size(), 0);
    decodeScoreData(stored.data(), stored.size(), plain.data());
    return true;
}

// Writes all bytes, carrying on after short writes and interruptions.
static bool writeAll(int fd, const unsigned char *bytes, size_t size)
{
    while (size > 0) {
        ssize_t done = write(fd, bytes, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        bytes += done;
        size -= (size_t)done;
    }
    return true;
}

// Makes the rename itself durable; a failure here loses nothing already written.
static void syncFolderOf(const char *path)
{
    char folder[4096];
    const char *slash = strrchr(path, '/');
    if (!slash)
        strcpy(folder, ".");
    else if (slash == path)
        strcpy(folder, "/");
    else
        snprintf(folder, sizeof folder, "%.*s", (int)(slash - path), path);
    int fd = open(folder, O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// The temporary names are path + "." + the six characters mkstemp picks.
static const int TEMP_SUFFIX = 6;

// A save that dies between creating its temporary file and the rename
// leaves that file behind; the next save (and the next start) take it away.
void removeStaleScoreTemps(const char *path)
{
    char folder[4096];
    const char *slash = strrchr(path, '/');
    const char *base = slash ? slash + 1 : path;
    if (!slash)
        strcpy(folder, ".");
    else
        snprintf(folder, sizeof folder, "%.*s", slash == path ? 1 : (int)(slash - path), path);
    DIR *dir = opendir(folder);
    if (!dir)
        return;
    size_t baseLength = strlen(base);
    while (struct dirent *entry = readdir(dir)) {
        const char *name = entry->d_name;
        if (strlen(name) != baseLength + 1 + TEMP_SUFFIX || strncmp(name, base, baseLength) != 0 ||
            name[baseLength] != '.')
            continue;
        bool temp = true;
        for (int i = 1; i <= TEMP_SUFFIX; i++)
            temp = temp && isalnum((unsigned char)name[baseLength + i]);
        if (!temp)
            continue;
        char victim[8192];
        snprintf(victim, sizeof victim, "%s/%s", folder, name);
        unlink(victim);
    }
    closedir(dir);
}

// A rename within one folder is atomic, so the file on disk is always either
// the old table or the complete new one, never a half-written mix.
bool replaceScoreFile(const char *path, const unsigned char *stored, size_t size)
{
    char temp[4096];
    if (snprintf(temp, sizeof temp, "%s.XXXXXX", path) >= (int)sizeof temp)
        return false;
    removeStaleScoreTemps(path);
    int fd = mkstemp(temp);
    if (fd < 0)
        return false;
    struct stat old;
    if (stat(path, &old) == 0)
        fchmod(fd, old.st_mode & 07777);
    else
        fchmod(fd, 0644);
    bool ok = writeAll(fd, stored, size) && fsync(fd) == 0;
    if (close(fd) != 0)
        ok = false;
    if (ok && rename(temp, path) != 0)
        ok = false;
    if (!ok) {
        unlink(temp);
        return false;
    }
    syncFolderOf(path);
    return true;
}
