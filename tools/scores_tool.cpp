// scores_tool.cpp -- tumblegrid-scores: looks inside and writes high-score
// files from the command line.
//
//   list FILE        the fifteen entries as the game reads them, with scores
//   decode FILE      the plain text (two header lines, fifteen entries)
//   encode TEXT OUT  the stored form of a plain text file
//   reset FILE       the table a fresh install starts with
//   draw FILE OUT    the high-score screen as the game paints it, as a picture
//
// Entries are fitted with the game's font when tumblegrid.dat sits beside
// FILE or in the current folder; otherwise they are listed as stored.
#include "game/catalogue.h"
#include "game/datafile.h"
#include "platform/files.h"
#include "scores/cipher.h"
#include "scores/table.h"
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#include "initial_scores.h"

static const char TOOL[] = "tumblegrid-scores";
static const int SCORE_LIST_TOP = 205;    // where the high-score screen puts its first line

// Prints the command summary and gives the status for a wrong command line.
static int usage()
{
    fprintf(stderr,
            "usage: %s list FILE | decode FILE | encode TEXT OUT | reset FILE | draw FILE OUT\n"
            "  list    print the fifteen entries and the score the game reads for each\n"
            "  decode  print the plain text of a high-score file\n"
            "  encode  write the stored form of a plain text file to OUT\n"
            "  reset   write the initial high-score table to FILE\n"
            "  draw    paint the high-score screen for FILE into the picture OUT (.bmp, .pcx, .tga);\n"
            "          needs tumblegrid.dat beside FILE or in the current folder\n",
            TOOL);
    return 2;
}

// Reports a failure with the file it concerns and gives the failure status.
static int failure(const char *path, const char *what)
{
    fprintf(stderr, "%s: %s: %s\n", TOOL, path, what);
    return 1;
}

// What is wrong with a deciphered file, or nullptr when its framing is sound.
static const char *framingFault(const std::vector<unsigned char> &plain)
{
    static char fault[128];
    if (plain.empty())
        return "damaged high-score file: it is empty";
    if (plain.size() % 8 != 1) {
        snprintf(fault, sizeof fault, "damaged high-score file: %zu bytes is not 8n + 1", plain.size());
        return fault;
    }
    if (plain[0] < 1 || plain[0] > 8)
        return "damaged high-score file: it does not decipher (wrong file or damaged)";
    size_t end = scoreTextEnd(plain.data(), plain.size()), lineEnds = 0;
    for (size_t p = 1; p < end; p++)
        lineEnds += plain[p] == '\n';
    if (lineEnds < 2)
        return "damaged high-score file: it has no header lines";
    return nullptr;
}

// Why a file could not be read, in words.
static const char *readFault(FileRead status)
{
    if (status == FileRead::NOT_REGULAR)
        return "not a regular file";
    if (status == FileRead::TOO_LARGE)
        return "too large for a high-score file";
    return strerror(errno ? errno : EIO);
}

// Reads and deciphers a high-score file, reporting why when it can't be used.
static bool readChecked(const char *path, std::vector<unsigned char> &plain)
{
    FileRead status = FileRead::FAILED;
    try {
        errno = 0;
        status = readScoreFile(path, plain);
    } catch (const std::bad_alloc &) {
        errno = ENOMEM;
    }
    if (status != FileRead::OK) {
        failure(path, readFault(status));
        return false;
    }
    if (const char *fault = framingFault(plain)) {
        failure(path, fault);
        return false;
    }
    return true;
}

// Binds hudFont from a datafile, if there is one at path that the game would accept.
static bool tryDatafile(const std::string &path)
{
    DATAFILE *data = loadWholeDatafile(path.c_str(), DATAFILE_PASSWORD);
    if (!data)
        return false;
    gameDatafile = data;
    bindAssetCatalogue(data);
    return true;
}

// The game fits entries in its HUD font; look for it beside the file first.
static void loadFontFor(const char *path)
{
    install_allegro(SYSTEM_NONE, &errno, nullptr);
    set_color_depth(32);
    set_color_conversion(COLORCONV_NONE);
    std::string beside = path;
#ifdef _WIN32
    size_t slash = beside.find_last_of("/\\");    // Windows takes either separator
#else
    size_t slash = beside.rfind('/');
#endif
    beside = slash == std::string::npos ? "" : beside.substr(0, slash + 1);
    if (tryDatafile(beside + DATAFILE_NAME) || tryDatafile(DATAFILE_NAME))
        return;
    fprintf(stderr, "%s: no usable %s: entries are shown as stored, not fitted\n", TOOL, DATAFILE_NAME);
}

// Prints the table the way the high-score screen would show it.
static int listFile(const char *path)
{
    std::vector<unsigned char> plain;
    if (!readChecked(path, plain))
        return 1;
    loadFontFor(path);
    int found = fillHighScoreTable(plain.data(), plain.size());
    sortHighScores();
    for (int i = 0; i < TABLE_SLOTS; i++)
        printf("%2d %10d  %s\n", i + 1, entryScore(highScoreTable[i]), highScoreTable[i]);
    if (found != TABLE_SLOTS) {
        char what[96];
        snprintf(what, sizeof what, "damaged high-score file: %d entries instead of %d", found, TABLE_SLOTS);
        return failure(path, what);
    }
    return 0;
}

// Paints the list the way the high-score screen does, to check the game against the file.
static int drawFile(const char *path, const char *out)
{
    std::vector<unsigned char> plain;
    if (!readChecked(path, plain))
        return 1;
    loadFontFor(path);
    if (!hudFont || !scoresBackground)
        return failure(path, "drawing needs tumblegrid.dat");
    fillHighScoreTable(plain.data(), plain.size());
    sortHighScores();
    BITMAP *picture = create_bitmap(SCREEN_W_PX, SCREEN_H_PX);
    if (!picture)
        return failure(out, "out of memory");
    clear_bitmap(picture);
    blit(scoresBackground, picture, 0, 0, 0, 0, scoresBackground->w, scoresBackground->h);
    for (int i = 0; i < TABLE_SLOTS; i++)
        textprintf_ex(picture, hudFont, SCORE_LIST_LEFT, SCORE_LIST_TOP + i * text_height(hudFont),
                      makecol(0, 0, 0), -1, "%s", highScoreTable[i]);
    int saved = save_bitmap(out, picture, nullptr);
    destroy_bitmap(picture);
    return saved == 0 ? 0 : failure(out, "cannot write the picture");
}

// Writes the plain text, byte for byte, to standard output.
static int decodeFile(const char *path)
{
    std::vector<unsigned char> plain;
    if (!readChecked(path, plain))
        return 1;
    size_t end = scoreTextEnd(plain.data(), plain.size());
#ifdef _WIN32
    // Windows' standard output would turn each LF into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (fwrite(plain.data() + 1, 1, end - 1, stdout) != end - 1 || fflush(stdout) != 0)
        return failure("standard output", strerror(errno));
    return 0;
}

// Enciphers a text after checking the game would read fifteen entries from it.
static int writeText(const char *source, const unsigned char *text, size_t length, const char *out)
{
    size_t size;
    unsigned char *stored = encodeScoreText((const char *)text, length, &size);
    if (!stored)
        return failure(out, "out of memory");
    std::vector<unsigned char> plain(size);
    decodeScoreData(stored, size, plain.data());
    const char *fault = framingFault(plain);
    int found = fillHighScoreTable(plain.data(), plain.size());
    if (fault || found != TABLE_SLOTS) {
        delete[] stored;
        return failure(source, "not a high-score text: it needs two header lines and fifteen entries");
    }
    bool saved = replaceFileContents(out, stored, size);
    delete[] stored;
    return saved ? 0 : failure(out, "cannot write the file");
}

// Reads a plain text file and writes its stored form; a text too large for
// the game to read back once stored is refused like a stored file would be.
static int encodeFile(const char *source, const char *out)
{
    std::vector<unsigned char> text;
    errno = 0;
    FileRead status = readWholeFile(source, SCORE_FILE_CAP - 9, text);    // storing adds 2 to 9 bytes
    if (status != FileRead::OK)
        return failure(source, readFault(status));
    return writeText(source, text.data(), text.size(), out);
}

// Runs one command; 0 on success, 1 on a failure, 2 on a wrong command line.
int main(int argc, char **argv)
{
    if (argc == 3 && !strcmp(argv[1], "list"))
        return listFile(argv[2]);
    if (argc == 3 && !strcmp(argv[1], "decode"))
        return decodeFile(argv[2]);
    if (argc == 4 && !strcmp(argv[1], "encode"))
        return encodeFile(argv[2], argv[3]);
    if (argc == 4 && !strcmp(argv[1], "draw"))
        return drawFile(argv[2], argv[3]);
    if (argc == 3 && !strcmp(argv[1], "reset"))
        return writeText("the built-in table", initialScoresText, sizeof initialScoresText, argv[2]);
    return usage();
}
