#!/usr/bin/env bash
# On an 800x600 desktop without a window manager the whole picture is on
# screen, shrunk to 800x600, in full screen and in the window, and a click
# on the shrunk High Scores button opens the table.
source "$(dirname "$0")/harness.sh"
TG_SCREEN=800x600
tg_setup
tg_load_layout
"$TG_BUILD_DIR/tools/tumblegrid-scores" draw "$TG_DIR/highscores.dat" "$TG_DIR/table.bmp" || tg_fail "draw failed"
tg_start_game

tg_expect_eq "$(tg_canvas_place)" "800x600+0+0" "the canvas in full screen"
tg_click "$SCORES_X" "$SCORES_Y"
tg_sleep 0.8
tg_expect_whole_picture full "$TG_DIR/table.bmp"

tg_key space F11
tg_sleep 1
tg_wait_window || tg_fail "no window after F11"
tg_key i
tg_sleep 0.8
tg_expect_whole_picture window "$TG_DIR/table.bmp"
tg_pass
