#!/usr/bin/env bash
# A round on Blitz: the first digit falls straight down and lands at the
# bottom of column 5; A steers the next one into column 4, D the one after
# into column 6; the columns beside them stay empty.
source "$(dirname "$0")/harness.sh"
tg_setup
tg_load_layout
TG_FIXED_TIME=1000 tg_start_game

# Screen rectangle of well cell (row, column), as "x y 30 30".
cell() { echo "$((350 + 30 * $2)) $((100 + 30 * $1)) 30 30"; }

# Waits until a cell no longer shows what it showed at the start, then lets the digit settle.
wait_landed()
{
    tg_wait_region_change "$start" $(cell "$1" "$2") 8 || tg_fail "nothing landed in row $1, column $2"
    tg_sleep 0.6
}

tg_click "$BLITZ_X" "$BLITZ_Y"
tg_sleep 0.3
tg_key s
tg_sleep 0.4
start=$(tg_shot start)

wait_landed 14 5
tg_key a
wait_landed 14 4
tg_key d
wait_landed 14 6

shot=$(tg_shot three-landed)
for column in 4 5 6; do
    [ "$(tg_region_diff "$start" "$shot" $(cell 14 $column))" -gt 50 ] \
        || tg_fail "no digit at the bottom of column $column"
    [ "$(tg_region_diff "$start" "$shot" $(cell 13 $column))" -eq 0 ] \
        || tg_fail "something above the digit in column $column"
done
for column in 3 7; do
    [ "$(tg_region_diff "$start" "$shot" $(cell 14 $column))" -eq 0 ] \
        || tg_fail "column $column was touched"
done
tg_game_running || tg_fail "the game ended"
tg_pass
