// baddatafile.cpp -- makes a damaged copy of the game's datafile for the
// end-to-end cases: packed under another password, a foreign object at an
// index the game binds, objects missing, the unpacked stream cut short, or
// one object's bytes damaged (the damages datafile_image.h names).
// Usage: baddatafile IN OUT password WORD | wrongtype INDEX | fewer COUNT | cut BYTES | damage NAME
//        baddatafile damages (prints the damages' names)
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
    fprintf(stderr, "usage: baddatafile IN OUT password WORD | wrongtype INDEX | fewer COUNT | cut BYTES | "
                    "damage NAME\n       baddatafile damages\n");
    return 2;
}

int main(int argc, char **argv)
{
    if (argc == 2 && !strcmp(argv[1], "damages")) {
        for (int k = 0; k < DATAFILE_DAMAGE_COUNT; k++)
            printf("%s\n", DATAFILE_DAMAGES[k]);
        return 0;
    }
    if (argc != 5)
        return usage();
    install_allegro(SYSTEM_NONE, &errno, nullptr);
    const char *in = argv[1], *out = argv[2], *mode = argv[3], *arg = argv[4];
    DatafileImage image;
    if (!takeDatafileApart(in, DATAFILE_PASSWORD, image)) {
        fprintf(stderr, "baddatafile: %s is not a datafile the game accepts\n", in);
        return 1;
    }
    const char *password = DATAFILE_PASSWORD;
    size_t n = strtoul(arg, nullptr, 10);
    if (!strcmp(mode, "password")) {
        password = arg;
    } else if (!strcmp(mode, "wrongtype") && n < image.objects.size()) {
        image.objects[n] = binaryChunk("not what the game expects here");
    } else if (!strcmp(mode, "fewer") && n <= image.objects.size()) {
        image.objects.resize(n);
    } else if (!strcmp(mode, "cut")) {
        // handled below, on the joined stream
    } else if (!strcmp(mode, "damage")) {
        if (!damageDatafile(image, arg))
            return usage();
    } else {
        return usage();
    }
    std::vector<unsigned char> raw = buildDatafile(image);
    if (!strcmp(mode, "cut") && n < raw.size())
        raw.resize(n);
    if (!writePackedStream(out, password, raw)) {
        fprintf(stderr, "baddatafile: cannot write %s\n", out);
        return 1;
    }
    return 0;
}
