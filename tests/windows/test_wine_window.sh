#!/usr/bin/env bash
# The Windows game chosen to run in a window (settings.cfg) on a desktop
# with a window manager: a decorated window titled "TumbleGrid" with the
# game's icon, the menu in it at scale 1; closing the window (Alt+F4 asks
# the window manager) ends the program with status 1 like the quit key.
TG_WM=openbox
source "$(dirname "$0")/harness.sh"
tw_setup
printf '[tumblegrid]\r\nfullscreen = 0\r\n' >"$TW_GAME/settings.cfg"
tw_start_game

id=$(tg_game_window)
xwininfo -id "$id" | grep -q 'geometry 1024x768+' || tg_fail "the window is not 1024x768"
# The window manager put a frame around it: its parent is not the root.
parent=$(xwininfo -children -id "$id" | awk '/Parent window id:/ { print $4 }')
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
[ "$parent" != "$root" ] || tg_fail "the window has no frame"
xprop -id "$id" WM_NAME | grep -q '"TumbleGrid"' || tg_fail "the window is not titled TumbleGrid"
xprop -id "$id" _NET_WM_ICON | grep -q 'Icon (' || tg_fail "the window has no icon"
menu=$(tg_shot menu)
[ "$(tg_region_colours "$menu" 380 100 270 560)" -gt 20 ] || tg_fail "the menu column looks empty"

xdotool key alt+F4
tw_expect_exit 1
tg_pass
