#!/usr/bin/env bash
# The Windows game chosen to run in a window (settings.cfg) on a desktop
# with a window manager: a decorated window titled "TumbleGrid" with the
# game's icon, as large as fits the desktop with its frame and all of it on
# the screen, showing the whole picture; the player resizes it (the window
# manager, asked by xdotool) and the picture refits the new size; closing
# the window (Alt+F4 asks the window manager) ends the program with status
# 1 like the quit key.
TG_WM=openbox
source "$(dirname "$0")/harness.sh"
tw_setup
printf '[tumblegrid]\r\nfullscreen = 0\r\n' >"$TW_GAME/settings.cfg"
"$TG_BUILD_DIR/tools/tumblegrid-scores" draw "$TW_GAME/highscores.dat" "$TG_DIR/table.bmp" || tg_fail "draw failed"
tw_start_game

id=$(tg_game_window)
# The window manager put a frame around it: its parent is not the root.
frame=$(xwininfo -children -id "$id" | awk '/Parent window id:/ { print $4 }')
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
[ "$frame" != "$root" ] || tg_fail "the window has no frame"
xprop -id "$id" WM_NAME | grep -q '"TumbleGrid"' || tg_fail "the window is not titled TumbleGrid"
xprop -id "$id" _NET_WM_ICON | grep -q 'Icon (' || tg_fail "the window has no icon"
# Frame and all on the 1280x1024 screen, and nearly as wide as it.
read -r x y w h < <(xwininfo -id "$frame" | awk '/Absolute upper-left X:/ { x = $4 }
    /Absolute upper-left Y:/ { y = $4 } /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }')
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 1024 ] \
    || tg_fail "the window's frame at ${w}x$h+$x+$y is not all on the screen"
[ "$TG_WIN_W" -ge 1200 ] || tg_fail "the window is only $TG_WIN_W wide"
tg_key i
tg_sleep 0.8
tg_expect_whole_picture largest "$TG_DIR/table.bmp"

xdotool windowsize "$id" 700 500
tg_wait_top_place '700x500+*' "the resized window"
tg_sleep 0.5
tg_expect_eq "$(tg_canvas_place | cut -d+ -f1)" "666x499" "the canvas's size in the resized window"
tg_expect_whole_picture resized "$TG_DIR/table.bmp"

xdotool key alt+F4
tw_expect_exit 1
tg_pass
