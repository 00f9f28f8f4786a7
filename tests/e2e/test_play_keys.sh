#!/usr/bin/env bash
# The in-game keys: P hides the well and a key brings the game back with the
# score line drawn at once; F1 shows the help and a key returns; M and E
# toggle the music and the sound effects without disturbing play.
source "$(dirname "$0")/harness.sh"
tg_setup
tg_load_layout
TG_FIXED_TIME=2000 tg_start_game

BOTTOM="500 520 30 30"          # well cell (14, 5)
SCORE="48 100 200 24"           # the score line

tg_click "$BLITZ_X" "$BLITZ_Y"
tg_sleep 0.3
tg_key s
tg_sleep 0.4
start=$(tg_shot start)
tg_wait_region_change "$start" $BOTTOM 8 || tg_fail "the first digit did not land"
tg_sleep 0.6
playing=$(tg_shot playing)
[ "$(tg_region_colours "$playing" $SCORE)" -gt 1 ] || tg_fail "no score line"

tg_key p
tg_sleep 0.5
paused=$(tg_shot paused)
[ "$(tg_region_diff "$start" "$paused" $BOTTOM)" -eq 0 ] || tg_fail "P left the landed digit on the screen"
[ "$(tg_region_diff "$playing" "$paused" $SCORE)" -gt 0 ] || tg_fail "P left the score line on the screen"
tg_sleep 0.5
[ "$(tg_region_diff "$paused" "$(tg_shot still-paused)" 0 0 1024 768)" -eq 0 ] || tg_fail "the game moved while paused"

tg_key x
tg_sleep 0.1
resumed=$(tg_shot resumed)
[ "$(tg_region_diff "$playing" "$resumed" $SCORE)" -eq 0 ] || tg_fail "the score line was not drawn again at once"
[ "$(tg_region_diff "$start" "$resumed" $BOTTOM)" -gt 50 ] || tg_fail "the landed digit did not come back"

tg_key F1
tg_sleep 0.5
help=$(tg_shot help)
[ "$(tg_region_diff "$playing" "$help" 0 0 1024 768)" -gt 100000 ] || tg_fail "F1 did not show the help"
tg_key x
tg_sleep 0.3
back=$(tg_shot back-from-help)
[ "$(tg_region_diff "$playing" "$back" $SCORE)" -eq 0 ] || tg_fail "no score line after the help"
[ "$(tg_region_diff "$start" "$back" $BOTTOM)" -gt 50 ] || tg_fail "the well did not come back after the help"

tg_key m
tg_sleep 0.2
tg_key e
tg_sleep 0.2
tg_key m
tg_sleep 0.2
tg_key e
a=$(tg_shot after-toggles)
tg_sleep 0.5
b=$(tg_shot later)
[ "$(tg_region_diff "$a" "$b" 350 100 330 450)" -gt 0 ] || tg_fail "the digit stopped falling after M and E"
tg_game_running || tg_fail "the game ended"
tg_pass
