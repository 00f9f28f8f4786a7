// catalogue.cpp -- binds the datafile's objects to the named pictures, fonts
// and samples, and says what each index must hold for the reader's check.
#include "game/catalogue.h"

DATAFILE *gameDatafile = nullptr;

BITMAP *gameBackground = nullptr;
BITMAP *digitSprites[9];
BITMAP *startButtonPressed = nullptr, *startButtonNormal = nullptr;
BITMAP *easyButtonOn = nullptr, *easyButtonOff = nullptr;
BITMAP *mediumButtonOn = nullptr, *mediumButtonOff = nullptr;
BITMAP *hardButtonOn = nullptr, *hardButtonOff = nullptr;
BITMAP *blitzButtonOn = nullptr, *blitzButtonOff = nullptr;
BITMAP *scoresButtonPressed = nullptr, *scoresButtonNormal = nullptr;
BITMAP *quitButtonPressed = nullptr, *quitButtonNormal = nullptr;
BITMAP *helpButtonPressed = nullptr, *helpButtonNormal = nullptr;
BITMAP *menuBackground = nullptr, *menuLogo = nullptr;
BITMAP *menuAnimA = nullptr, *menuAnimB = nullptr;
BITMAP *scoresBackground = nullptr, *helpScreen = nullptr, *infoPicture = nullptr;
BITMAP *wellBackground = nullptr;
BITMAP *clearFrames[9][CLEAR_FRAMES];
FONT *hudFont = nullptr;
SAMPLE *clearSound = nullptr, *musicSample = nullptr, *landSound = nullptr;
int textColour = 0;

// The first objects of each digit's clear animation; most digits then run on
// in order, but digits 1, 5, 6 and 8 start elsewhere.
int clearFrameObject(int digit, int frame)
{
    static const int firstObject[9] = {25, 53, 67, 81, 95, 108, 123, 137, 151};
    switch (digit) {
    case 0: return frame < 4 ? 25 + frame : 43 + frame - 4;
    case 4: return frame == 0 ? 121 : 95 + frame - 1;
    case 5: return frame == 0 ? 122 : 108 + frame - 1;
    case 7: return frame == 0 ? 150 : 137 + frame - 1;
    default: return firstObject[digit] + frame;
    }
}

// What a catalogue index must hold: its type and, for fixed-size pictures, its size.
struct ObjectNeed {
    int type;
    int w, h;       // 0 = any size
};

static ObjectNeed objectNeed(int index)
{
    if (index >= 1 && index <= 9)
        return {DAT_BITMAP, DIGIT_SIZE, DIGIT_SIZE};
    if ((index >= 25 && index <= 28) || (index >= 43 && index <= 164))
        return {DAT_BITMAP, DIGIT_SIZE, DIGIT_SIZE};
    switch (index) {
    case 0: case 24: case 38: case 39: case INFO_PICTURE_OBJECT:
        return {DAT_BITMAP, SCREEN_W_PX, SCREEN_H_PX};
    case 29: return {DAT_BITMAP, WELL_PIXEL_W, WELL_PIXEL_H};
    case 30: case 31: return {DAT_FONT, 0, 0};
    case 32: case 33: case 34: return {DAT_SAMPLE, 0, 0};
    case 42: return {0, 0, 0};   // not bound: anything goes
    default: return {DAT_BITMAP, 0, 0};
    }
}

int objectIsBound(int index)
{
    return objectNeed(index).type != 0;
}

int objectFits(int index, int type, int w, int h)
{
    ObjectNeed need = objectNeed(index);
    if (need.type == 0)
        return 1;
    if (type != need.type)
        return 0;
    if (type != DAT_BITMAP)
        return 1;
    return w >= 1 && h >= 1 && (!need.w || (w == need.w && h == need.h));
}

void bindAssetCatalogue(DATAFILE *data)
{
    auto bmp = [data](int i) { return static_cast<BITMAP *>(data[i].dat); };
    gameBackground = bmp(0);
    for (int d = 0; d < 9; d++)
        digitSprites[d] = bmp(d + 1);
    startButtonPressed = bmp(10);
    startButtonNormal = bmp(11);
    easyButtonOn = bmp(12);
    easyButtonOff = bmp(13);
    mediumButtonOn = bmp(14);
    mediumButtonOff = bmp(15);
    hardButtonOn = bmp(16);
    hardButtonOff = bmp(17);
    blitzButtonOn = bmp(18);
    blitzButtonOff = bmp(19);
    scoresButtonPressed = bmp(20);
    scoresButtonNormal = bmp(21);
    quitButtonPressed = bmp(22);
    quitButtonNormal = bmp(23);
    menuBackground = bmp(24);
    wellBackground = bmp(29);
    font = static_cast<FONT *>(data[30].dat);
    hudFont = static_cast<FONT *>(data[31].dat);
    clearSound = static_cast<SAMPLE *>(data[32].dat);
    musicSample = static_cast<SAMPLE *>(data[33].dat);
    landSound = static_cast<SAMPLE *>(data[34].dat);
    menuLogo = bmp(35);
    menuAnimA = bmp(36);
    menuAnimB = bmp(37);
    scoresBackground = bmp(38);
    helpScreen = bmp(39);
    helpButtonPressed = bmp(40);
    helpButtonNormal = bmp(41);
    infoPicture = bmp(INFO_PICTURE_OBJECT);
    for (int d = 0; d < 9; d++)
        for (int f = 0; f < CLEAR_FRAMES; f++)
            clearFrames[d][f] = bmp(clearFrameObject(d, f));
}
