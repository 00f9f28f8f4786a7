#!/usr/bin/env bash
# The high-score, about and help screens open from the menu and lead back.
source "$(dirname "$0")/harness.sh"
tg_setup
tg_load_layout
tg_start_game
menu=$(tg_shot menu)

# Tells whether the menu column is on the screen again.
menu_is_back() { [ "$(tg_region_diff "$menu" "$(tg_shot "$1")" 380 100 270 560)" -lt 500 ]; }

tg_key i
tg_sleep 0.6
scores=$(tg_shot scores)
[ "$(tg_region_diff "$menu" "$scores" 300 200 420 400)" -gt 5000 ] || tg_fail "I did not show the high scores"
tg_key space
tg_sleep 0.4
menu_is_back after-scores-key || tg_fail "a key did not lead back from the high scores"

tg_key o
tg_sleep 0.6
about=$(tg_shot about)
[ "$(tg_region_diff "$menu" "$about" 0 0 1024 768)" -gt 100000 ] || tg_fail "O did not show the about screen"
tg_click 100 700
tg_sleep 0.4
menu_is_back after-about-click || tg_fail "a click did not lead back from the about screen"

tg_click "$HELP_X" "$HELP_Y"
tg_sleep 0.6
help=$(tg_shot help)
[ "$(tg_region_diff "$menu" "$help" 0 0 1024 768)" -gt 100000 ] || tg_fail "the help button did not show the help"
tg_click 500 500   # the help ignores the mouse
tg_sleep 0.3
[ "$(tg_region_diff "$help" "$(tg_shot help-clicked)" 0 0 1024 768)" -lt 2000 ] || tg_fail "a click left the help"
tg_key x
tg_sleep 0.4
menu_is_back after-help || tg_fail "a key did not lead back from the help"
tg_game_running || tg_fail "the game ended"
tg_pass
