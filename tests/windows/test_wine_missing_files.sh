#!/usr/bin/env bash
# The Windows game's files missing. Without tumblegrid.dat it shows its own
# "Couldn't load datafile!" box, the only thing on the screen, and after OK
# ends with status 1, the high-score file untouched. Without highscores.dat
# it shows the system's message box, titled "Error", with the error icon
# and "Fatal Error!  Cannot Open File!", in front of its picture; after OK
# it ends with status 1 and has created no high-score file.
source "$(dirname "$0")/harness.sh"
# Wine's trace of the message box names its text.
export WINEDEBUG=-all,err+seh,trace+msgbox
tw_setup

mv "$TW_GAME/tumblegrid.dat" "$TG_DIR/tumblegrid.dat"
cp "$TW_GAME/highscores.dat" "$TG_DIR/highscores.before"
tw_start_game
shot=$(tg_shot datafile-box)
[ "$(tg_region_colours "$shot" 400 340 224 80)" -ge 2 ] || tg_fail "no datafile box"
[ "$(tg_region_colours "$shot" 0 0 300 300)" -eq 1 ] || tg_fail "more than the datafile box"
tg_key Return
tw_expect_exit 1
cmp -s "$TW_GAME/highscores.dat" "$TG_DIR/highscores.before" || tg_fail "highscores.dat changed"

mv "$TG_DIR/tumblegrid.dat" "$TW_GAME/tumblegrid.dat"
rm "$TW_GAME/highscores.dat"
tw_start_game --no-wait-menu

box=""
for _ in $(seq 100); do
    box=$(tw_windows_titled Error)
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || tg_fail "no box titled Error appeared"
tg_sleep 0.5
shot=$(tg_screen_shot box)
# The error icon: a red disc in the box.
geometry=$(awk '{ print $(NF-1) }' <<<"$box")
red=$(convert "$shot" -crop "$geometry" +repage -fx 'r > 0.7 && g < 0.35 && b < 0.35' \
    -format '%[fx:int(mean * w * h)]' info:)
[ "$red" -gt 50 ] || tg_fail "no error icon in the box ($red red pixels)"
grep -q 'Fatal Error!  Cannot Open File!' "$TG_DIR/game.err" || tg_fail "the box has another text"

tg_key Return
tw_expect_exit 1
[ ! -e "$TW_GAME/highscores.dat" ] || tg_fail "the game created highscores.dat"
tg_pass
