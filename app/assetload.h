// assetload.h -- the datafile brought in as the game needs it: checked
// whole and the first menu's objects unpacked before anything is shown, the
// rest unpacked a little each frame while the menu runs, and the three
// pictures that are seldom shown (help, high-score background, about)
// unpacked straight onto the canvas each time they are shown.
#pragma once
#include <allegro.h>

// 1 once every object the game keeps is unpacked.
extern int assetsComplete;

// Reads and checks the datafile and unpacks what the menu shows; 0 when it is refused.
int loadMenuAssets();

// Unpacks more of the rest, for a few milliseconds; call once a frame.
void loadMoreAssets();

// Unpacks everything still packed; 0 when an object does not unpack.
int unpackRemainingAssets();

// Unpacks everything still packed; a failure is the datafile's one message box and the end.
void finishAssets();

// Paints a full-screen picture on the canvas: the one given when it is loaded, else object index unpacked.
void drawScreenPicture(BITMAP *loaded, int index);
