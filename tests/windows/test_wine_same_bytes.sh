#!/usr/bin/env bash
# The Windows build and the Linux build agree to the byte: the zip carries
# the datafile and the initial table the native build made; under Wine the
# Windows tumblegrid-scores writes the same initial table and the same
# stored form of a text, decodes to the same bytes, and lists the table
# with the same dot leaders, which it measures with the datafile's font.
set -u
source "$(dirname "$0")/wine.sh"
native=${TG_BUILD_DIR:?TG_BUILD_DIR must name the native build}
zip=${TG_WINDOWS_ZIP:?TG_WINDOWS_ZIP must name the Windows zip}
tool=$native/tools/tumblegrid-scores
work=$(mktemp -d /tmp/tg-wine-same-bytes.XXXXXX)
trap 'tw_stop_prefix; rm -rf "$work"' EXIT
fail() { echo "[test_wine_same_bytes] FAIL: $*"; exit 1; }

unzip -q "$zip" -d "$work" || fail "cannot unpack $zip"
game=$(echo "$work"/tumblegrid-*-windows-x64)
cmp "$game/tumblegrid.dat" "$native/tumblegrid.dat" || fail "the zip's datafile is not the native one"
cmp "$game/highscores.dat" "$native/highscores.initial.dat" || fail "the zip's highscores.dat is not the native one"

export HOME=$work
tw_new_prefix "$work/prefix" || fail "cannot make a Wine prefix"
unset DISPLAY
cd "$game"
# Runs the Windows tool under Wine in the game's folder.
wintool() { timeout 60 "$TW_WINE" tumblegrid-scores.exe "$@"; }

wintool reset reset.dat || fail "the Windows tool cannot reset"
cmp reset.dat highscores.dat || fail "the Windows tool's initial table differs"
"$tool" decode highscores.dat >"$work/plain.txt" || fail "the Linux tool cannot decode"
wintool decode highscores.dat >"$work/plain-windows.txt" || fail "the Windows tool cannot decode"
cmp "$work/plain.txt" "$work/plain-windows.txt" || fail "the Windows tool decodes other bytes"
# A table the tool has not seen: the ladder of the initial one, renamed.
sed 's/^\([A-Za-z]*\)\./X\1./' "$work/plain.txt" >"$work/other.txt"
"$tool" encode "$work/other.txt" "$work/other-linux.dat" || fail "the Linux tool cannot encode"
# Wine shows the Linux file system as drive Z:.
wintool encode "Z:$work/other.txt" other-windows.dat || fail "the Windows tool cannot encode"
cmp "$work/other-linux.dat" other-windows.dat || fail "the Windows tool enciphers differently"
"$tool" list highscores.dat >"$work/list.txt" 2>&1 || fail "the Linux tool cannot list"
wintool list highscores.dat 2>&1 | tr -d '\r' >"$work/list-windows.txt" || fail "the Windows tool cannot list"
grep -q '\.\.\.\.' "$work/list.txt" || fail "the Linux list has no dot leaders"
cmp "$work/list.txt" "$work/list-windows.txt" || fail "the Windows tool lists the table differently"
echo "[test_wine_same_bytes] PASS"
