#!/usr/bin/env bash
# Under the reference Wayland compositor, weston, with the game on its
# Xwayland server: F11 from full screen gives a window of the size the game
# asks for, with the canvas filling it, and F11 full screen again; a Wayland
# window that takes the keyboard in play pauses the round.
source "$(dirname "$0")/harness.sh"
TG_COMPOSITOR=weston
tg_setup
TG_FIXED_TIME=2000 tg_start_game

tg_wait_top_place "1920x1080+*" "full screen"
tg_expect_eq "$(tg_canvas_place)" "1440x1080+240+0" "the canvas in full screen"
menu=$(tg_shot menu)
# The window takes the largest size of the canvas's shape that fits the
# screen less room for a frame (1376x1032), then shrinks to what is left
# below the panel.
tg_key F11
tg_sleep 1.5
tg_find_canvas
[ "$TG_WIN_W" -lt 1920 ] && [ "$TG_WIN_W" -ge 1200 ] || tg_fail "the window is $TG_WIN_W wide"
[ "$TG_WIN_Y" -ge 32 ] && [ $((TG_WIN_Y + TG_WIN_H)) -le 1080 ] || tg_fail "the window reaches off the screen: ${TG_WIN_H} high at $TG_WIN_Y"
tg_expect_eq "$TG_CANVAS_W $TG_CANVAS_H" "$TG_WIN_W $TG_WIN_H" "the canvas filling the window"
tg_region_alike "$menu" "$(tg_shot windowed)" 380 100 270 560 || tg_fail "the menu in the window"
tg_key F11
tg_wait_top_place "1920x1080+*" "full screen again"
tg_pass
