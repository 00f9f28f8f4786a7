#!/usr/bin/env bash
# Soft-dropping every digit into column 5 fills it to the top: the round ends
# with the "Game Over :-(" box, and after OK the menu is back and the game
# keeps running.
source "$(dirname "$0")/harness.sh"
tg_setup
tg_load_layout
TG_FIXED_TIME=3000 tg_start_game

tg_click "$BLITZ_X" "$BLITZ_Y"
tg_sleep 0.3
menu=$(tg_shot menu)
tg_key s
tg_sleep 0.4
start=$(tg_shot start)

# Drops digits until the screen stands still: only the modal box does that.
previous=$start
over=""
for i in $(seq 120); do
    tg_key s
    tg_sleep 0.25
    shot=$(tg_shot "drop-$i")
    if [ "$(tg_region_diff "$previous" "$shot" 0 0 1024 768)" -eq 0 ]; then
        over=$shot
        break
    fi
    previous=$shot
done
[ -n "$over" ] || tg_fail "the round did not end"
cp "$over" "$TG_SHOTS/game-over.png"
# The top of column 5 is taken and the box covers the middle of the play screen.
[ "$(tg_region_diff "$start" "$over" 500 100 30 30)" -gt 50 ] || tg_fail "column 5 is not full"
[ "$(tg_region_diff "$start" "$over" 362 300 300 168)" -gt 5000 ] || tg_fail "no message box"
tg_game_running || tg_fail "the game ended with the round"

tg_key Return
tg_sleep 0.6
back=$(tg_shot menu-again)
[ "$(tg_region_diff "$menu" "$back" 380 100 270 560)" -lt 500 ] || tg_fail "OK did not lead to the menu"
tg_sleep 0.5
tg_game_running || tg_fail "the game ended after the round"
tg_key q
tg_wait_exit 5 || tg_fail "Q in the menu did not end the program"
tg_expect_eq "$TG_EXIT" 1 "exit status after Q"
tg_pass
