// headless.cpp -- helpers that give tests a game state and the real assets
// without opening a window.
#include "support/headless.h"
#include "app/catalogue.h"
#include "game/well.h"
#include "support/seams.h"
#include <allegro.h>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

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

bool TempFolder::enter(const char *prefix)
{
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd))
        return false;
    home = cwd;
    std::string pattern = std::string("/tmp/") + prefix + ".XXXXXX";
    if (!mkdtemp(pattern.data()))
        return false;
    path = pattern;
    return chdir(path.c_str()) == 0;
}

void TempFolder::leave()
{
    if (!home.empty() && chdir(home.c_str()) != 0)
        abort();
    if (path.empty())
        return;
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path, ignored);
}
