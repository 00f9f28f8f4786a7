#!/usr/bin/env bash
# The Windows game under Wine, on a desktop with a window manager and
# without any sound device, set to whole-number scales so that pictures
# compare pixel for pixel: it starts full screen at the desktop's own size
# with the menu; S starts a round and a digit falls; F11 turns the screen
# into a 1024x768 window and back with the same picture; another program
# taking the focus pauses the round, and a key continues it once the game
# has the focus again; Q returns to the menu and Q ends the program with
# status 1. Sound never started (Wine's DirectSound never mixed), and the
# game played silently all the same.
TG_WM=openbox
source "$(dirname "$0")/harness.sh"
export WINEDEBUG=-all,err+seh,trace+dsound
tw_setup --sharp
tw_start_game

# Waits up to 10 s until the game's window has the given size, then finds the canvas again.
wait_window_size()
{
    local id
    for _ in $(seq 100); do
        id=$(tg_game_window)
        if [ -n "$id" ] && xwininfo -id "$id" | grep -q -- "-geometry $1+"; then
            sleep 0.5
            tg_find_canvas
            return 0
        fi
        sleep 0.1
    done
    return 1
}

wait_window_size 1280x1024 || tg_fail "the game did not start full screen"
menu=$(tg_shot menu)
[ "$(tg_region_colours "$menu" 380 100 270 560)" -gt 20 ] || tg_fail "the menu column looks empty"

tg_key s
tg_sleep 1
play=$(tg_shot play)
[ "$(tg_region_diff "$menu" "$play" 0 0 1024 768)" -gt 200000 ] || tg_fail "S did not show the play screen"
tg_sleep 1
later=$(tg_shot later)
[ "$(tg_region_diff "$play" "$later" 350 100 330 450)" -gt 50 ] || tg_fail "no digit fell in the well"

# The panel of groups left of the well never changes during a round.
tg_key F11
wait_window_size 1024x768 || tg_fail "F11 did not open a 1024x768 window"
window=$(tg_shot window)
[ "$(tg_region_diff "$later" "$window" 30 380 300 140)" -eq 0 ] || tg_fail "the window shows another picture"
tg_key F11
wait_window_size 1280x1024 || tg_fail "F11 did not go back to full screen"
full=$(tg_shot full)
[ "$(tg_region_diff "$later" "$full" 30 380 300 140)" -eq 0 ] || tg_fail "full screen shows another picture"

# White pixels in the middle of the well: the pause label.
pause_label() { convert "$1" -crop 330x60+350+300 +repage -fx 'r > 0.95 && g > 0.95 && b > 0.95' \
    -format '%[fx:int(mean * w * h)]' info:; }
"$TW_WINE" notepad >/dev/null 2>&1 &
notepad=$!
other=""
for _ in $(seq 100); do
    other=$(xwininfo -root -tree | awk '/"[^"]*Notepad": \("notepad.exe"/ { print $1; exit }')
    [ -n "$other" ] && break
    sleep 0.1
done
[ -n "$other" ] || tg_fail "Wine's notepad did not open"
xdotool windowmove "$other" 1000 900    # aside, so that the well shows
tg_sleep 1
[ "$(pause_label "$(tg_shot other-focused)")" -gt 500 ] || tg_fail "the round went on without the focus"
kill "$notepad"
tg_sleep 1
xdotool mousemove 640 1000 click 1    # the player clicks the game to come back
tg_sleep 0.5
tg_key Return
tg_sleep 0.5
[ "$(pause_label "$(tg_shot resumed)")" -lt 100 ] || tg_fail "a key did not continue the round"
xdotool mousemove 1279 1023

tg_key q
tg_sleep 1
back=$(tg_shot back)
[ "$(tg_region_diff "$menu" "$back" 380 100 270 560)" -lt 500 ] || tg_fail "Q in play did not return to the menu"
tg_key q
tw_expect_exit 1
grep -q 'DSOUND_PerformMix' "$TG_DIR/game.err" && tg_fail "sound played with no sound device"
tg_pass
