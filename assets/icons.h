// icons.h -- the program's icons: the logo tile as PNG files and as a header.
#pragma once

// Writes tumblegrid-<N>.png for N = 16, 32, 48, 64, 128 and 256 into dir,
// and tumblegrid_icon.h, the window icon the game compiles in.
void writeIcons(const char *dir);
