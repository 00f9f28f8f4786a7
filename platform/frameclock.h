// frameclock.h -- the wait for the next 60 Hz frame boundary, one
// implementation per system: a timer thread on the desktops, the browser's
// animation frames in a page.
#pragma once

// Blocks until the next frame boundary; a boundary already missed is not made up for.
void waitForFrameBoundary();
