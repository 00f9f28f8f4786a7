#!/usr/bin/env bash
# measure-frames.sh [SECONDS] -- the Windows game's frame pacing under Wine,
# as scripts/measure-frames measures the Linux game: the zip's game runs in
# a private Wine prefix on a private 1024x768 Xvfb, and the native build's
# frameprobe reports the frames per second and the spread of the intervals
# between frames from the X server's damage events, in the menu and while a
# round plays, with the CPU time of the game's process. TG_WINDOWS_ZIP names
# the zip (default build-windows/), TG_BUILD_DIR the native build (build/).
# Wine's waits are as fine as Linux's whatever the program asks, so this
# shows the pacing of the game and the library, not Windows' timer.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
if [ -z "${TG_IN_XVFB:-}" ]; then
    exec env TG_IN_XVFB=1 "$root/tests/support/with-xvfb.sh" "$0" "$@"
fi
source "$here/wine.sh"
seconds=${1:-10}
build=${TG_BUILD_DIR:-$root/build}
zip=${TG_WINDOWS_ZIP:-$(echo "$root"/build-windows/tumblegrid-*-windows-x64.zip)}
work=$(mktemp -d /tmp/tg-wine-frames.XXXXXX)
game=""
cleanup() { tw_stop_prefix; [ -n "$game" ] && kill -9 "$game" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
unzip -q "$zip" -d "$work" || exit 1
tw_new_prefix "$work/prefix" || exit 1
xdotool mousemove 1023 767
(cd "$work"/tumblegrid-*-windows-x64 && exec "$TW_WINE" tumblegrid.exe >/dev/null 2>&1) &
game=$!
window=""
for _ in $(seq 100); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"TumbleGrid": \("tumblegrid.exe"/ { id = $1 } END { if (id) print id }')
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "the game's window did not appear" >&2; exit 1; }
sleep 3

# CPU time (user + system) of the game's process in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }

# Runs the probe on the game's window while counting the game's CPU time.
measure() {
    local before after
    echo "== $1"
    before=$(cpu_ticks)
    "$build/tests/frameprobe" "$window" "$seconds"
    after=$(cpu_ticks)
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
        'BEGIN { printf "CPU: %.1f%% of one core\n", 100 * t / hz / s }'
}

measure "menu (the side animation draws every frame)"
xdotool key s
sleep 1
measure "playing (Easy: the digit moves every frame)"
