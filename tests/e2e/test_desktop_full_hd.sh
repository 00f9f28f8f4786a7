#!/usr/bin/env bash
# On a 1920x1080 desktop without a window manager: full screen is a window
# over the whole desktop with the canvas filling its height in the middle;
# clicks hit the buttons there; F11 makes a window of the canvas's size and
# Alt+Enter goes back, the picture kept; the game holds no grab; focus given
# to another window in play, or to PointerRoot, pauses it; the choices
# survive a restart and a damaged settings.cfg give the defaults.
source "$(dirname "$0")/harness.sh"
TG_SCREEN=1920x1080
tg_setup
tg_load_layout
TG_FIXED_TIME=2000 tg_start_game

tg_expect_eq "$(tg_canvas_place)" "1440x1080+240+0" "the canvas's size and place"
whole=$(tg_screen_shot desktop)
tg_expect_eq "$(tg_pixel "$whole" 20 20)" "12,14,24" "the backdrop around the canvas"
menu=$(tg_shot menu)
"$TG_BUILD_DIR/tests/grabcheck" || tg_fail "the game holds a grab"

tg_click "$BLITZ_X" "$BLITZ_Y"
tg_sleep 0.3
blitz=$(tg_shot blitz)
[ "$(tg_region_diff "$menu" "$blitz" "$ROW_LEFT" "$ROW_TOP" "$ROW_W" "$ROW_H")" -gt 100 ] \
    || tg_fail "a click on the scaled Blitz button did not choose it"

# F11 and Alt+Enter switch; the menu column comes back as it was.
tg_key F11
tg_sleep 1
tg_wait_window || tg_fail "no window after F11"
tg_expect_eq "$TG_WIN_W $TG_WIN_H $(tg_canvas_place)" "1440 1080 1440x1080+240+0" "the window and its canvas"
windowed=$(tg_shot windowed)
tg_expect_eq "$(tg_region_diff "$blitz" "$windowed" 380 100 270 560)" 0 "the menu in the window"
xdotool keydown alt key Return keyup alt
tg_sleep 1
tg_wait_window || tg_fail "no window after Alt+Enter"
tg_expect_eq "$(tg_canvas_place)" "1440x1080+240+0" "the canvas back in full screen"
tg_expect_eq "$(tg_region_diff "$blitz" "$(tg_shot full-again)" 380 100 270 560)" 0 "the menu back in full screen"

# Another window takes the focus in play: the game pauses as P pauses it.
BOTTOM="500 520 30 30"
tg_round_then_other_window windowfocus
start=$TG_ROUND_START
paused=$(tg_shot paused)
[ "$(tg_region_diff "$start" "$paused" $BOTTOM)" -eq 0 ] || tg_fail "losing the focus did not hide the well"
tg_sleep 0.5
tg_expect_eq "$(tg_region_diff "$paused" "$(tg_shot still-paused)" 0 0 1024 768)" 0 "the game moved without the focus"
kill "$TG_OTHER_PID"
xdotool windowfocus "$(tg_game_window)"
tg_key x
tg_sleep 0.3
[ "$(tg_region_diff "$start" "$(tg_shot resumed)" $BOTTOM)" -gt 50 ] || tg_fail "a key did not end the pause"
# The focus at PointerRoot, where Xwayland puts it when a Wayland window
# takes the keyboard, pauses as well, though the pointer is over the game.
xdotool windowfocus 1
tg_sleep 0.8
[ "$(tg_region_diff "$start" "$(tg_shot pointer-root)" $BOTTOM)" -eq 0 ] || tg_fail "the focus at PointerRoot did not pause"
xdotool windowfocus "$(tg_game_window)"
tg_key x
tg_key q q
tg_wait_exit 5 || tg_fail "Q, Q did not end the program"
grep -q 'difficulty = 4' "$TG_DIR/settings.cfg" || tg_fail "settings.cfg did not keep Blitz"

# The next run starts on Blitz; a damaged file gives Easy again.
TG_FIXED_TIME=2000 tg_start_game
tg_expect_eq "$(tg_region_diff "$blitz" "$(tg_shot restarted)" "$ROW_LEFT" "$ROW_TOP" "$ROW_W" "$ROW_H")" 0 \
    "the difficulty after a restart"
tg_key q
tg_wait_exit 5 || tg_fail "Q did not end the program"
# These bytes (a code point above 2^30 in UTF-8) once hung the start for ever.
printf '[tumblegrid]\ndifficulty = 4\n# \xfd\x8d\x96\x9b\xa2\xa3\n' >"$TG_DIR/settings.cfg"
started=$(date +%s%N)
TG_FIXED_TIME=2000 tg_start_game
[ $(( ($(date +%s%N) - started) / 1000000 )) -lt 1000 ] || tg_fail "the start took a second with a damaged settings.cfg"
tg_expect_eq "$(tg_region_diff "$menu" "$(tg_shot damaged)" "$ROW_LEFT" "$ROW_TOP" "$ROW_W" "$ROW_H")" 0 \
    "the difficulty after a damaged settings.cfg"
tg_pass
