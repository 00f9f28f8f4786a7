#!/usr/bin/env bash
# On a 3840x2160 desktop with a window manager: full screen is the EWMH
# full-screen state of a desktop-sized window with the canvas filling its
# height; clicks hit the scaled buttons; F11 gives a decorated window as
# large as the desktop allows and Alt+Enter full screen again; activating
# another window in play pauses.
source "$(dirname "$0")/harness.sh"
TG_SCREEN=3840x2160 TG_WM=openbox
tg_setup
tg_load_layout
TG_FIXED_TIME=2000 tg_start_game

# The state of the game's managed window, as the window manager sees it.
wm_state() { xprop -id "$(xdotool search --name '^TumbleGrid$' | head -1)" _NET_WM_STATE; }

tg_expect_eq "$(tg_canvas_place)" "2880x2160+480+0" "the canvas's size and place"
wm_state | grep -q _NET_WM_STATE_FULLSCREEN || tg_fail "the window is not in the full-screen state"
menu=$(tg_shot menu)
tg_click "$HARD_X" "$HARD_Y"
tg_sleep 0.3
hard=$(tg_shot hard)
[ "$(tg_region_diff "$menu" "$hard" "$ROW_LEFT" "$ROW_TOP" "$ROW_W" "$ROW_H")" -gt 100 ] \
    || tg_fail "a click on the scaled Hard button did not choose it"
"$TG_BUILD_DIR/tests/grabcheck" || tg_fail "the game holds a grab in full screen"

# The window manager may give back the size the window had before full
# screen, which the game then fits to the screen with the real frame: a
# little larger than the game's own choice, which allows for a larger frame.
tg_key F11
tg_wait_top_moved 3840x2160+0+0 "F11"
tg_expect_frame_on_screen 3840 2160
[ "$TG_WIN_H" -ge 2112 ] && [ "$TG_WIN_H" -eq $((TG_WIN_W * 768 / 1024)) ] \
    || tg_fail "the window is ${TG_WIN_W}x$TG_WIN_H, not the canvas's shape at 2816x2112 or more"
wm_state | grep -q _NET_WM_STATE_FULLSCREEN && tg_fail "the window kept the full-screen state"
xprop -id "$(xdotool search --name '^TumbleGrid$' | head -1)" _NET_FRAME_EXTENTS | grep -q '= 1, 1, [1-9]' \
    || tg_fail "the window has no title bar"
tg_region_alike "$hard" "$(tg_shot windowed)" 380 100 270 560 || tg_fail "the menu in the window"
tg_click "$BLITZ_X" "$BLITZ_Y"
tg_sleep 0.3
[ "$(tg_region_diff "$hard" "$(tg_shot blitz)" "$ROW_LEFT" "$ROW_TOP" "$ROW_W" "$ROW_H")" -gt 100 ] \
    || tg_fail "a click in the window did not choose Blitz"
"$TG_BUILD_DIR/tests/grabcheck" || tg_fail "the game holds a grab in the window"

xdotool keydown alt key Return keyup alt
tg_sleep 1.5
tg_wait_window || tg_fail "no window after Alt+Enter"
tg_expect_eq "$(tg_canvas_place)" "2880x2160+480+0" "the canvas back in full screen"
wm_state | grep -q _NET_WM_STATE_FULLSCREEN || tg_fail "Alt+Enter did not bring full screen back"

# Another window activated in play pauses the game.
BOTTOM="500 520 30 30"
tg_round_then_other_window windowactivate
start=$TG_ROUND_START
paused=$(tg_shot paused)
[ "$(tg_region_diff "$start" "$paused" $BOTTOM)" -eq 0 ] || tg_fail "activating another window did not pause"
kill "$TG_OTHER_PID"
kill "$TG_GAME_PID"
tg_wait_exit 5 || tg_fail "the game did not end on SIGTERM"
tg_expect_eq "$(xdpyinfo | awk '/dimensions:/ { print $2 }')" 3840x2160 "the desktop's size after the game"
tg_pass
