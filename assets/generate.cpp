// generate.cpp -- the asset generator run by the build. It draws every
// picture, rasterises the two fonts and synthesises the samples into a work
// folder, then packs them with Allegro's dat tool, in the order the game
// reads them, into the password-protected tumblegrid.dat, and checks the
// result the way the game will.
//
//   tumblegrid-assets WORKDIR OUTPUT.dat DATTOOL
//   tumblegrid-assets --icons DIR
#include "assets/glyphs.h"
#include "assets/icons.h"
#include "assets/menuart.h"
#include "assets/pages.h"
#include "assets/screens.h"
#include "assets/sounds.h"
#include "assets/tiles.h"
#include "game/catalogue.h"
#include "game/datafile.h"
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

static const int HUD_FONT_PX = 21;     // DejaVu Sans Bold
// The small print (status lines, dialogs) in a bold monospace face: its
// strokes stay solid at a 10-pixel line, and the status lines' colons,
// padded with spaces, line up.
static const int SMALL_FONT_PX = 10;   // DejaVu Sans Mono Bold

// One datafile object: its file in the work folder and its dat type.
struct Packed {
    std::string file;
    const char *type;
};

static std::vector<Packed> objects(DATAFILE_OBJECTS);
static std::string workDir;

static void fail(const char *what)
{
    fprintf(stderr, "tumblegrid-assets: %s\n", what);
    exit(1);
}

// The work-folder path of an object's file; the name becomes the object name.
static std::string objectPath(int index, const char *name, const char *ext)
{
    char file[256];
    snprintf(file, sizeof file, "%s/o%03d_%s.%s", workDir.c_str(), index, name, ext);
    return file;
}

// Saves a picture as object index and keeps it.
static void saveBitmapOnly(int index, const char *name, BITMAP *bmp)
{
    std::string path = objectPath(index, name, "bmp");
    if (save_bitmap(path.c_str(), bmp, nullptr))
        fail("cannot save a picture");
    objects[index] = {path, "BMP"};
}

// Saves a picture as object index and frees it.
static void putPicture(int index, const char *name, BITMAP *bmp)
{
    saveBitmapOnly(index, name, bmp);
    destroy_bitmap(bmp);
}

static void makeTilePictures()
{
    putPicture(29, "well_background", makeWellBackground());
    for (int d = 0; d < 9; d++) {
        char name[32];
        snprintf(name, sizeof name, "digit_%d", d + 1);
        putPicture(d + 1, name, makeDigitSprite(d));
        for (int f = 0; f < CLEAR_FRAMES; f++) {
            snprintf(name, sizeof name, "clear_%d_%02d", d + 1, f);
            putPicture(clearFrameObject(d, f), name, makeClearFrame(d, f));
        }
    }
    putPicture(42, "spare", makeWellCell());
}

static void makeMenuPictures()
{
    BITMAP *background = makeMenuBackground();
    saveBitmapOnly(24, "menu_background", background);
    putPicture(35, "menu_logo", makeMenuLogo());
    putPicture(36, "menu_anim_a", makeMenuSprite(0));
    putPicture(37, "menu_anim_b", makeMenuSprite(1));
    struct { int normal, top; const char *label, *name; } big[4] = {
        {11, START_TOP, "Start Game", "start"}, {21, SCORES_TOP, "High Scores", "scores"},
        {23, QUIT_TOP, "Quit", "quit"}, {41, HELP_TOP, "Help", "help"},
    };
    for (auto &b : big) {
        std::string name = std::string(b.name) + "_button";
        putPicture(b.normal, name.c_str(), makeMenuButton(b.label, b.top, 0));
        name += "_pressed";
        putPicture(b.normal - 1, name.c_str(), makeMenuButton(b.label, b.top, 1));
    }
    static const char *names[4] = {"easy", "medium", "hard", "blitz"};
    for (int k = 0; k < 4; k++) {
        std::string name = std::string(names[k]) + "_button";
        putPicture(12 + 2 * k, (name + "_on").c_str(), makeChoiceButton(k, 1));
        putPicture(13 + 2 * k, (name + "_off").c_str(), makeChoiceButton(k, 0));
    }
    destroy_bitmap(background);
}

// Fonts, samples and the screens that line up with the fonts.
static void makeFontsSoundsScreens()
{
    FontMetrics m;
    std::string small = objectPath(30, "small_font", "bmp");
    std::string hud = objectPath(31, "hud_font", "bmp");
    m.smallHeight = writeGridFont(small.c_str(), MONO_BOLD, SMALL_FONT_PX);
    m.hudHeight = writeGridFont(hud.c_str(), SANS_BOLD, HUD_FONT_PX);
    m.hudAscent = 0;
    objects[30] = {small, "FONT"};
    objects[31] = {hud, "FONT"};
    const char *sampleNames[3] = {"clear_sound", "music", "land_sound"};
    void (*writers[3])(const char *) = {writeClearSound, writeMusic, writeLandSound};
    for (int k = 0; k < 3; k++) {
        objects[32 + k] = {objectPath(32 + k, sampleNames[k], "wav"), "SAMP"};
        writers[k](objects[32 + k].file.c_str());
    }
    putPicture(0, "game_background", makeGameBackground(m));
    putPicture(38, "scores_background", makeScoresBackground(m));
    putPicture(39, "help_screen", makeHelpScreen());
    putPicture(INFO_PICTURE_OBJECT, "info_picture", makeInfoPicture());
}

// Runs the dat tool with the given arguments; its chatter goes nowhere.
static void runDat(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stdout))
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status))
        fail("the dat tool failed");
}

// Packs the objects in index order, one dat run per stretch of one type.
// Each object is compressed by itself (-c1): the game can then make sure the
// file is complete by skipping over the stored chunks, without unpacking them
// twice, which keeps start-up quick.
static void pack(const std::string &output, const std::string &datTool)
{
    unlink(output.c_str());
    for (int i = 0; i < DATAFILE_OBJECTS;) {
        std::vector<std::string> args = {datTool, "-007", DATAFILE_PASSWORD, "-n0", "-bpp", "32",
                                          "-c1", "-s1", output, "-t", objects[i].type, "-a"};
        int j = i;
        for (; j < DATAFILE_OBJECTS && std::string(objects[j].type) == objects[i].type; j++)
            args.push_back(objects[j].file);
        runDat(args);
        i = j;
    }
}

// Reads the packed file through the game's own reader, which checks every
// object it binds, and unpacks them all.
static void verify(const std::string &output)
{
    DATAFILE *data = loadWholeDatafile(output.c_str(), DATAFILE_PASSWORD);
    if (!data)
        fail("the packed datafile does not pass the game's check");
    if (!is_mono_font((FONT *)data[30].dat) || !is_mono_font((FONT *)data[31].dat))
        fail("the fonts did not come out monochrome");
    unload_datafile(data);
}

int main(int argc, char **argv)
{
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    set_color_conversion(COLORCONV_NONE);
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        openFaces();
        mkdir(argv[2], 0755);
        writeIcons(argv[2]);
        return 0;
    }
    if (argc != 4)
        fail("usage: tumblegrid-assets WORKDIR OUTPUT.dat DATTOOL | --icons DIR");
    workDir = argv[1];
    mkdir(workDir.c_str(), 0755);
    openFaces();
    makeMenuPictures();         // the menu background comes first: buttons sit on it
    makeTilePictures();
    makeFontsSoundsScreens();
    for (int i = 0; i < DATAFILE_OBJECTS; i++)
        if (objects[i].file.empty())
            fail("an object of the catalogue was not made");
    pack(argv[2], argv[3]);
    verify(argv[2]);
    return 0;
}
