// headless.cpp -- helpers that give tests a game state and the real assets
// without opening a window.
#include "support/headless.h"
#include "app/catalogue.h"
#include "game/well.h"
#include "support/seams.h"
#include <allegro.h>
#include <cstdlib>

static bool allegroStarted = false;

void startHeadlessAllegro()
{
    if (allegroStarted)
        return;
    install_allegro(SYSTEM_NONE, &errno, nullptr);
    set_color_depth(32);
    set_color_conversion(COLORCONV_NONE);
    allegroStarted = true;
}

bool loadGameDatafile()
{
    startHeadlessAllegro();
    if (gameDatafile)
        return true;
    DATAFILE *data = loadCheckedDatafile(DATAFILE_NAME, DATAFILE_PASSWORD);
    if (!data)
        return false;
    gameDatafile = data;
    bindAssetCatalogue(data);
    return true;
}

void freshRound(int chosenDifficulty, unsigned seed)
{
    srand(seed);
    difficulty = chosenDifficulty;
    resetSeams();
    startRound();
}
