// headless.cpp -- helpers that give tests a game state and the real assets
// without opening a window.
#include "support/headless.h"
#include "game/catalogue.h"
#include "game/datafile.h"
#include "game/well.h"
#include "support/seams.h"
#include <allegro.h>
#include <cstdlib>
#include <filesystem>
#include <random>

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
    DATAFILE *data = loadWholeDatafile(DATAFILE_NAME, DATAFILE_PASSWORD);
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

// The folder is made under the system's temporary folder (/tmp, or the
// user's Temp folder on Windows) with a random suffix, tried until one is free.
bool TempFolder::enter(const char *prefix)
{
    namespace fs = std::filesystem;
    std::error_code error;
    home = fs::current_path(error).string();
    fs::path base = fs::temp_directory_path(error);
    if (error)
        return false;
    std::random_device random;
    for (int attempt = 0; attempt < 100; attempt++) {
        fs::path candidate = base / (std::string(prefix) + "." + std::to_string(random() % 1000000000u));
        if (fs::create_directory(candidate, error)) {
            path = candidate.string();
            fs::current_path(candidate, error);
            return !error;
        }
    }
    return false;
}

void TempFolder::leave()
{
    std::error_code error;
    if (!home.empty())
        std::filesystem::current_path(home, error);
    if (error)
        abort();
    if (path.empty())
        return;
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path, ignored);
}
