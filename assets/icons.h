// icons.h -- the program's icons: the logo tile as PNG files.
#pragma once

// Writes tumblegrid-<N>.png for N = 16, 32, 48, 64, 128 and 256 into dir.
void writeIcons(const char *dir);
