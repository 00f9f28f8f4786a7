#!/usr/bin/env bash
# Started where there is no display at all, the game says so and ends with
# exit status 1 instead of crashing.
source "$(dirname "$0")/harness.sh"
tg_setup
status=0
(cd "$TG_DIR" && env -u DISPLAY "$TG_BUILD_DIR/tumblegrid") >"$TG_DIR/out" 2>&1 || status=$?
tg_expect_eq "$status" 1 "exit status without a display"
grep -q 'Cannot Open Display' "$TG_DIR/out" || tg_fail "no message: $(cat "$TG_DIR/out")"
tg_pass
