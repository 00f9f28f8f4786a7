#!/usr/bin/env bash
# run-unit.sh -- runs one Windows test program under Wine, in a private Wine
# prefix and the current folder, with no display, and passes on its exit
# status. The prefix and every Wine process in it are gone when it returns.
#   run-unit.sh PROGRAM.exe [ARGS...]
set -u
source "$(dirname "$0")/wine.sh"
TW_LIMIT=${TW_LIMIT:-240}    # seconds before the program is stopped

work=$(mktemp -d /tmp/tg-wine-unit.XXXXXX)
cleanup() { tw_stop_prefix; rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 1' TERM INT
tw_new_prefix "$work/prefix" || exit 1
unset DISPLAY
timeout "$TW_LIMIT" "$TW_WINE" "$@" &
wait $!
