#!/usr/bin/env bash
# S pressed the moment the first menu frame shows, while most of the
# datafile is still packed, starts a round whose screen has every picture in
# place: the same as a round started once the game has settled.
source "$(dirname "$0")/harness.sh"
tg_setup
tg_load_layout

# The parts of the play screen that do not depend on when the round began:
# the title, the panel under the status lines, and the well beside the
# spawn column (the falling digit is elsewhere in each run).
compare_play_screens()
{
    local a=$1 b=$2 region
    for region in "0 0 340 90" "0 235 340 530" "350 100 150 450" "530 100 150 450"; do
        tg_expect_eq "$(tg_region_diff "$a" "$b" $region)" 0 "the play screen at $region"
    done
}

# Waits up to 10 s for the play screen (the light panel where the menu is
# dark) and leaves its shot, named NAME, in PLAY_SHOT: how long the round
# takes to appear depends on how busy the machine is, not on what is checked.
shoot_play_screen()
{
    for _ in $(seq 40); do
        PLAY_SHOT=$(tg_shot "$1")
        [ "$(convert "$PLAY_SHOT" -format '%[fx:p{250,150}.r > 0.8]' info:)" = 1 ] && return 0
        sleep 0.25
    done
    tg_fail "S did not start a round ($1)"
}

watcher="$TG_DIR/first"
"$TG_BUILD_DIR/tests/firstframe" 10 s >"$watcher" &
watcher_pid=$!
until grep -q ready "$watcher" 2>/dev/null; do sleep 0.01; done
TG_FIXED_TIME=4000 tg_start_game --no-wait-menu
wait "$watcher_pid" || tg_fail "the menu never showed"
seen=$(sed -n 2p "$watcher") sent=$(sed -n 3p "$watcher")
tg_log "S sent $(( (sent - seen) / 1000 )) us after the first menu frame"
[ $(( sent - seen )) -lt 20000000 ] || tg_fail "S was not sent within 20 ms of the menu"
shoot_play_screen quick
quick=$PLAY_SHOT
tg_key q q
tg_wait_exit 5 || tg_fail "Q, Q did not end the program"

TG_FIXED_TIME=4000 tg_start_game
tg_sleep 1
tg_key s
shoot_play_screen settled
compare_play_screens "$quick" "$PLAY_SHOT"
tg_pass
