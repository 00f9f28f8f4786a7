#!/usr/bin/env bash
# A datafile cut short, one with a foreign object where a picture belongs,
# one where only the last object is foreign, and one for each way an
# object's own bytes once crashed or hung the game (lengths the library took
# as negative, fonts with no ranges, absurd ranges or cut inside a glyph, an
# 8-bit picture whose size overflows, an empty chunk, a sample longer than
# its bytes, a seldom-shown picture whose pixels end a byte early): each
# gives exactly one "Couldn't load datafile!" box before the menu is drawn;
# after OK the game ends with status 1, without a crash and with the
# high-score file untouched.
source "$(dirname "$0")/harness.sh"
tg_setup
cp "$TG_DIR/highscores.dat" "$TG_DIR/highscores.before"
cp "$TG_DIR/tumblegrid.dat" "$TG_DIR/good.dat"
bad="$TG_BUILD_DIR/tests/baddatafile"

# Cut in the middle: the library's loader used to crash on this.
head -c $(( $(stat -c %s "$TG_DIR/good.dat") / 2 )) "$TG_DIR/good.dat" >"$TG_DIR/tumblegrid.dat"
tg_expect_datafile_box truncated

# A plain binary object where the well picture belongs.
"$bad" "$TG_DIR/good.dat" "$TG_DIR/tumblegrid.dat" wrongtype 29 || tg_fail "could not make the damaged datafile"
tg_expect_datafile_box wrong-type

# Only the last object, the about picture, is damaged: still refused before the menu.
"$bad" "$TG_DIR/good.dat" "$TG_DIR/tumblegrid.dat" wrongtype 165 || tg_fail "could not make the damaged datafile"
tg_expect_datafile_box last-object

damages=$("$bad" damages) || tg_fail "baddatafile lists no damages"
for damage in $damages; do
    "$bad" "$TG_DIR/good.dat" "$TG_DIR/tumblegrid.dat" damage "$damage" || tg_fail "could not make $damage"
    tg_expect_datafile_box "$damage"
done
tg_pass
