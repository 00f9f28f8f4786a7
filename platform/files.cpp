// files.cpp -- the file work behind the high-score file, for POSIX systems.
//
// Reads open without blocking and refuse anything but a regular file, so a
// pipe or a device in the file's place can neither freeze the game nor fill
// its memory. A replacement writes a synced temporary file beside the real
// one and renames it over it: a crash or a full disk leaves either the old
// contents or the new, never a mix. The temporary file is hidden and named
// "." + the file's name + "." + six random characters + ".tmp", a form
// nobody else uses, so the clean-up never takes a player's own files.
#include "platform/files.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

static const char TEMP_END[] = ".tmp";
static const size_t TEMP_RANDOM = 6;      // the characters mkstemps puts for XXXXXX
static const int STALE_SECONDS = 60;      // a save in progress never takes this long

// Splits a path into its folder ("." when it names none) and its last part.
static void splitPath(const std::string &path, std::string &folder, std::string &base)
{
    size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    base = slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads to the end of an open file, keeping at most cap bytes: one byte
// more than cap already tells that the file is too large.
static FileRead readAtMost(int fd, size_t cap, std::vector<unsigned char> &bytes)
{
    unsigned char chunk[4096];
    bytes.clear();
    for (;;) {
        size_t room = cap + 1 - bytes.size();
        ssize_t got = read(fd, chunk, room < sizeof chunk ? room : sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return FileRead::FAILED;
        if (got == 0)
            return FileRead::OK;
        if ((size_t)got > cap - bytes.size())
            return FileRead::TOO_LARGE;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

// The type and size are taken from the open descriptor, not the name, so a
// file swapped in between the check and the read can't slip through.
FileRead readWholeFile(const char *path, size_t cap, std::vector<unsigned char> &bytes)
{
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FileRead::CANNOT_OPEN;
    struct stat info;
    FileRead status;
    try {
        if (fstat(fd, &info) != 0)
            status = FileRead::FAILED;
        else if (!S_ISREG(info.st_mode))
            status = FileRead::NOT_REGULAR;
        else if ((unsigned long long)info.st_size > cap)
            status = FileRead::TOO_LARGE;
        else
            status = readAtMost(fd, cap, bytes);
    } catch (...) {
        close(fd);
        throw;
    }
    int reason = errno;
    close(fd);
    errno = reason;
    return status;
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

#ifdef __EMSCRIPTEN__
// In the browser the files live in memory and are copied to the page's
// IndexedDB on request (packaging/web/files.js): the save waits until the
// copy is committed, so a result survives a reload straight after it.
EM_ASYNC_JS(void, copyToBrowserStorage, (), {
    await new Promise(function(done) { Module['storeSaves'](done); });
});
#endif

// Makes a rename durable; a failure here loses nothing already written.
static void syncFolderOf(const std::string &path)
{
#ifdef __EMSCRIPTEN__
    copyToBrowserStorage();
#endif
    std::string folder, base;
    splitPath(path, folder, base);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// The file that really holds the contents: a link is followed to its target,
// so that the link stays a link and the target gets the new contents.
static bool resolveTarget(const char *path, std::string &target)
{
    struct stat info;
    if (lstat(path, &info) != 0 || !S_ISLNK(info.st_mode)) {
        target = path;
        return true;
    }
    char *real = realpath(path, nullptr);
    if (!real)
        return false;
    target = real;
    free(real);
    return true;
}

// True for a name of the form "." + base + "." + six letters or digits + ".tmp".
static bool isTempName(const char *name, const std::string &base)
{
    size_t length = strlen(name), endLength = strlen(TEMP_END);
    if (length != 1 + base.size() + 1 + TEMP_RANDOM + endLength || name[0] != '.' ||
        base.compare(0, base.size(), name + 1, base.size()) != 0 || name[1 + base.size()] != '.' ||
        strcmp(name + length - endLength, TEMP_END) != 0)
        return false;
    for (size_t i = 0; i < TEMP_RANDOM; i++) {
        char c = name[base.size() + 2 + i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// Only temporary files untouched for a minute go: a save writes and renames
// its own within moments, so a younger one may be another copy's save.
void removeStaleTemps(const char *path)
{
    std::string target, folder, base;
    if (!resolveTarget(path, target))
        target = path;
    splitPath(target, folder, base);
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return;
    time_t now = time(nullptr);
    while (struct dirent *entry = readdir(dir)) {
        if (!isTempName(entry->d_name, base))
            continue;
        std::string victim = folder + "/" + entry->d_name;
        struct stat info;
        if (lstat(victim.c_str(), &info) == 0 && S_ISREG(info.st_mode) && now - info.st_mtime > STALE_SECONDS)
            unlink(victim.c_str());
    }
    closedir(dir);
}

// The fallback for a folder the player may not write to: not atomic, but it
// is what the player's permissions allow. Writes from the start, cuts the
// file to the new size and syncs it.
static bool rewriteInPlace(int fd, const unsigned char *bytes, size_t size)
{
    return writeAll(fd, bytes, size) && ftruncate(fd, (off_t)size) == 0 && fsync(fd) == 0;
}

// Writes the synced temporary file and renames it over target; on any
// failure the temporary file goes and target is left as it was.
static bool replaceThroughTemp(int fd, const std::string &temp, const std::string &target,
                               const unsigned char *bytes, size_t size)
{
    bool ok = writeAll(fd, bytes, size) && fsync(fd) == 0;
    if (close(fd) != 0)
        ok = false;
    if (ok && rename(temp.c_str(), target.c_str()) != 0)
        ok = false;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    syncFolderOf(target);
    return true;
}

// Opening the file for writing comes first: a read-only file must fail the
// save, which a rename over it would not. A file that doesn't exist yet
// (the tool writing a new one) is made with the usual mode.
bool replaceFileContents(const char *path, const unsigned char *bytes, size_t size)
{
    std::string target;
    if (!resolveTarget(path, target))
        return false;
    int existing = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (existing < 0 && errno != ENOENT)
        return false;
    struct stat info;
    mode_t mode = 0644;
    if (existing >= 0) {
        if (fstat(existing, &info) != 0 || !S_ISREG(info.st_mode)) {
            close(existing);
            return false;
        }
        mode = info.st_mode & 07777;
    }
    removeStaleTemps(target.c_str());
    std::string folder, base;
    splitPath(target, folder, base);
    std::string temp = folder + "/." + base + "." + std::string(TEMP_RANDOM, 'X') + TEMP_END;
    int fd = mkstemps(&temp[0], (int)strlen(TEMP_END));
    if (fd < 0) {
        if (existing < 0)
            return false;
        bool ok = rewriteInPlace(existing, bytes, size);
        return close(existing) == 0 && ok;
    }
    if (existing >= 0)
        close(existing);
    fchmod(fd, mode);
    return replaceThroughTemp(fd, temp, target, bytes, size);
}
