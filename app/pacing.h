// pacing.h -- the 60 Hz frame clock that stands in for the display retrace.
#pragma once

const int FRAME_RATE = 60;

// Starts the frame clock; call once after install_timer.
void startFramePacing();

// Waits for the next 60 Hz frame boundary and pushes the finished frame to the display.
void waitFrame();
