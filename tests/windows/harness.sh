#!/usr/bin/env bash
# harness.sh -- the end-to-end helpers for the Windows game under Wine. A
# case sources this instead of the Linux harness and gets every helper of
# tests/e2e/harness.sh (canvas screenshots, keys, clicks, regions), with the
# game unpacked from the Windows zip into the case's temp folder and started
# by Wine in a private prefix, on a 1280x1024 screen (TG_SCREEN sets
# another, TG_COMPOSITOR=mutter two monitors under GNOME's compositor, as in
# the Linux harness). The case's Wine server and every Wine process in it
# are stopped when the case ends, whatever way it ends.
#
# Usage in a case:
#   source "$(dirname "$0")/harness.sh"
#   tw_setup [--no-scores] [--sound] [--sharp]   # X server, unpacked zip, private prefix
#   tw_start_game                      # tumblegrid.exe, waits for its picture
#   tg_key s; tg_shot play; ...
#   tw_expect_exit 1                   # the status, and no crash on the way
#   tg_pass
#
# TG_WINDOWS_ZIP names the zip, TG_BUILD_DIR the native build (its
# layoutinfo and tumblegrid-scores).

TW_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
TG_SCREEN=${TG_SCREEN:-1280x1024}
TG_TIMEOUT=${TG_TIMEOUT:-240}
source "$TW_HERE/../e2e/harness.sh"
source "$TW_HERE/wine.sh"
TG_WINDOWS_ZIP=${TG_WINDOWS_ZIP:?TG_WINDOWS_ZIP must name the Windows zip}
TW_GAME=""

# The Linux harness's clean-up, run after the case's Wine is stopped.
eval "$(declare -f tg_cleanup | sed '1s/tg_cleanup/tg_cleanup_linux/')"
tg_cleanup()
{
    local status=$?
    [ -n "$TG_GAME_PID" ] && kill -9 "$TG_GAME_PID" 2>/dev/null
    tw_stop_prefix
    (exit "$status")
    tg_cleanup_linux
}

# The game's window: Wine names the X window after the Windows one. It is
# both the window the player moves and resizes and the one the game draws
# in, since Wine leaves the frame to the window manager.
tg_game_window()
{
    xwininfo -root -tree 2>/dev/null | awk '/"TumbleGrid": \("tumblegrid.exe"/ { id = $1 } END { if (id) print id }'
}
tg_top_window() { tg_game_window; }

# Makes the temp folder with the unpacked zip and a private Wine prefix,
# starts Xvfb and the watchdog. --no-scores leaves highscores.dat out;
# --sound gives Wine an ALSA device that writes what it plays into
# sound.raw in the temp folder (without it there is no sound device at all);
# --sharp sets the game to whole-number scales, for cases that read exact
# pixels off the screen.
tw_setup()
{
    TG_DIR=$(mktemp -d "/tmp/tg-wine-$TG_CASE.XXXXXX")
    TG_SHOTS="$TG_DIR/shots"
    mkdir -p "$TG_SHOTS" "$TG_DIR/home"
    trap tg_cleanup EXIT
    unzip -q "$TG_WINDOWS_ZIP" -d "$TG_DIR" || tg_fail "cannot unpack $TG_WINDOWS_ZIP"
    TW_GAME=$(echo "$TG_DIR"/tumblegrid-*-windows-x64)
    [ -f "$TW_GAME/tumblegrid.exe" ] || tg_fail "no tumblegrid.exe in the zip"
    local arg
    for arg in "$@"; do
        case "$arg" in
            --no-scores) rm "$TW_GAME/highscores.dat" ;;
            --sharp) printf '[tumblegrid]\r\nscaling = sharp\r\n' >"$TW_GAME/settings.cfg"; TG_SHARP=1 ;;
            --sound) printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "%s"\n format "raw"\n}\n' \
                         "$TG_DIR/sound.raw" >"$TG_DIR/home/.asoundrc" ;;
        esac
    done
    # Wine and the sound library look for their settings in the case's own home.
    export HOME=$TG_DIR/home
    tw_new_prefix "$TG_DIR/prefix" || tg_fail "cannot make a Wine prefix"
    if [ -n "$TG_COMPOSITOR" ]; then
        tg_start_compositor
    else
        tg_start_xvfb
    fi
    trap 'tg_fail "watchdog: the case took over ${TG_TIMEOUT}s"' TERM
    ( sleep "$TG_TIMEOUT"; kill -TERM $$ ) >/dev/null 2>&1 </dev/null &
    TG_WATCHDOG_PID=$!
}

# Starts tumblegrid.exe in its folder and waits (Wine takes a few seconds)
# for its window and, unless --no-wait-menu, for a picture in it.
tw_start_game()
{
    # Started through "start /wait", which hands on the game's own exit code:
    # a multi-threaded Windows program ending itself can have its Unix
    # process killed by Wine's server a moment before it exits (status 137).
    (cd "$TW_GAME" && exec "$TW_WINE" start /wait tumblegrid.exe >"$TG_DIR/game.out" 2>"$TG_DIR/game.err") &
    TG_GAME_PID=$!
    TG_EXIT=""
    local waited=0
    until tg_wait_window; do
        tg_game_running || tg_fail "the game ended before its window appeared"
        waited=$((waited + 1))
        [ $waited -lt 4 ] || tg_fail "the game's window did not appear"
    done
    if [ "${1:-}" != "--no-wait-menu" ]; then
        tg_wait_until_not_blank 20 || tg_fail "the screen stayed blank"
    fi
    [ -z "$TG_COMPOSITOR" ] || tw_wait_focus
}

# Waits for the compositor to give the game's window the keyboard. On a busy
# machine mutter now and then leaves a new Wine window unfocused (no active
# window at all, however long one waits), where a player would click it or
# its entry in the task bar; the case then activates it the task bar's way.
# Wine activates the Windows window a moment after the X focus arrives, and
# keys sent before that are lost, as they would be for a player typing
# while clicking the window: hence the pause at the end.
tw_wait_focus()
{
    local id attempt
    id=$(tg_game_window)
    for attempt in 1 2; do
        for _ in $(seq 40); do
            if [ "$(xdotool getwindowfocus 2>/dev/null)" = "$((id))" ]; then
                tg_sleep 0.5
                return 0
            fi
            sleep 0.1
        done
        [ "$attempt" = 2 ] || xdotool windowactivate "$id" 2>/dev/null
    done
    tg_fail "the game's window never had the keyboard"
}

# Waits for the game to end and expects the status, with no crash and no X
# error on the way (either can end Wine with status 1 too).
tw_expect_exit()
{
    tg_wait_exit 10 || tg_fail "the game did not end"
    tg_expect_eq "$TG_EXIT" "$1" "exit status"
    grep -E -q 'Unhandled (exception|page fault)|X Error of failed request' "$TG_DIR/game.err" \
        && tg_fail "the game crashed: $(grep -E -m1 'Unhandled|X Error' "$TG_DIR/game.err")"
    return 0
}

# Ends the case's Wine and its X server, and starts a new X server of the
# given size: one case can try the game on several screens.
tw_new_screen()
{
    tw_stop_prefix
    kill "$TG_XVFB_PID" 2>/dev/null
    wait "$TG_XVFB_PID" 2>/dev/null
    TG_SCREEN=$1
    tg_start_xvfb
}

# Prints where the picture is in a screenshot of the whole screen, as
# "WxH+X+Y": the box around every pixel that is not the border's colour.
tw_picture_box()
{
    convert "$1" -fill white +opaque 'rgb(12,14,24)' -fill black -opaque 'rgb(12,14,24)' \
        -bordercolor black -border 1 -format '%@' info: \
        | awk -F'[x+]' '{ printf "%dx%d+%d+%d\n", $1, $2, $3 - 1, $4 - 1 }'
}

# Prints the Wine processes' top-level windows with the given title.
tw_windows_titled() { xwininfo -root -tree 2>/dev/null | grep -F "\"$1\": (\"tumblegrid.exe\""; }
