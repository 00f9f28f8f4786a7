#!/usr/bin/env bash
# On a 2560x1440 desktop the picture fills the height, 1920x1440 in the
# middle, and a quick click (press and release at once, as xdotool's click
# and a touchpad's tap give) on the High Scores button opens the table.
# With scaling = sharp the picture is shown at 1x, pixel for pixel.
source "$(dirname "$0")/harness.sh"
TG_SCREEN=2560x1440
tg_setup
tg_load_layout
"$TG_BUILD_DIR/tools/tumblegrid-scores" draw "$TG_DIR/highscores.dat" "$TG_DIR/table.bmp" || tg_fail "draw failed"
tg_start_game

tg_expect_eq "$(tg_canvas_place)" "1920x1440+320+0" "the canvas in full screen"
tg_point "$SCORES_X" "$SCORES_Y"
tg_sleep 0.2
xdotool click 1
tg_sleep 0.8
tg_expect_whole_picture scores "$TG_DIR/table.bmp"
tg_key q         # back to the menu, where the key quits
tg_wait_exit 5 || tg_fail "Q did not end the program"

printf '[tumblegrid]\nscaling = sharp\n' >"$TG_DIR/settings.cfg"
TG_SHARP=1
tg_start_game
tg_expect_eq "$(tg_canvas_place)" "1024x768+768+336" "the canvas in full screen, sharp"
tg_key i
tg_sleep 0.8
tg_expect_eq "$(tg_region_diff "$(tg_shot sharp)" "$TG_DIR/table.bmp" 0 0 1024 768)" 0 "pixels differing from the table"
tg_pass
