#!/usr/bin/env bash
# The Windows game on two monitors (GNOME's mutter, 2560x1440 and 1920x1080
# to its right, with the game on its X server): it starts full screen on
# the monitor under the pointer, covering exactly that monitor; F11 gives a
# window inside it; the window moved onto the second monitor goes full
# screen there, the canvas fitted to that monitor. Wine's DirectDraw draws
# only on the primary monitor, so the picture on the second one is not
# looked at here.
source "$(dirname "$0")/harness.sh"
TG_COMPOSITOR=mutter
tw_setup
tw_start_game

tg_wait_top_place 2560x1440+0+0 "full screen"
tg_expect_eq "$(tg_canvas_place)" "1920x1440+320+0" "the canvas in full screen"

tg_key F11
tg_wait_top_moved 2560x1440+0+0 "F11"
[ "$TG_WIN_X" -ge 0 ] && [ $((TG_WIN_X + TG_WIN_W)) -le 2560 ] && [ "$TG_WIN_Y" -ge 0 ] &&
    [ $((TG_WIN_Y + TG_WIN_H)) -le 1440 ] && [ "$TG_WIN_W" -lt 2560 ] ||
    tg_fail "the window $(tg_top_place) is not inside the first monitor"

tg_expect_full_screen_on_second_monitor
tg_key q
tw_expect_exit 1
tg_pass
