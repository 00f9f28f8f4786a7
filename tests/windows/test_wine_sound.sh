#!/usr/bin/env bash
# With a sound device (an ALSA device that writes what it plays into a
# file) the Windows game starts its sound under Wine: the menu is silent,
# a round plays its music, and the program still ends with status 1.
source "$(dirname "$0")/harness.sh"
tw_setup --sound
tw_start_game
sound=$TG_DIR/sound.raw
[ -f "$sound" ] || tg_fail "Wine opened no sound device"

# Bytes of the recording since a given length that are not silence.
heard_since() { tail -c "+$(($1 + 1))" "$sound" | tr -d '\0' | wc -c; }

tg_sleep 1
start=$(stat -c %s "$sound")
tg_sleep 1
[ "$(heard_since "$start")" -eq 0 ] || tg_fail "the menu is not silent"
start=$(stat -c %s "$sound")
tg_key s
tg_sleep 2
[ "$(heard_since "$start")" -gt 10000 ] || tg_fail "no music in play"
tg_key q
tg_sleep 0.5
tg_key q
tw_expect_exit 1
tg_pass
