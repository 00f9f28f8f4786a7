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
    $(pkg-config --libs allegro) -lXrandr -lX11 -lpthread -lm || tg_fail "cannot build the dealer helper"
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

# Steers the falling digit into a column, then drops it and lets it land.
drop_into()
{
    local column=$1 k
    if [ "$column" -lt 5 ]; then
        for k in $(seq $((5 - column))); do tg_key Left; done
    elif [ "$column" -gt 5 ]; then
        for k in $(seq $((column - 5))); do tg_key Right; done
    fi
    tg_key s
    tg_sleep 1.3
}

placed=0 dump=9
for d in $digits; do
    if [ $((placed >> d & 1)) -eq 0 ]; then
        placed=$((placed | 1 << d))
        drop_into "$d"
    else
        drop_into $dump
        dump=$((19 - dump))
    fi
done
tg_sleep 1
cleared=$(tg_shot row-cleared)

# Fills column 5 until the screen stands still under the game-over box.
previous=$cleared over=""
for i in $(seq 80); do
    tg_key s
    tg_sleep 0.3
    shot=$(tg_shot "stack-$i")
    if [ "$(compare -metric AE "$previous" "$shot" null: 2>&1 | sed 's/ .*//')" = 0 ]; then
        over=$shot
        break
    fi
    previous=$shot
done
[ -n "$over" ] || tg_fail "the round did not end"
tg_key Return
tg_sleep 0.8

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

"$TG_BUILD_DIR/tools/tumblegrid-scores" list "$TG_DIR/highscores.dat" >"$TG_DIR/after.list" 2>/dev/null \
    || tg_fail "the saved file does not list"
cat "$TG_DIR/after.list"
tg_expect_eq "$(sed -n 15p "$TG_DIR/after.list" | awk '{print $2}')" 850 "the new score in the last slot"
sed -n 15p "$TG_DIR/after.list" | grep -q ' Rowan\.' || tg_fail "the new entry does not carry the name"
grep -q 'Nadia' "$TG_DIR/after.list" && tg_fail "the replaced lowest entry is still listed"
tg_expect_eq "$(sed -n 14p "$TG_DIR/after.list" | awk '{print $2}')" 1090 "the entry above the new one"
"$tool" decode "$TG_DIR/highscores.dat" >"$TG_DIR/after.txt" || tg_fail "the saved file does not decode"
cmp -s <(head -c 37 "$TG_DIR/before.txt") <(head -c 37 "$TG_DIR/after.txt") \
    || tg_fail "the header lines changed"
tg_pass
