#!/usr/bin/env bash
# A round of the Windows game that enters the table, and the file it saves
# read by the Linux build's tumblegrid-scores. The Windows game's digits
# come from its own C library's random numbers, so the case reads each
# falling digit off the screen (every digit's tile has its own colour at
# one probe pixel, shown exactly at a whole-number scale) and steers code d
# into column d of the bottom row (repeats go to columns 9 and 10) until
# the row holds the nine digits and clears for 850 points on Easy. Column 5
# is then filled to end the round; a name is typed into the dialog, and the
# saved highscores.dat must list the entry in its place with the file's
# header lines kept.
source "$(dirname "$0")/harness.sh"
tool="$TG_BUILD_DIR/tools/tumblegrid-scores"
tw_setup --sharp
tg_load_layout
"$tool" decode "$TW_GAME/highscores.dat" >"$TG_DIR/before.txt" || tg_fail "decode failed"
tw_start_game

# The code of the digit falling in column 5: the highest probe pixel of
# that column showing a digit's colour.
falling_digit()
{
    local shot x=$((350 + 5 * 30 + DIGIT_PROBE_X))
    shot=$(tg_shot falling)
    convert "$shot" -crop "1x450+$x+100" +repage -depth 8 txt:- | awk -v colours="$colours" '
        BEGIN { n = split(colours, c, " "); for (i = 1; i <= n; i++) code[c[i]] = i - 1 }
        /^[0-9]+,[0-9]+:/ {
            rgb = $2; gsub(/[()]/, "", rgb)
            if (rgb in code) { print code[rgb]; exit }
        }'
}
colours="$DIGIT_RGB_0 $DIGIT_RGB_1 $DIGIT_RGB_2 $DIGIT_RGB_3 $DIGIT_RGB_4 $DIGIT_RGB_5 $DIGIT_RGB_6 $DIGIT_RGB_7 $DIGIT_RGB_8"

tg_click "$EASY_X" "$EASY_Y"
tg_sleep 0.3
tg_key s
tg_sleep 0.6
dealt=""
while [ $TG_PLACED -ne 511 ]; do
    d=$(falling_digit)
    [ -n "$d" ] || tg_fail "no falling digit found after: $dealt"
    dealt="$dealt $d"
    [ ${#dealt} -lt 200 ] || tg_fail "the row never completed: $dealt"
    tg_place_digit "$d"
done
tg_log "digits:$dealt"
tg_sleep 1
tg_end_round_by_stacking
dialog=$(tg_shot dialog)
tg_expect_eq "$(tg_pixel "$dialog" 600 350)" "200,240,200" "the name dialog's background"
tg_type "Rowan"
tg_key Return
tg_sleep 0.8
tg_game_running || tg_fail "the game ended at the name dialog"
tg_key q
tw_expect_exit 1

tg_expect_rowan_entry "$TW_GAME/highscores.dat" "$TG_DIR/before.txt"
tg_pass
