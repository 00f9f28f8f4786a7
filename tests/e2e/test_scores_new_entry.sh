#!/usr/bin/env bash
# A round that scores enters the table. The game's own dealer, built here
# from the game's library, tells the digit sequence for the fixed seed; each
# digit code d is steered into column d of the bottom row (repeats go to
# columns 9 and 10) until the row holds the nine digits and clears for 850
# points. Column 5 is then filled to end the round; the name dialog comes
# up, a name is typed, and tumblegrid-scores finds the entry in its place
# with the file's header lines kept.
source "$(dirname "$0")/harness.sh"
tool="$TG_BUILD_DIR/tools/tumblegrid-scores"
tg_setup --no-scores
tg_load_layout
"$tool" reset "$TG_DIR/highscores.dat" || tg_fail "reset failed"
"$tool" decode "$TG_DIR/highscores.dat" >"$TG_DIR/before.txt" || tg_fail "decode failed"

# ---- the dealer's sequence ----------------------------------------------

cat >"$TG_DIR/dealer.cpp" <<'CPP'
// Prints, for each seed in a range, how many digits it takes until all nine
// codes have been dealt, followed by the falling digits in order.
#include "game/well.h"
#include <cstdio>
#include <cstdlib>
int main(int argc, char **argv)
{
    for (long seed = atol(argv[1]); seed <= atol(argv[2]); seed++) {
        srand((unsigned)seed);
        startRound();
        int seq[200], seen = 0, needed = 0;
        seq[0] = nextDigit;     // the first spawn takes the preview digit
        for (int i = 1; i < 200; i++)
            seq[i] = pickNextDigit();
        for (int i = 0; i < 200 && seen != 0x1FF; i++) {
            seen |= 1 << seq[i];
            needed = i + 1;
        }
        printf("%d %ld", needed, seed);
        for (int i = 0; i < needed; i++)
            printf(" %d", seq[i]);
        printf("\n");
    }
    return 0;
}
CPP
flags=""
grep -q '^TG_SANITIZE:BOOL=ON' "$TG_BUILD_DIR/CMakeCache.txt" && flags="-fsanitize=address,undefined"
g++ -std=c++17 $flags -I"$TG_SOURCE_DIR" "$TG_DIR/dealer.cpp" -o "$TG_DIR/dealer" \
    -Wl,--start-group "$TG_BUILD_DIR/libtumblegrid_core.a" "$TG_BUILD_DIR/tests/libtest_support.a" -Wl,--end-group \
    $(pkg-config --libs allegro pixman-1) -lXrandr -lX11 -lpthread -lm || tg_fail "cannot build the dealer helper"
# The seed in a small range that completes the row soonest.
read -r needed seed digits < <("$TG_DIR/dealer" 4000 4200 | sort -n -k1,1 -k2,2 | head -1)
tg_log "seed $seed: $needed digits: $digits"

# ---- the round ------------------------------------------------------------

TG_FIXED_TIME=$seed tg_start_game
xdotool mousemove 1020 760
tg_click "$EASY_X" "$EASY_Y"
tg_sleep 0.3
tg_key s
tg_sleep 0.6

for d in $digits; do
    tg_place_digit "$d"
done
tg_sleep 1
tg_end_round_by_stacking

# ---- the name dialog ------------------------------------------------------

dialog=$(tg_shot dialog)
tg_expect_eq "$(tg_pixel "$dialog" 600 350)" "200,240,200" "the name dialog's background"
# An empty name field at the first dialog of a run, with the caret in it.
tg_expect_eq "$(tg_region_colours "$dialog" 390 385 158 7)" 2 "the empty, focused name field"
# The name field has the focus from the start: a name typed without a
# click keeps its "o" (the Ok button's shortcut), and Return confirms it.
# The pointer passing over the texts leaves the box as it was.
xdotool mousemove 380 330; tg_sleep 0.2
for x in 390 450 520 600; do xdotool mousemove "$x" 343; tg_sleep 0.1; xdotool mousemove "$x" 363; tg_sleep 0.1; done
xdotool mousemove 1020 760; tg_sleep 0.3
hovered=$(tg_shot hovered)
tg_expect_eq "$(tg_region_diff "$dialog" "$hovered" 384 334 256 100)" 0 "the dialog after the pointer crossed its texts"
tg_type "Rowan"
tg_key Return
tg_sleep 0.8
tg_game_running || tg_fail "the game ended at the name dialog"
tg_key q
tg_wait_exit 5 || tg_fail "Q in the menu did not end the program"
tg_expect_eq "$TG_EXIT" 1 "exit status after Q"

# ---- the file -------------------------------------------------------------

tg_expect_rowan_entry "$TG_DIR/highscores.dat" "$TG_DIR/before.txt"
tg_pass
