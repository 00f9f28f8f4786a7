// catalogue.h -- the datafile's objects bound by index to named pictures,
// fonts and samples, and what each index must hold. The play screen, the
// menu and the high-score list all draw from it.
#pragma once
#include <allegro.h>

const char DATAFILE_NAME[] = "tumblegrid.dat";
const char DATAFILE_PASSWORD[] = "MFolkin4";
const int DATAFILE_OBJECTS = 166;      // 0..164 the catalogue, 165 the info picture
const int INFO_PICTURE_OBJECT = 165;
const int SCORES_BACKGROUND_OBJECT = 38;
const int HELP_SCREEN_OBJECT = 39;
const int DIGIT_SIZE = 30;             // digit sprites and clear frames are 30x30
const int WELL_PIXEL_W = 330;
const int WELL_PIXEL_H = 450;
const int SCREEN_W_PX = 1024;
const int SCREEN_H_PX = 768;
const int CLEAR_FRAMES = 14;

extern DATAFILE *gameDatafile;

extern BITMAP *gameBackground;
extern BITMAP *digitSprites[9];
extern BITMAP *startButtonPressed, *startButtonNormal;
extern BITMAP *easyButtonOn, *easyButtonOff, *mediumButtonOn, *mediumButtonOff;
extern BITMAP *hardButtonOn, *hardButtonOff, *blitzButtonOn, *blitzButtonOff;
extern BITMAP *scoresButtonPressed, *scoresButtonNormal;
extern BITMAP *quitButtonPressed, *quitButtonNormal;
extern BITMAP *helpButtonPressed, *helpButtonNormal;
extern BITMAP *menuBackground, *menuLogo, *menuAnimA, *menuAnimB;
extern BITMAP *scoresBackground, *helpScreen, *infoPicture;
extern BITMAP *wellBackground;
extern BITMAP *clearFrames[9][CLEAR_FRAMES];
extern FONT *hudFont;
extern SAMPLE *clearSound, *musicSample, *landSound;
extern int textColour;

// Datafile index of frame f (0..13) of the clear animation of digit code d (0..8).
int clearFrameObject(int digit, int frame);

// 1 when the catalogue binds object index (every index but one spare).
int objectIsBound(int index);

// 1 when object index may be of this type and, for a picture, this size.
int objectFits(int index, int type, int w, int h);

// Stores the data pointer of every catalogue object; object 30 becomes the library font.
void bindAssetCatalogue(DATAFILE *data);
