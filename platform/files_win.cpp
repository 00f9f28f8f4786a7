// files_win.cpp -- the file work behind the high-score file, for Windows.
//
// The same promises as on POSIX systems, kept the Windows way. A read takes
// only a file on disk (a folder, a pipe or a device such as CON is not
// one) and never more than it may hold. A replacement writes a temporary
// file beside the real one, flushes it to the disk and moves it over the
// real one with MoveFileEx, which replaces the old file in one step and
// returns only once the move itself is on the disk: a crash or a full disk
// leaves either the old contents or the new, never a mix. The temporary
// file is hidden and named "." + the file's name + "." + six random
// characters + ".tmp", a form nobody else uses, so the clean-up never
// takes a player's own files.
//
// Other programs open files for a moment of their own: an antivirus
// scanner, the search indexer or a sync client looks at the new file as
// soon as it appears. While one holds the high-score file, opening it or
// moving over it fails; the save then tries again for about a second
// before it gives up.
#include "platform/files.h"
#include <cerrno>
#include <random>
#include <string>
#include <windows.h>

static const char TEMP_END[] = ".tmp";
static const size_t TEMP_RANDOM = 6;
static const ULONGLONG STALE_SECONDS = 60;    // a save in progress never takes this long
static const DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
static const DWORD RETRY_MS = 50;                // between two tries while the file is held
static const ULONGLONG PATIENCE_MS = 1000;       // how long a save waits for the file in all

// Splits a path into its folder ("." when it names none) and its last part;
// Windows takes either slash.
static void splitPath(const std::string &path, std::string &folder, std::string &base)
{
    size_t slash = path.find_last_of("/\\");
    folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (folder != ".")
        folder.pop_back();
    if (folder.empty() || (folder.size() == 2 && folder[1] == ':'))
        folder += '\\';
}

// Leaves the reason of the last failed call in errno, as the C library would.
static void setErrnoFromSystem()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        errno = EACCES;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    default:
        errno = EIO;
    }
}

// True when the last call failed in a way another program holding the file
// explains, and the save's time to wait for it has not run out; then it
// waits a moment before the caller tries again.
static bool waitWhileHeld(ULONGLONG deadline)
{
    DWORD reason = GetLastError();
    bool held = reason == ERROR_SHARING_VIOLATION || reason == ERROR_ACCESS_DENIED || reason == ERROR_LOCK_VIOLATION;
    if (!held || GetTickCount64() >= deadline)
        return false;
    Sleep(RETRY_MS);
    return true;
}

// Reads to the end of an open file, keeping at most cap bytes: one byte
// more than cap already tells that the file is too large.
static FileRead readAtMost(HANDLE file, size_t cap, std::vector<unsigned char> &bytes)
{
    unsigned char chunk[4096];
    bytes.clear();
    for (;;) {
        size_t room = cap + 1 - bytes.size();
        DWORD got = 0;
        if (!ReadFile(file, chunk, (DWORD)(room < sizeof chunk ? room : sizeof chunk), &got, nullptr)) {
            setErrnoFromSystem();
            return FileRead::FAILED;
        }
        if (got == 0)
            return FileRead::OK;
        if (got > cap - bytes.size())
            return FileRead::TOO_LARGE;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

// The kind and size are taken from the open handle, not the name, so a
// file swapped in between the check and the read can't slip through.
FileRead readWholeFile(const char *path, size_t cap, std::vector<unsigned char> &bytes)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileRead::NOT_REGULAR;
    HANDLE file = CreateFileA(path, GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        setErrnoFromSystem();
        return FileRead::CANNOT_OPEN;
    }
    FileRead status;
    LARGE_INTEGER size;
    try {
        if (GetFileType(file) != FILE_TYPE_DISK)
            status = FileRead::NOT_REGULAR;
        else if (!GetFileSizeEx(file, &size)) {
            setErrnoFromSystem();
            status = FileRead::FAILED;
        } else if ((unsigned long long)size.QuadPart > cap)
            status = FileRead::TOO_LARGE;
        else
            status = readAtMost(file, cap, bytes);
    } catch (...) {
        CloseHandle(file);
        throw;
    }
    int reason = errno;
    CloseHandle(file);
    errno = reason;
    return status;
}

// Writes all bytes.
static bool writeAll(HANDLE file, const unsigned char *bytes, size_t size)
{
    while (size > 0) {
        DWORD part = size > 0x10000000 ? 0x10000000 : (DWORD)size, done = 0;
        if (!WriteFile(file, bytes, part, &done, nullptr) || done == 0)
            return false;
        bytes += done;
        size -= done;
    }
    return true;
}

// True for a name of the form "." + base + "." + six letters or digits + ".tmp".
static bool isTempName(const char *name, const std::string &base)
{
    std::string n = name;
    size_t endLength = sizeof TEMP_END - 1;
    if (n.size() != 1 + base.size() + 1 + TEMP_RANDOM + endLength || n[0] != '.' ||
        n.compare(1, base.size(), base) != 0 || n[1 + base.size()] != '.' ||
        n.compare(n.size() - endLength, endLength, TEMP_END) != 0)
        return false;
    for (size_t i = 0; i < TEMP_RANDOM; i++) {
        char c = n[base.size() + 2 + i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// The joined path of a name in a folder.
static std::string inFolder(const std::string &folder, const std::string &name)
{
    char last = folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + "\\" + name;
}

// Only temporary files untouched for a minute go: a save writes and moves
// its own within moments, so a younger one may be another copy's save.
void removeStaleTemps(const char *path)
{
    std::string folder, base;
    splitPath(path, folder, base);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(inFolder(folder, "." + base + ".*" + TEMP_END).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER nowTicks = {{now.dwLowDateTime, now.dwHighDateTime}};
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !isTempName(found.cFileName, base))
            continue;
        ULARGE_INTEGER written = {{found.ftLastWriteTime.dwLowDateTime, found.ftLastWriteTime.dwHighDateTime}};
        if (nowTicks.QuadPart > written.QuadPart && nowTicks.QuadPart - written.QuadPart > STALE_SECONDS * 10000000)
            DeleteFileA(inFolder(folder, found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Makes the hidden temporary file beside the real one, under a fresh name.
static HANDLE createTemp(const std::string &folder, const std::string &base, std::string &temp)
{
    static const char LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; attempt++) {
        std::string middle;
        for (size_t i = 0; i < TEMP_RANDOM; i++)
            middle += LETTERS[random() % (sizeof LETTERS - 1)];
        temp = inFolder(folder, "." + base + "." + middle + TEMP_END);
        HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// The fallback for a folder the player may not write to: not atomic, but it
// is what the player's permissions allow. Writes from the start, cuts the
// file to the new size and flushes it.
static bool rewriteInPlace(HANDLE file, const unsigned char *bytes, size_t size)
{
    return writeAll(file, bytes, size) && SetEndOfFile(file) && FlushFileBuffers(file);
}

// Writes and flushes the temporary file and moves it over path; on any
// failure the temporary file goes and path is left as it was.
static bool replaceThroughTemp(HANDLE file, const std::string &temp, const char *path,
                               const unsigned char *bytes, size_t size, ULONGLONG deadline)
{
    bool ok = writeAll(file, bytes, size) && FlushFileBuffers(file);
    if (!CloseHandle(file))
        ok = false;
    // The new file keeps the temporary one's hidden mark until it is moved.
    if (ok)
        SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    bool moved = false;
    if (ok)
        do
            moved = MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        while (!moved && waitWhileHeld(deadline));
    if (!moved)
        DeleteFileA(temp.c_str());
    return moved;
}

// Opening the file for writing comes first: a read-only file must fail the
// save, which a move over it would not always do. A file that doesn't
// exist yet (the tool writing a new one) is simply made.
bool replaceFileContents(const char *path, const unsigned char *bytes, size_t size)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return false;
    ULONGLONG deadline = GetTickCount64() + PATIENCE_MS;
    HANDLE existing;
    do
        existing = CreateFileA(path, GENERIC_WRITE, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    while (existing == INVALID_HANDLE_VALUE && waitWhileHeld(deadline));
    if (existing == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    if (existing != INVALID_HANDLE_VALUE && GetFileType(existing) != FILE_TYPE_DISK) {
        CloseHandle(existing);
        return false;
    }
    removeStaleTemps(path);
    std::string folder, base, temp;
    splitPath(path, folder, base);
    HANDLE file = createTemp(folder, base, temp);
    if (file == INVALID_HANDLE_VALUE) {
        if (existing == INVALID_HANDLE_VALUE)
            return false;
        bool ok = rewriteInPlace(existing, bytes, size);
        return CloseHandle(existing) && ok;
    }
    if (existing != INVALID_HANDLE_VALUE)
        CloseHandle(existing);
    return replaceThroughTemp(file, temp, path, bytes, size, deadline);
}
