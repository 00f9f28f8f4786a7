#!/usr/bin/env bash
# The high-score screen shows the file it was given: a table written by
# tumblegrid-scores (out of order, with a tie) is listed sorted, exactly as
# the tool paints the same file in the HUD font.
source "$(dirname "$0")/harness.sh"
tool="$TG_BUILD_DIR/tools/tumblegrid-scores"
tg_setup --no-scores

# Pixels that differ in the list's region of two pictures (crops go through
# files: some ImageMagick policies refuse /dev/fd paths).
list_diff()
{
    convert "$1" -crop 450x360+290+190 +repage "$TG_DIR/crop-a.png" || return 1
    convert "$2" -crop 450x360+290+190 +repage "$TG_DIR/crop-b.png" || return 1
    compare -metric AE "$TG_DIR/crop-a.png" "$TG_DIR/crop-b.png" null: 2>&1 | sed 's/ .*//'
}

printf 'Screen test table\r\nsecond header\r\n' >"$TG_DIR/table.txt"
for entry in Quill.700 Arden.52000 Bexley.3100 Corin.3100 Dace.9 Elowen.18250 Fenwick.640 \
             Garnet.12005 Hollis.75 Ivo.4400 Juniper.990 Kestrel.27777 Linnea.1500 Moss.210 Nell.8800; do
    printf '%s\r\n' "$entry" >>"$TG_DIR/table.txt"
done
"$tool" encode "$TG_DIR/table.txt" "$TG_DIR/highscores.dat" || tg_fail "encode failed"
"$tool" draw "$TG_DIR/highscores.dat" "$TG_DIR/expected.bmp" || tg_fail "draw failed"

# The tool reads the table in the game's order: highest first, the tie as written.
listed=$("$tool" list "$TG_DIR/highscores.dat" 2>/dev/null | awk '{print $2}' | tr '\n' ' ')
tg_expect_eq "$listed" "52000 27777 18250 12005 8800 4400 3100 3100 1500 990 700 640 210 75 9 " "list order"
"$tool" list "$TG_DIR/highscores.dat" 2>/dev/null | sed -n 7,8p | grep -q 'Bexley' \
    || tg_fail "equal scores changed their order"

tg_start_game
xdotool mousemove 1020 760    # keep the pointer off the list
tg_key i
tg_sleep 0.8
shot=$(tg_shot scores)
diff=$(list_diff "$shot" "$TG_DIR/expected.bmp")
[ "$diff" = 0 ] || tg_fail "the screen's list differs from the file drawn in the HUD font ($diff pixels)"
tg_key space
tg_game_running || tg_fail "the game ended"
tg_pass
