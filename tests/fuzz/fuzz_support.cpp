// fuzz_support.cpp -- the shared set-up of the fuzz targets.
#include "fuzz/fuzz_support.h"
#include "game/catalogue.h"
#include "scores/cipher.h"
#include "scores/table.h"
#include "support/headless.h"
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

void startFuzzTarget()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    startHeadlessAllegro();
    // The built-in 8x8 font measures like any other, so entries are fitted for real.
    hudFont = font;
    char folder[] = "/dev/shm/tg-fuzz.XXXXXX";
    char fallback[] = "/tmp/tg-fuzz.XXXXXX";
    const char *made = mkdtemp(folder);
    if (!made)
        made = mkdtemp(fallback);
    if (!made || chdir(made) != 0)
        abort();
}

bool writeBytes(const char *path, const unsigned char *data, size_t size)
{
    FILE *f = fopen(path, "wb");
    if (!f)
        return false;
    bool ok = fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

void writeScoreFile(const std::vector<std::string> &entries)
{
    std::string text = "TumbleGrid high scores\r\nName and score\r\n";
    for (const std::string &e : entries)
        text += e + "\r\n";
    size_t size;
    unsigned char *stored = encodeScoreText(text.data(), text.size(), &size);
    if (!stored || !writeBytes(HIGH_SCORE_FILE, stored, size))
        abort();
    delete[] stored;
}
