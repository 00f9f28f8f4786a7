#!/usr/bin/env bash
# Without highscores.dat the Windows game shows the system's message box,
# titled "Error", with the error icon and "Fatal Error!  Cannot Open File!",
# in front of its picture; after OK it ends with status 1 and has created no
# high-score file.
source "$(dirname "$0")/harness.sh"
# Wine's trace of the message box names its text, title and style.
export WINEDEBUG=-all,err+seh,trace+msgbox
tw_setup --no-scores
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
