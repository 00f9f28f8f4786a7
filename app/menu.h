// menu.h -- painting of the main menu, its animation and the high-score screen.
#pragma once

// Paints the menu background, the logo and the four large buttons.
void drawMenu();

// Paints the row of difficulty buttons with the chosen one selected.
void drawDifficultyButtons();

// Draws the two falling sprites one pixel lower.
void animateMenu();

// Paints the high-score background and the fifteen entries.
void showHighScores();
