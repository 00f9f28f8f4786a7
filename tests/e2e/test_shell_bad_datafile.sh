#!/usr/bin/env bash
# A missing datafile, or one packed under another password, gives exactly one
# "Couldn't load datafile!" box; after OK the program ends with status 1 and
# the high-score file is untouched.
source "$(dirname "$0")/harness.sh"
tg_setup --no-datafile
cp "$TG_DIR/highscores.dat" "$TG_DIR/highscores.before"

tg_expect_datafile_box missing

# A datafile written under another password.
convert -size 30x30 xc:red -type TrueColor "BMP3:$TG_DIR/pic.bmp"
(cd "$TG_DIR" && dat -a -t BMP -bpp 32 -007 NotThePassword tumblegrid.dat pic.bmp >/dev/null)
[ -s "$TG_DIR/tumblegrid.dat" ] || tg_fail "could not write the datafile under another password"
tg_expect_datafile_box wrong-password
tg_pass
