// fuzzseeds.cpp -- writes the fuzz targets' starting corpora with the game's
// own code: stored high-score files made by encodeScoreText (a full table,
// odd names, an empty text, a lone header), wells taken from seeded rounds
// played through the real fall step, and names with scores for the entry
// builder, settings files, and datafiles: damages of single objects of the
// real datafile and whole small datafiles. Usage: fuzzseeds OUTDIR DATAFILE
// (subfolders scorefile, decode, rules, entry, settings, datafile).
#include "fault/datafile_image.h"
#include "game/catalogue.h"
#include "game/fall.h"
#include "game/well.h"
#include "scores/cipher.h"
#include "support/headless.h"
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

static std::string outDir;
static int seedCount = 0;

// Writes one seed file into a target's folder.
static void writeSeed(const char *target, const std::string &bytes)
{
    std::string folder = outDir + "/" + target;
    mkdir(folder.c_str(), 0755);
    std::string path = folder + "/seed-" + std::to_string(seedCount++);
    FILE *f = fopen(path.c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
        fprintf(stderr, "fuzzseeds: cannot write %s\n", path.c_str());
        exit(1);
    }
}

// The stored form of a text, as the game would write it.
static std::string stored(const std::string &text)
{
    size_t size;
    unsigned char *bytes = encodeScoreText(text.data(), text.size(), &size);
    std::string out((const char *)bytes, size);
    delete[] bytes;
    return out;
}

// High-score files: a proper table and the odd shapes the loader must survive.
static void scoreFileSeeds()
{
    std::string table = "TumbleGrid\r\nBest fifteen\r\n";
    for (int i = 0; i < 15; i++)
        table += "Player" + std::to_string(i) + "......" + std::to_string(9000 - 500 * i) + "\r\n";
    const std::string texts[] = {
        table,
        "",
        "one header line only",
        "a\r\nb\r\n",
        "h1\nh2\nname with spaces.100\r\n...dots.first.200\r\nK.9.500\r\nR2D2.500\r\nnodigits\r\n",
        "h1\r\n\r\nh2\r\n" + std::string(1500, 'W') + ".12345\r\n",
        std::string(40, '\n') + "x.1\r\n",
    };
    for (const std::string &text : texts) {
        writeSeed("scorefile", stored(text));
        writeSeed("decode", stored(text));
        writeSeed("decode", text);
    }
}

// Wells as real play leaves them: seeded rounds with a wandering player,
// one seed at every fifth landing.
static void wellSeeds()
{
    for (unsigned seed = 1; seed <= 12; seed++) {
        freshRound(EASY + (int)seed % 4, seed);
        srand(seed);
        int landings = 0;
        for (int step = 0; step < 200000; step++) {
            if (rand() % 4 == 0)
                applySteeringKey(rand() % 2 ? KEY_LEFT : KEY_RIGHT);
            if (rand() % 8 == 0)
                applySteeringKey(KEY_S);
            if (!advanceFallingDigit())
                break;
            if (fallRow == 0 && ++landings % 5 == 0) {
                std::string cells;
                for (int r = 0; r < WELL_ROWS; r++)
                    for (int c = 0; c < WELL_COLUMNS; c++)
                        cells += (char)(well[r][c].digit == EMPTY_CELL ? 9 : well[r][c].digit);
                writeSeed("rules", cells + (char)seed);
            }
        }
    }
    // A well whose every row run and box is complete.
    std::string dense;
    for (int r = 0; r < WELL_ROWS; r++)
        for (int c = 0; c < WELL_COLUMNS; c++)
            dense += (char)((3 * r + c) % 9);
    writeSeed("rules", dense + '\7');
}

// Scores and names for the entry builder.
static void entrySeeds()
{
    const std::pair<int, std::string> entries[] = {
        {500, "Alice"}, {1000000, "Bob Smith"}, {11, ""}, {2147483647, "K.9"},
        {-50, "Below"}, {800, std::string(2000, 'M')}, {151, "dots...and.9digits"},
        {4242, "\xc3\xa9l\xc3\xa8ve"},
    };
    for (const auto &e : entries) {
        std::string bytes((const char *)&e.first, sizeof e.first);
        writeSeed("entry", bytes + e.second);
    }
}

// Settings files: the game's own, a hand-edited one, and the damaged bytes
// that once hung the library's reader.
static void settingsSeeds()
{
    const std::string texts[] = {
        "[tumblegrid]\ndifficulty = 3\nmusic = 0\neffects = 1\nfullscreen = 0\nscaling = sharp\n",
        "# mine\r\n[tumblegrid]\r\ndifficulty=4\r\n[other]\r\nmusic = 0\r\n",
        "[tumblegrid]\nfullscreen = 7\nscaling = huge\n",
        "\xfd\x8d\x96\x9b\xa2\xa3\n",
    };
    for (const std::string &text : texts)
        writeSeed("settings", text);
}

// One damage of the real datafile, in the fuzz target's form: an odd first
// byte, the object, what to damage (and 4 to cut there), the offset, the bytes.
static void datafileDamageSeed(int index, int what, uint32_t offset, const std::string &bytes)
{
    std::string seed = {'\1', (char)index, (char)what, (char)(offset >> 24), (char)(offset >> 16),
                        (char)(offset >> 8), (char)offset};
    writeSeed("datafile", seed + bytes);
}

// The whole bytes of a file.
static std::string fileBytes(const char *path)
{
    std::string bytes;
    FILE *f = fopen(path, "rb");
    char chunk[65536];
    size_t got;
    while (f && (got = fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.append(chunk, got);
    if (f)
        fclose(f);
    return bytes;
}

// A 1x1 picture, a font of one one-pixel glyph, or a sound of one 8-bit sample.
static StoredChunk tinyObject(int type)
{
    static const unsigned char picture[] = {0, 32, 0, 1, 0, 1, 9, 9, 9};
    static const unsigned char font[] = {0, 0, 0, 1, 1, 0, 0, 0, 32, 0, 0, 0, 32, 0, 1, 0, 1, 128};
    static const unsigned char sample[] = {0, 8, 0x56, 0x22, 0, 0, 0, 1, 128};
    const unsigned char *b = type == DAT_FONT ? font : type == DAT_SAMPLE ? sample : picture;
    size_t n = type == DAT_FONT ? sizeof font : type == DAT_SAMPLE ? sizeof sample : sizeof picture;
    return packedChunk(type, std::vector<unsigned char>(b, b + n));
}

// Datafiles: each damage that once crashed or hung the game, untouched
// objects of every kind stored unpacked, lengths and types changed; and as
// whole files, the start of the real one and one of tiny objects.
static void datafileSeeds(const char *path)
{
    DatafileImage image;
    if (!takeDatafileApart(path, DATAFILE_PASSWORD, image)) {
        fprintf(stderr, "fuzzseeds: %s is not a datafile the game accepts\n", path);
        exit(1);
    }
    const int PLAIN = 0, STORED = 1, CLAIMED = 2, TYPE = 3, CUT = 4;
    datafileDamageSeed(34, PLAIN, 0, std::string("\x00\x08\x56\x22\x80\x00\x00\x00", 8));
    datafileDamageSeed(30, PLAIN | CUT, 15, "");                      // inside the first glyph's header
    datafileDamageSeed(32, PLAIN | CUT, 0, "");                       // nothing at all
    datafileDamageSeed(30, PLAIN, 2, std::string("\0\0", 2));
    datafileDamageSeed(30, PLAIN, 2, "\xff\x01");
    datafileDamageSeed(30, PLAIN, 9, std::string("\x00\x7f\x00\x7e", 4));
    datafileDamageSeed(35, PLAIN, 0, std::string("\x00\x08\xff\xff\x40\x01", 6));
    datafileDamageSeed(33, PLAIN, 4, "\x7f\xff\xff\xff");
    datafileDamageSeed(HELP_SCREEN_OBJECT, STORED | CUT, (uint32_t)image.objects[HELP_SCREEN_OBJECT].bytes.size() - 1, "");
    for (int index : {1, 30, 31, 32, 34, 35, 42})
        datafileDamageSeed(index, PLAIN, (uint32_t)image.objects[index].unpackedSize, "");
    datafileDamageSeed(1, CLAIMED, 0, std::string("\xff\xff\xf5\x6d", 4));
    datafileDamageSeed(30, TYPE, 0, "BMP ");
    datafileDamageSeed(42, TYPE, 0, "FONT");

    std::string file = fileBytes(path);
    writeSeed("datafile", std::string(1, '\0') + file.substr(0, 4096));
    for (StoredChunk &o : image.objects)
        o = tinyObject(o.type);
    std::string tiny = outDir + "/tiny.dat";
    if (!writePackedStream(tiny.c_str(), DATAFILE_PASSWORD, buildDatafile(image))) {
        fprintf(stderr, "fuzzseeds: cannot write %s\n", tiny.c_str());
        exit(1);
    }
    writeSeed("datafile", std::string(1, '\0') + fileBytes(tiny.c_str()));
    remove(tiny.c_str());
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: fuzzseeds OUTDIR DATAFILE\n");
        return 2;
    }
    outDir = argv[1];
    mkdir(outDir.c_str(), 0755);
    startHeadlessAllegro();
    scoreFileSeeds();
    wellSeeds();
    entrySeeds();
    settingsSeeds();
    datafileSeeds(argv[2]);
    printf("fuzzseeds: %d seeds in %s\n", seedCount, outDir.c_str());
    return 0;
}
