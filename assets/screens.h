// screens.h -- the play screen's background and the high-score screen's
// background, both drawn around the places the game prints its texts.
#pragma once
#include "assets/paint.h"

// Metrics of the game's fonts, which these pictures line up with.
struct FontMetrics {
    int hudHeight, hudAscent, smallHeight;
};

// The playing screen: HUD panel, well frame, "Next" box and gain column.
BITMAP *makeGameBackground(const FontMetrics &m);

// The high-score screen: title, rank numbers and the light list panel.
BITMAP *makeScoresBackground(const FontMetrics &m);
