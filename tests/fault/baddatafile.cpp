// baddatafile.cpp -- makes a damaged copy of the game's datafile for the
// end-to-end cases: packed under another password, a foreign object at an
// index the game binds, objects missing, or the unpacked stream cut short.
// Usage: baddatafile IN OUT password WORD | wrongtype INDEX | fewer COUNT | cut BYTES
#include "fault/datafile_image.h"
#include "game/catalogue.h"
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Prints the usage and fails.
static int usage()
{
    fprintf(stderr, "usage: baddatafile IN OUT password WORD | wrongtype INDEX | fewer COUNT | cut BYTES\n");
    return 2;
}

int main(int argc, char **argv)
{
    if (argc != 5)
        return usage();
    install_allegro(SYSTEM_NONE, &errno, nullptr);
    const char *in = argv[1], *out = argv[2], *mode = argv[3], *arg = argv[4];
    std::vector<unsigned char> raw;
    DatafileImage image;
    if (!readPackedStream(in, DATAFILE_PASSWORD, raw) || !parseDatafile(raw, image)) {
        fprintf(stderr, "baddatafile: %s is not a readable datafile\n", in);
        return 1;
    }
    const char *password = DATAFILE_PASSWORD;
    size_t n = strtoul(arg, nullptr, 10);
    if (!strcmp(mode, "password")) {
        password = arg;
    } else if (!strcmp(mode, "wrongtype") && n < image.records.size()) {
        image.records[n] = binaryRecord("not what the game expects here");
    } else if (!strcmp(mode, "fewer") && n <= image.records.size()) {
        image.records.resize(n);
    } else if (!strcmp(mode, "cut")) {
        // handled below, on the joined stream
    } else {
        return usage();
    }
    raw = buildDatafile(image);
    if (!strcmp(mode, "cut") && n < raw.size())
        raw.resize(n);
    if (!writePackedStream(out, password, raw)) {
        fprintf(stderr, "baddatafile: cannot write %s\n", out);
        return 1;
    }
    return 0;
}
