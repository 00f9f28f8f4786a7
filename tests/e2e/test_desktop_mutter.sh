#!/usr/bin/env bash
# Under GNOME's compositor, mutter, with two monitors (2560x1440, and
# 1920x1080 to its right) and the game on its Xwayland server: full screen
# covers exactly the monitor the game starts on (the pointer's), without a
# frame; F11 gives a framed window on that monitor and F11 full screen
# again; the window moved to the smaller monitor goes full screen there;
# another window activated in play pauses the round.
source "$(dirname "$0")/harness.sh"
TG_COMPOSITOR=mutter
tg_setup
TG_FIXED_TIME=2000 tg_start_game

# The game's top-level window's frame extents, and its state.
frame() { xprop -id "$(tg_top_window)" _NET_FRAME_EXTENTS | sed 's/.*= //'; }
wm_state() { xprop -id "$(tg_top_window)" _NET_WM_STATE; }

# The pointer sent to the screen's bottom right corner stops at the first
# monitor's (the second is not as tall).
tg_wait_top_place 2560x1440+0+0 "full screen"
wm_state | grep -q _NET_WM_STATE_FULLSCREEN || tg_fail "the window is not in the full-screen state"
case "$(frame)" in *"0, 0, 0, 0"*|*"not found"*) ;; *) tg_fail "a frame in full screen: $(frame)" ;; esac
tg_expect_eq "$(tg_canvas_place)" "1920x1440+320+0" "the canvas in full screen"
menu=$(tg_shot menu)

tg_key F11
tg_wait_top_moved 2560x1440+0+0 "F11"
wm_state | grep -q _NET_WM_STATE_FULLSCREEN && tg_fail "F11 kept the full-screen state"
place=$(tg_top_place)
[[ "$(frame)" == *", "[1-9]*", "* ]] || tg_fail "the window has no title bar: $(frame)"
[ "$TG_WIN_X" -ge 0 ] && [ $((TG_WIN_X + TG_WIN_W)) -le 2560 ] && [ "$TG_WIN_Y" -ge 30 ] &&
    [ $((TG_WIN_Y + TG_WIN_H)) -le 1440 ] || tg_fail "the window $place is not inside the first monitor"
tg_region_alike "$menu" "$(tg_shot windowed)" 380 100 270 560 || tg_fail "the menu in the window"

tg_key F11
tg_wait_top_place 2560x1440+0+0 "full screen again"

# In a window moved onto the second monitor, F11 goes full screen there.
tg_key F11
tg_wait_top_moved 2560x1440+0+0 "F11 again"
tg_expect_full_screen_on_second_monitor

# Another window activated in play pauses the game.
BOTTOM="500 520 30 30"
tg_round_then_other_window windowactivate
paused=$(tg_shot paused)
[ "$(tg_region_diff "$TG_ROUND_START" "$paused" $BOTTOM)" -eq 0 ] || tg_fail "activating another window did not pause"
kill "$TG_OTHER_PID"
tg_pass
