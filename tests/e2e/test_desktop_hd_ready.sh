#!/usr/bin/env bash
# On a 1280x720 desktop with a window manager the whole picture is on
# screen: full screen shows the canvas at 960x720 in the middle, a click on
# its scaled High Scores button opens the table, every edge of which is
# visible; F11 gives a window that fits the screen with its frame, the
# whole picture in it; the window resized by the player shows the whole
# picture at the new size.
source "$(dirname "$0")/harness.sh"
TG_SCREEN=1280x720 TG_WM=openbox
tg_setup
tg_load_layout
"$TG_BUILD_DIR/tools/tumblegrid-scores" draw "$TG_DIR/highscores.dat" "$TG_DIR/table.bmp" || tg_fail "draw failed"
tg_start_game

tg_expect_eq "$(tg_canvas_place)" "960x720+160+0" "the canvas in full screen"
tg_click "$SCORES_X" "$SCORES_Y"
tg_sleep 0.8
tg_expect_whole_picture full "$TG_DIR/table.bmp"

# The window: all of it, frame included, on the screen.
tg_key F11
tg_wait_top_moved 1280x720+0+0 "F11"
tg_expect_frame_on_screen 1280 720
[ "$TG_CANVAS_H" -ge 600 ] || tg_fail "the window is small: $(tg_canvas_place)"
tg_expect_whole_picture window "$TG_DIR/table.bmp"

# The player makes the window smaller and wider: the picture refits.
xdotool windowsize "$(tg_top_window)" 900 500
tg_sleep 1
tg_find_canvas
tg_expect_eq "$TG_WIN_W $TG_WIN_H" "900 500" "the window's size after the resize"
tg_expect_eq "$TG_CANVAS_W $TG_CANVAS_H" "666 499" "the canvas's size in the resized window"
tg_expect_whole_picture resized "$TG_DIR/table.bmp"
tg_pass
