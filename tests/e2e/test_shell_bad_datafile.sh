#!/usr/bin/env bash
# A missing datafile, or one packed under another password, gives exactly one
# "Couldn't load datafile!" box; after OK the program ends with status 1 and
# the high-score file is untouched.
source "$(dirname "$0")/harness.sh"
tg_setup --no-datafile
cp "$TG_DIR/highscores.dat" "$TG_DIR/highscores.before"

# Starts the game, expects one box, dismisses it and checks the outcome.
expect_one_box() {
    local label=$1 shot
    tg_start_game
    shot=$(tg_shot "$label-box")
    # The box is drawn in the middle of an otherwise black screen.
    [ "$(tg_region_colours "$shot" 400 340 224 80)" -ge 2 ] || tg_fail "$label: no message box"
    [ "$(tg_region_colours "$shot" 0 0 300 300)" -eq 1 ] || tg_fail "$label: more than a message box"
    tg_key Return
    tg_wait_exit 5 || tg_fail "$label: the program did not end after OK"
    tg_expect_eq "$TG_EXIT" 1 "$label: exit status"
    cmp -s "$TG_DIR/highscores.dat" "$TG_DIR/highscores.before" || tg_fail "$label: highscores.dat changed"
}

expect_one_box missing

# A datafile written under another password.
convert -size 30x30 xc:red "$TG_DIR/pic.bmp"
(cd "$TG_DIR" && dat -a -t BMP -bpp 32 -007 NotThePassword tumblegrid.dat pic.bmp >/dev/null)
expect_one_box wrong-password
tg_pass
