#!/usr/bin/env bash
# The menu appears; a difficulty click redraws the difficulty row; S starts a
# game; Q in play returns to the menu; Q in the menu ends the program with 1.
source "$(dirname "$0")/harness.sh"
tg_setup
tg_load_layout
tg_start_game

menu=$(tg_shot menu)
tg_is_blank "$menu" && tg_fail "the menu is blank"
[ "$(tg_region_colours "$menu" 380 100 270 560)" -gt 20 ] || tg_fail "the menu column looks empty"

tg_click "$BLITZ_X" "$BLITZ_Y"
tg_sleep 0.3
blitz=$(tg_shot blitz)
[ "$(tg_region_diff "$menu" "$blitz" "$ROW_LEFT" "$ROW_TOP" "$ROW_W" "$ROW_H")" -gt 100 ] \
    || tg_fail "the difficulty row did not change after a click on Blitz"

tg_key s
tg_sleep 0.8
play=$(tg_shot play)
[ "$(tg_region_diff "$menu" "$play" 0 0 1024 768)" -gt 200000 ] || tg_fail "S did not show the play screen"

tg_key q
tg_sleep 0.5
back=$(tg_shot back)
# The menu column (logo and buttons) is back; Blitz is still the chosen difficulty.
[ "$(tg_region_diff "$blitz" "$back" 380 100 270 560)" -lt 500 ] || tg_fail "Q in play did not return to the menu"

tg_key q
tg_wait_exit 5 || tg_fail "Q in the menu did not end the program"
tg_expect_eq "$TG_EXIT" 1 "exit status after Q"
tg_pass
