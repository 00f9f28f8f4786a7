// pointer.h -- the mouse as the game reads it. Presses of the left button
// are latched the moment the library reports them (its mouse_callback), so
// a press and its release that both come between two frames, as a quick
// click or a touchpad's tap does, still count once as a click, at the place
// of the press. The menu, the waiting screens and the dialog toolkit all
// read the button through here. Positions are in canvas pixels.
#pragma once

// Starts latching presses and gives the dialog toolkit the same view of the
// mouse; call once, from the game's thread, after install_mouse.
void installPointer();

// Called at each frame boundary: a press made during the frame just gone
// becomes this frame's; one that nobody looked at in its frame is forgotten.
void pointerFrame();

// 1 while the left button is down, and at the first look in a frame whose
// press was let go again before that look.
int leftButtonDown();

// The pointer's position in canvas pixels (outside the canvas over the
// border); while the click of a press already let go is handled, the place
// of that press.
int canvasMouseX();
int canvasMouseY();
