// pacing.h -- the 60 Hz frame clock that stands in for the display retrace,
// and the waits built on it. Every wait presents the canvas at each frame.
#pragma once

const int FRAME_RATE = 60;

// Starts the frame clock; call once after install_timer.
void startFramePacing();

// Presents the finished frame and waits for the next 60 Hz frame boundary.
void waitFrame();

// Keeps presenting frames for about the given number of milliseconds.
void holdFrames(int milliseconds);

// Presents frames until a key is pressed and returns it as readkey does.
int waitForKey();
