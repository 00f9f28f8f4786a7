#!/usr/bin/env bash
# A datafile cut short, and one with a foreign object where a picture
# belongs, give exactly one "Couldn't load datafile!" box; after OK the game
# ends with status 1, without a crash and with the high-score file untouched.
source "$(dirname "$0")/harness.sh"
tg_setup
cp "$TG_DIR/highscores.dat" "$TG_DIR/highscores.before"
cp "$TG_DIR/tumblegrid.dat" "$TG_DIR/good.dat"

# Starts the game on the damaged datafile, expects one box, dismisses it.
expect_one_box() {
    local label=$1 shot
    tg_start_game
    shot=$(tg_shot "$label-box")
    [ "$(tg_region_colours "$shot" 400 340 224 80)" -ge 2 ] || tg_fail "$label: no message box"
    [ "$(tg_region_colours "$shot" 0 0 300 300)" -eq 1 ] || tg_fail "$label: more than a message box"
    tg_key Return
    tg_wait_exit 5 || tg_fail "$label: the program did not end after OK"
    tg_expect_eq "$TG_EXIT" 1 "$label: exit status"
    grep -q -i -e sanitizer -e "segmentation" "$TG_DIR/game.err" && tg_fail "$label: crashed"
    cmp -s "$TG_DIR/highscores.dat" "$TG_DIR/highscores.before" || tg_fail "$label: highscores.dat changed"
}

# Cut in the middle: the library's loader used to crash on this.
head -c $(( $(stat -c %s "$TG_DIR/good.dat") / 2 )) "$TG_DIR/good.dat" >"$TG_DIR/tumblegrid.dat"
expect_one_box truncated

# A plain binary object where the well picture belongs.
"$TG_BUILD_DIR/tests/baddatafile" "$TG_DIR/good.dat" "$TG_DIR/tumblegrid.dat" wrongtype 29 ||
    tg_fail "could not make the damaged datafile"
expect_one_box wrong-type
tg_pass
