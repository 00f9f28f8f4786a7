// assetload.cpp -- brings the datafile in as the game needs it. The first
// menu frame only waits for the whole file to be read and checked and for
// the menu's own pictures and the fonts to be unpacked; the main loop then
// unpacks the rest a few milliseconds a frame, and anything that leaves the
// menu finishes the job first. The help, high-score and about pictures stay
// packed (a third of a megabyte each instead of three) and are unpacked
// straight onto the canvas whenever they are shown. The check before the
// menu proves that every object unpacks, so none of this can fail later
// but for want of memory.
#include "app/assetload.h"
#include "game/catalogue.h"
#include "game/datafile.h"
#include "platform/damage.h"
#include "platform/dialog.h"
#include "platform/present.h"
#include "platform/shutdown.h"
#include <chrono>

int assetsComplete = 0;

static const int SLICE_MS = 4;

// The catalogue's view of the datafile; unpacked objects fill it in.
static DATAFILE objects[DATAFILE_OBJECTS + 1];
static int nextObject = 0;

// What the first menu frame shows: its background, buttons, logo and the two falling sprites, and the fonts.
static const int MENU_OBJECTS[] = {24, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,
                                   40, 41, 35, 36, 37, 30, 31};

// 1 for the objects that are never kept unpacked: the seldom-shown pictures and the unbound one.
static int keptPacked(int index)
{
    return index == SCORES_BACKGROUND_OBJECT || index == HELP_SCREEN_OBJECT || index == INFO_PICTURE_OBJECT ||
           !objectIsBound(index);
}

// Binds what is unpacked so far; the backgrounds are named as unchanging,
// so that redrawing them over themselves each frame costs the presenter nothing.
static void bindUnpacked()
{
    bindAssetCatalogue(objects);
    markUnchangingPicture(menuBackground);
    markUnchangingPicture(gameBackground);
    markUnchangingPicture(wellBackground);
}

// Unpacks one object into the catalogue's view; 0 when it does not unpack.
static int unpackIntoCatalogue(int index)
{
    if (objects[index].dat)
        return 1;
    objects[index].dat = unpackObject(index);
    if (!objects[index].dat)
        return 0;
    dropPackedObject(index);
    return 1;
}

int loadMenuAssets()
{
    assetsComplete = 0;
    nextObject = 0;
    if (!readPackedDatafile(DATAFILE_NAME, DATAFILE_PASSWORD))
        return 0;
    for (int i = 0; i < DATAFILE_OBJECTS; i++)
        objects[i] = {nullptr, packedObjectType(i), 0, nullptr};
    objects[DATAFILE_OBJECTS] = {nullptr, DAT_END, 0, nullptr};
    for (int index : MENU_OBJECTS)
        if (!unpackIntoCatalogue(index))
            return 0;
    gameDatafile = objects;
    bindUnpacked();
    return 1;
}

// Unpacks the next object still packed; 0 when it fails. Binds everything after the last one.
static int unpackNext()
{
    while (nextObject < DATAFILE_OBJECTS && (keptPacked(nextObject) || objects[nextObject].dat))
        nextObject++;
    if (nextObject == DATAFILE_OBJECTS) {
        bindUnpacked();
        assetsComplete = 1;
        return 1;
    }
    return unpackIntoCatalogue(nextObject);
}

// The datafile's one message box, then the end. Past the check only a want
// of memory can bring it here.
[[noreturn]] static void refuseDatafile()
{
    showMessageBox("Couldn't load datafile!");
    exitNow();
}

void loadMoreAssets()
{
    auto start = std::chrono::steady_clock::now();
    while (!assetsComplete && std::chrono::steady_clock::now() - start < std::chrono::milliseconds(SLICE_MS))
        if (!unpackNext())
            refuseDatafile();
}

int unpackRemainingAssets()
{
    while (!assetsComplete)
        if (!unpackNext())
            return 0;
    return 1;
}

void finishAssets()
{
    if (!unpackRemainingAssets())
        refuseDatafile();
}

void drawScreenPicture(BITMAP *loaded, int index)
{
    if (loaded) {
        blit(loaded, canvas, 0, 0, 0, 0, loaded->w, loaded->h);
        return;
    }
    if (!unpackPictureInto(index, canvas))
        refuseDatafile();
    // The pixels went straight into the canvas's rows, past its drawing methods.
    damageWholeCanvas();
}
