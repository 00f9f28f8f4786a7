#!/usr/bin/env bash
# harness.sh -- shared helpers for the end-to-end tests: each case sources
# this file, gets a private Xvfb server and a fresh temp folder holding the
# game's files, drives the real game with xdotool, takes screenshots with
# ImageMagick and compares regions. Everything started here is stopped by
# process id when the case ends, and a watchdog ends a case that hangs.
#
# Usage in a case:
#   source "$(dirname "$0")/harness.sh"
#   tg_setup                  # Xvfb, temp folder with tumblegrid.dat and highscores.dat
#   tg_start_game             # start ./tumblegrid there, wait for the menu
#   tg_key s; tg_sleep 0.5; tg_shot play
#   tg_pass
#
# TG_SCREEN (default 1024x768) sets the size of the private X screen and
# TG_WM=openbox runs a window manager on it; TG_COMPOSITOR=mutter (two
# monitors, 2560x1440 and 1920x1080 beside it) or weston (one of 1920x1080)
# runs that Wayland compositor headless instead, and the game on its X
# server. Screenshots are of the game's 1024x768 canvas wherever and at
# whatever size it is shown (brought back to 1024x768), and clicks take
# canvas positions, so a case reads the same on every desktop. TG_SHARP=1
# tells the helpers that the game was set to whole-number scales only.

set -u

TG_BUILD_DIR=${TG_BUILD_DIR:?TG_BUILD_DIR must name the build directory}
TG_SOURCE_DIR=${TG_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
TG_CASE=$(basename "$0" .sh)
TG_TIMEOUT=${TG_TIMEOUT:-150}     # seconds before the watchdog ends the case
TG_SCREEN=${TG_SCREEN:-1024x768}
TG_WM=${TG_WM:-}
TG_COMPOSITOR=${TG_COMPOSITOR:-}
TG_GAME_PID=""
TG_XVFB_PID=""
TG_WM_PID=""
TG_COMPOSITOR_PID=""
TG_SCALE=1 TG_LEFT=0 TG_TOP=0      # where the canvas is on the screen; its whole-number scale or 0
TG_CANVAS_W=1024 TG_CANVAS_H=768   # and its size there
TG_WIN_X=0 TG_WIN_Y=0 TG_WIN_W=0 TG_WIN_H=0   # the game's drawing window on the screen
TG_WATCHDOG_PID=""
TG_EXIT=""
TG_DIR=""
TG_SHOTS=""

# Prints a message prefixed with the case name.
tg_log() { echo "[$TG_CASE] $*"; }

# Fails the case with a message; keeps the screenshots for a look.
tg_fail()
{
    tg_log "FAIL: $*"
    [ -n "$TG_SHOTS" ] && tg_log "screenshots kept in $TG_SHOTS"
    TG_KEEP=1
    exit 1
}

# Ends the case successfully.
tg_pass() { tg_log "PASS"; exit 0; }

# Stops every process the case started and removes its temp folder.
tg_cleanup()
{
    local status=$?
    [ -n "$TG_GAME_PID" ] && kill -9 "$TG_GAME_PID" 2>/dev/null
    [ -n "$TG_WATCHDOG_PID" ] && kill "$TG_WATCHDOG_PID" 2>/dev/null
    [ -n "$TG_WM_PID" ] && kill "$TG_WM_PID" 2>/dev/null
    if [ -n "$TG_COMPOSITOR_PID" ]; then
        # The compositor leads a process group of its own: its bus, its X server.
        kill -TERM -- "-$TG_COMPOSITOR_PID" 2>/dev/null
        wait "$TG_COMPOSITOR_PID" 2>/dev/null
    fi
    if [ -n "$TG_XVFB_PID" ]; then
        kill "$TG_XVFB_PID" 2>/dev/null
        wait "$TG_XVFB_PID" 2>/dev/null
    fi
    if [ -n "$TG_DIR" ] && [ -z "${TG_KEEP:-}" ] && [ "$status" -eq 0 ]; then
        rm -rf "$TG_DIR"
    fi
    return $status
}

# Starts a private Xvfb on a display it picks itself and exports DISPLAY.
# -noreset keeps the server as it is when its last client leaves: a reset
# would put the pointer back in the middle before the game starts.
tg_start_xvfb()
{
    local fd_file="$TG_DIR/display"
    rm -f "$fd_file"        # a number left by an earlier server must not be taken for the new one's
    Xvfb -displayfd 3 -screen 0 "${TG_SCREEN}x24" -nolisten tcp -noreset \
        3>"$fd_file" >"$TG_DIR/xvfb.log" 2>&1 &
    TG_XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fd_file" ] && break
        sleep 0.05
    done
    [ -s "$fd_file" ] || tg_fail "Xvfb did not start"
    export DISPLAY=":$(tr -d '\n' <"$fd_file")"
    if [ -n "$TG_WM" ]; then
        "$TG_WM" >"$TG_DIR/wm.log" 2>&1 &
        TG_WM_PID=$!
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            sleep 0.05
        done
    fi
    # Every case starts with the pointer in a corner, never where the server put it.
    xdotool mousemove "$(( ${TG_SCREEN%x*} - 1 ))" "$(( ${TG_SCREEN#*x} - 1 ))"
}

# Starts the compositor TG_COMPOSITOR names, headless, in a process group of
# its own, and exports the DISPLAY of its X server (Xwayland).
tg_start_compositor()
{
    export XDG_RUNTIME_DIR="$TG_DIR/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    case "$TG_COMPOSITOR" in
        mutter)
            # mutter runs the command given after its options with DISPLAY
            # and XAUTHORITY set for its X server.
            setsid dbus-run-session -- mutter --wayland --headless --wayland-display=tg-wayland \
                --virtual-monitor 2560x1440 --virtual-monitor 1920x1080 \
                -- sh -c 'echo "$XAUTHORITY" >"$0.auth" && echo "$DISPLAY" >"$0.new" && mv "$0.new" "$0" &&
                          exec sleep 600' "$TG_DIR/display" >"$TG_DIR/wm.log" 2>&1 &
            ;;
        weston)
            setsid weston --backend=headless-backend.so --xwayland --width=1920 --height=1080 \
                --socket=tg-wayland --log="$TG_DIR/wm.log" >/dev/null 2>&1 &
            ;;
        *) tg_fail "unknown compositor $TG_COMPOSITOR" ;;
    esac
    TG_COMPOSITOR_PID=$!
    for _ in $(seq 200); do
        [ "$TG_COMPOSITOR" = weston ] &&
            sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$TG_DIR/wm.log" 2>/dev/null >"$TG_DIR/display"
        [ -s "$TG_DIR/display" ] && break
        sleep 0.05
    done
    [ -s "$TG_DIR/display" ] || tg_fail "$TG_COMPOSITOR did not start"
    export DISPLAY=$(tr -d '\n' <"$TG_DIR/display")
    [ -s "$TG_DIR/display.auth" ] && export XAUTHORITY=$(tr -d '\n' <"$TG_DIR/display.auth")
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
    TG_SCREEN=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
    # weston's Xwayland (22.1) aborts when a client warps the pointer: there
    # the pointer stays where weston put it, in the middle of the screen.
    [ "$TG_COMPOSITOR" = weston ] ||
        xdotool mousemove "$(( ${TG_SCREEN%x*} - 1 ))" "$(( ${TG_SCREEN#*x} - 1 ))"
}

# Makes the temp folder (the game's working folder), starts Xvfb and the watchdog.
# Copies the datafile and the initial high-score file unless told not to:
#   tg_setup [--no-datafile] [--no-scores]
tg_setup()
{
    TG_DIR=$(mktemp -d "/tmp/tg-e2e-$TG_CASE.XXXXXX")
    TG_SHOTS="$TG_DIR/shots"
    mkdir -p "$TG_SHOTS"
    trap tg_cleanup EXIT
    local copy_dat=1 copy_scores=1
    for arg in "$@"; do
        case "$arg" in
            --no-datafile) copy_dat=0 ;;
            --no-scores) copy_scores=0 ;;
        esac
    done
    [ $copy_dat -eq 1 ] && cp "$TG_BUILD_DIR/tumblegrid.dat" "$TG_DIR/"
    [ $copy_scores -eq 1 ] && cp "$TG_BUILD_DIR/highscores.initial.dat" "$TG_DIR/highscores.dat"
    if [ -n "$TG_COMPOSITOR" ]; then
        tg_start_compositor
    else
        tg_start_xvfb
    fi
    # The watchdog holds none of the case's output open, so that a case that
    # ends early is never kept waiting for it.
    trap 'tg_fail "watchdog: the case took over ${TG_TIMEOUT}s"' TERM
    ( sleep "$TG_TIMEOUT"; kill -TERM $$ ) >/dev/null 2>&1 </dev/null &
    TG_WATCHDOG_PID=$!
}

# Starts the game in the temp folder. TG_FIXED_TIME=N (environment) fixes its seed.
# Waits until its window is mapped and, unless --no-wait-menu, the menu is drawn.
tg_start_game()
{
    local preload=""
    if [ -n "${TG_FIXED_TIME:-}" ]; then
        preload="$TG_BUILD_DIR/tests/libfixtime.so"
        [ -f "$preload" ] || tg_fail "missing $preload"
    fi
    (cd "$TG_DIR" && LD_PRELOAD="$preload" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" \
        exec "$TG_BUILD_DIR/tumblegrid" >"$TG_DIR/game.out" 2>"$TG_DIR/game.err") &
    TG_GAME_PID=$!
    TG_EXIT=""
    tg_wait_window || tg_fail "the game's window did not appear"
    if [ "${1:-}" != "--no-wait-menu" ]; then
        tg_wait_until_not_blank 10 || tg_fail "the screen stayed blank"
    fi
}

# Prints the id of the game's drawing window: the innermost window of the
# game's class (the one the library draws in).
tg_game_window()
{
    xwininfo -root -tree 2>/dev/null | awk '/"tumblegrid" "TumbleGrid"/ { id = $1 } END { if (id) print id }'
}

# The canvas's size in a room of W x H: the largest 4:3 size that fits,
# made a whole-number scale when that is at most 2 % smaller (or, with
# TG_SHARP, always when at least 1x fits). Sets TG_CANVAS_W, TG_CANVAS_H, TG_SCALE.
tg_fit()
{
    local w=$1 h=$2 whole
    TG_CANVAS_W=$w
    [ $(( w * 768 / 1024 )) -gt "$h" ] && TG_CANVAS_W=$(( h * 1024 / 768 ))
    TG_CANVAS_H=$(( TG_CANVAS_W * 768 / 1024 ))
    whole=$(( TG_CANVAS_W / 1024 )) TG_SCALE=0
    if [ "$whole" -ge 1 ] && { [ -n "${TG_SHARP:-}" ] || [ $(( TG_CANVAS_W * 50 )) -le $(( whole * 1024 * 51 )) ]; }; then
        TG_CANVAS_W=$(( whole * 1024 )) TG_CANVAS_H=$(( whole * 768 )) TG_SCALE=$whole
    fi
}

# Prints the id of the game's own top-level window, the one window managers
# and the player move and resize (its drawing window lies inside it).
tg_top_window()
{
    xwininfo -root -tree 2>/dev/null | awk '/"tumblegrid" "TumbleGrid"/ { print $1; exit }'
}

# Prints the top-level window's size and place on the screen: "WxH+X+Y".
tg_top_place()
{
    xwininfo -id "$(tg_top_window)" 2>/dev/null | awk '/Absolute upper-left X:/ { x = $4 }
        /Absolute upper-left Y:/ { y = $4 } /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }'
}

# Waits up to 10 s until the top-level window's place matches a pattern
# (such as 1920x1080+*), then finds the canvas in it; fails with LABEL.
tg_wait_top_place()
{
    local pattern=$1 label=$2
    for _ in $(seq 100); do
        # shellcheck disable=SC2053
        if [[ "$(tg_top_place)" == $pattern ]]; then
            tg_sleep 0.3
            tg_find_canvas
            return 0
        fi
        sleep 0.1
    done
    tg_fail "$label: the window is at $(tg_top_place), not $pattern"
}

# Waits up to 10 s until the top-level window has left PLACE and kept its
# new place for 0.3 s, so a display switch or a move has settled however
# slow the machine is, then finds the canvas in it; fails with LABEL.
tg_wait_top_moved()
{
    local from=$1 label=$2 now last="" same=0
    for _ in $(seq 100); do
        now=$(tg_top_place)
        if [[ "$now" == [0-9]*x[0-9]*+*+* && "$now" != "$from" && "$now" == "$last" ]]; then
            same=$((same + 1))
            if [ "$same" -ge 3 ]; then
                tg_find_canvas
                return 0
            fi
        else
            same=0
        fi
        last=$now
        sleep 0.1
    done
    tg_fail "$label: the window stayed at $from"
}

# On the two monitors of TG_COMPOSITOR=mutter (2560x1440, 1920x1080 to its
# right): moves the game's window onto the second monitor, presses F11 and
# expects full screen there, the canvas fitted to that monitor.
tg_expect_full_screen_on_second_monitor()
{
    local place
    place=$(tg_top_place)
    xdotool windowmove "$(tg_top_window)" 2700 100
    tg_wait_top_moved "$place" "the move to the second monitor"
    tg_key F11
    tg_wait_top_place 1920x1080+2560+0 "full screen on the second monitor"
    tg_expect_eq "$(tg_canvas_place)" "1440x1080+2800+0" "the canvas on the second monitor"
}

# Expects the game's window, with the frame the window manager tells of
# (_NET_FRAME_EXTENTS), wholly on a SCREEN_W x SCREEN_H screen.
tg_expect_frame_on_screen()
{
    local w h x y left=0 right=0 top=0 bottom=0 extents
    IFS='x+' read -r w h x y <<<"$(tg_top_place)"
    extents=$(xprop -id "$(tg_top_window)" _NET_FRAME_EXTENTS | sed -n 's/.*= //p')
    [ -z "$extents" ] || IFS=', ' read -r left right top bottom <<<"$extents"
    [ $((x - left)) -ge 0 ] && [ $((y - top)) -ge 0 ] && [ $((x + w + right)) -le "$1" ] &&
        [ $((y + h + bottom)) -le "$2" ] ||
        tg_fail "the window ${w}x$h+$x+$y with its frame ($extents) is not all on the screen"
}

# Finds where the canvas is shown: it takes its fitted size in the middle
# of the game's drawing window. Sets TG_LEFT, TG_TOP, the canvas's size and
# scale, and the window's place and size (TG_WIN_X, TG_WIN_Y, TG_WIN_W, TG_WIN_H).
tg_find_canvas()
{
    local id geometry
    id=$(tg_game_window)
    [ -n "$id" ] || return 1
    geometry=$(xwininfo -id "$id")
    TG_WIN_W=$(awk '/Width:/ { print $2 }' <<<"$geometry")
    TG_WIN_H=$(awk '/Height:/ { print $2 }' <<<"$geometry")
    TG_WIN_X=$(awk '/Absolute upper-left X:/ { print $4 }' <<<"$geometry")
    TG_WIN_Y=$(awk '/Absolute upper-left Y:/ { print $4 }' <<<"$geometry")
    tg_fit "$TG_WIN_W" "$TG_WIN_H"
    TG_LEFT=$(( TG_WIN_X + (TG_WIN_W - TG_CANVAS_W) / 2 ))
    TG_TOP=$(( TG_WIN_Y + (TG_WIN_H - TG_CANVAS_H) / 2 ))
}

# Prints where the canvas is: "WxH+LEFT+TOP".
tg_canvas_place() { echo "${TG_CANVAS_W}x${TG_CANVAS_H}+$TG_LEFT+$TG_TOP"; }

# Waits up to 10 s for the game's window to be mapped.
tg_wait_window()
{
    local id
    for _ in $(seq 200); do
        id=$(tg_game_window)
        if [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable; then
            sleep 0.2
            tg_find_canvas
            return 0
        fi
        tg_game_running || return 1
        sleep 0.05
    done
    return 1
}

# True while the game's process is alive.
tg_game_running() { [ -n "$TG_GAME_PID" ] && kill -0 "$TG_GAME_PID" 2>/dev/null; }

# Waits up to N seconds for the game to end; its exit status lands in TG_EXIT.
tg_wait_exit()
{
    local limit=${1:-10}
    for _ in $(seq $((limit * 20))); do
        if ! tg_game_running; then
            wait "$TG_GAME_PID" 2>/dev/null
            TG_EXIT=$?
            TG_GAME_PID=""
            return 0
        fi
        sleep 0.05
    done
    return 1
}

# Sleeps for the given seconds (fractions allowed).
tg_sleep() { sleep "$1"; }

# Sends key presses (xdotool names: s, q, Return, Left, F1, ...) with a short hold.
tg_key()
{
    local k
    for k in "$@"; do
        xdotool keydown "$k"; sleep 0.05; xdotool keyup "$k"; sleep 0.05
    done
}

# Types a text into the focused dialog field.
tg_type() { xdotool type --delay 60 "$1"; }

# Moves the pointer to the middle of canvas pixel (x, y).
tg_point()
{
    xdotool mousemove $(( TG_LEFT + (2 * $1 + 1) * TG_CANVAS_W / 2048 )) $(( TG_TOP + (2 * $2 + 1) * TG_CANVAS_H / 1536 ))
}

# Clicks the left button at canvas position (x, y): press, short hold, release.
tg_click()
{
    tg_point "$1" "$2"; sleep 0.1
    xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep 0.1
}

# Takes a screenshot of the canvas as shown into shots/NAME.png, brought
# back to 1024x768 (pixel for pixel from a whole-number scale, resampled
# otherwise), and prints its path. Under a compositor the shot is of the
# game's window, whose pixels its X server keeps apart from the screen's.
tg_shot()
{
    local file="$TG_SHOTS/$1.png" whole="$TG_SHOTS/$1-screen.png" left=$TG_LEFT top=$TG_TOP size
    if [ "$TG_SCREEN" = 1024x768 ] && [ "$TG_SCALE$TG_LEFT$TG_TOP" = 100 ]; then
        import -window root "$file" 2>/dev/null || tg_fail "screenshot $1 failed"
        echo "$file"
        return
    fi
    if [ -n "$TG_COMPOSITOR" ]; then
        import -window "$(tg_game_window)" "$whole" 2>/dev/null || tg_fail "screenshot $1 failed"
        left=$(( TG_LEFT - TG_WIN_X )) top=$(( TG_TOP - TG_WIN_Y ))
    else
        import -window root "$whole" 2>/dev/null || tg_fail "screenshot $1 failed"
    fi
    size=-sample
    [ "$TG_SCALE" = 0 ] && size=-resize
    convert "$whole" -crop "${TG_CANVAS_W}x${TG_CANVAS_H}+$left+$top" +repage "$size" '1024x768!' "$file" \
        || tg_fail "screenshot $1 failed"
    echo "$file"
}

# Takes a screenshot of the whole screen into shots/NAME.png and prints its path.
tg_screen_shot()
{
    local file="$TG_SHOTS/$1.png"
    import -window root "$file" 2>/dev/null || tg_fail "screenshot $1 failed"
    echo "$file"
}

# Prints the colour of one pixel of a screenshot as "r,g,b" (0..255).
tg_pixel()
{
    convert "$1" -format '%[fx:int(255*p{'"$2,$3"'}.r)],%[fx:int(255*p{'"$2,$3"'}.g)],%[fx:int(255*p{'"$2,$3"'}.b)]' info:
}

# Prints how many pixels differ between the same region of two screenshots.
tg_region_diff()
{
    local a=$1 b=$2 x=$3 y=$4 w=$5 h=$6
    local geom="${w}x${h}+${x}+${y}"
    compare -metric AE "$a[$geom]" "$b[$geom]" null: 2>&1 | sed 's/ .*//'
}

# Prints the number of distinct colours in a region of a screenshot.
tg_region_colours()
{
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -format '%k' info:
}

# True when the whole screenshot is a single colour.
tg_is_blank() { [ "$(tg_region_colours "$1" 0 0 1024 768)" -le 1 ]; }

# Waits up to N seconds until the display shows more than one colour.
tg_wait_until_not_blank()
{
    local limit=${1:-10} shot
    for _ in $(seq $((limit * 4))); do
        shot=$(tg_shot waiting)
        tg_is_blank "$shot" || return 0
        sleep 0.25
    done
    return 1
}

# True when a region of two pictures is alike: a peak signal-to-noise ratio
# of at least 40 dB, which a picture resampled and brought back reaches
# (50 to 60 dB) and a shifted, cut or missing one does not (at most 35 dB,
# even along the smooth edges of the high-score screen).
tg_region_alike()
{
    local a=$1 b=$2 geom="${5}x${6}+${3}+${4}" psnr
    psnr=$(compare -metric PSNR "$a[$geom]" "$b[$geom]" null: 2>&1 | sed 's/ .*//')
    [ "$psnr" = inf ] || awk -v p="$psnr" 'BEGIN { exit !(p + 0 >= 40) }'
}

# Checks that the whole canvas is on the screen: it lies inside the screen,
# and a 16-pixel strip along each of its edges shows what REFERENCE (a
# 1024x768 picture of the same screen of the game) shows there.
tg_expect_whole_picture()
{
    local label=$1 reference=$2 shot strip
    [ "$TG_LEFT" -ge 0 ] && [ "$TG_TOP" -ge 0 ] && [ $(( TG_LEFT + TG_CANVAS_W )) -le "${TG_SCREEN%x*}" ] &&
        [ $(( TG_TOP + TG_CANVAS_H )) -le "${TG_SCREEN#*x}" ] ||
        tg_fail "$label: the canvas at $(tg_canvas_place) is not all on the $TG_SCREEN screen"
    shot=$(tg_shot "$label")
    for strip in "0 0 1024 16" "0 752 1024 16" "0 0 16 768" "1008 0 16 768"; do
        # shellcheck disable=SC2086
        tg_region_alike "$shot" "$reference" $strip || tg_fail "$label: the canvas's edge ($strip) is not the picture"
    done
}

# Waits up to N seconds until a region differs from the same region of a reference shot.
tg_wait_region_change()
{
    local ref=$1 x=$2 y=$3 w=$4 h=$5 limit=${6:-5} shot
    for _ in $(seq $((limit * 4))); do
        shot=$(tg_shot changing)
        [ "$(tg_region_diff "$ref" "$shot" "$x" "$y" "$w" "$h")" -gt 0 ] && return 0
        sleep 0.25
    done
    return 1
}

# Asserts that two values are equal.
tg_expect_eq()
{
    [ "$1" = "$2" ] || tg_fail "${3:-values differ}: expected '$2', got '$1'"
}

# Starts a round, waits for its first digit to land, then opens another
# program's window and gives it the focus the given way (windowfocus without
# a window manager, windowactivate with one). Leaves the shot of the empty
# well in TG_ROUND_START, the other program's pid in TG_OTHER_PID.
tg_round_then_other_window()
{
    local how=$1 window
    tg_key s
    tg_sleep 0.4
    TG_ROUND_START=$(tg_shot start)
    tg_wait_region_change "$TG_ROUND_START" 500 520 30 30 8 || tg_fail "the first digit did not land"
    xmessage -geometry 300x60+0+0 "another program" &
    TG_OTHER_PID=$!
    window=$(timeout 5 xdotool search --sync --classname xmessage 2>/dev/null | head -1)
    [ -n "$window" ] || tg_fail "the other window did not appear"
    xdotool "$how" "$window" 2>/dev/null
    tg_sleep 0.8
}

# Loads the menu's button centres (START_X, START_Y, EASY_X, ..., ROW_LEFT, ROW_TOP, ROW_W, ROW_H).
tg_load_layout()
{
    local vars
    vars=$(cd "$TG_BUILD_DIR" && tests/layoutinfo) || tg_fail "layoutinfo failed"
    eval "$vars"
}

# Starts the game on a datafile it must refuse and expects exactly one
# "Couldn't load datafile!" box; after OK the game must end with status 1,
# without a crash, and leave highscores.dat as highscores.before holds it.
tg_expect_datafile_box()
{
    local label=$1 shot
    tg_start_game
    shot=$(tg_shot "$label-box")
    # The box is drawn in the middle of an otherwise black screen.
    [ "$(tg_region_colours "$shot" 400 340 224 80)" -ge 2 ] || tg_fail "$label: no message box"
    [ "$(tg_region_colours "$shot" 0 0 300 300)" -eq 1 ] || tg_fail "$label: more than a message box"
    tg_key Return
    tg_wait_exit 5 || tg_fail "$label: the program did not end after OK"
    tg_expect_eq "$TG_EXIT" 1 "$label: exit status"
    grep -q -i -e sanitizer -e "segmentation" "$TG_DIR/game.err" && tg_fail "$label: crashed"
    cmp -s "$TG_DIR/highscores.dat" "$TG_DIR/highscores.before" || tg_fail "$label: highscores.dat changed"
}

# Steers the falling digit from column 5 into a column, then drops it and lets it land.
tg_drop_into()
{
    local column=$1 k
    if [ "$column" -lt 5 ]; then
        for k in $(seq $((5 - column))); do tg_key Left; done
    elif [ "$column" -gt 5 ]; then
        for k in $(seq $((column - 5))); do tg_key Right; done
    fi
    tg_key s
    tg_sleep 1.3
}

# Puts the falling digit of code D where it builds the bottom row: into
# column D the first time the code comes, repeats into columns 9 and 10 in
# turn. TG_PLACED has a bit for every code placed; 511 completes the row.
TG_PLACED=0 TG_DUMP=9
tg_place_digit()
{
    local d=$1
    if [ $((TG_PLACED >> d & 1)) -eq 0 ]; then
        TG_PLACED=$((TG_PLACED | 1 << d))
        tg_drop_into "$d"
    else
        tg_drop_into "$TG_DUMP"
        TG_DUMP=$((19 - TG_DUMP))
    fi
}

# Ends a round by filling column 5 until the picture stands still under the
# game-over box, and answers the box with Return.
tg_end_round_by_stacking()
{
    local previous shot over="" i
    previous=$(tg_shot stack-0)
    for i in $(seq 80); do
        tg_key s
        tg_sleep 0.3
        shot=$(tg_shot "stack-$i")
        if [ "$(compare -metric AE "$previous" "$shot" null: 2>&1 | sed 's/ .*//')" = 0 ]; then
            over=$shot
            break
        fi
        previous=$shot
    done
    [ -n "$over" ] || tg_fail "the round did not end"
    tg_key Return
    tg_sleep 0.8
}

# Checks the high-score file FILE after a round of 850 points entered as
# "Rowan" into the initial table: the entry in the last slot with the one
# above kept, the lowest entry gone, and the header lines as BEFORE (the
# file decoded before the round) has them.
tg_expect_rowan_entry()
{
    local file=$1 before=$2 tool="$TG_BUILD_DIR/tools/tumblegrid-scores"
    "$tool" list "$file" >"$TG_DIR/after.list" 2>/dev/null || tg_fail "the saved file does not list"
    cat "$TG_DIR/after.list"
    tg_expect_eq "$(sed -n 15p "$TG_DIR/after.list" | awk '{print $2}')" 850 "the new score in the last slot"
    sed -n 15p "$TG_DIR/after.list" | grep -q ' Rowan\.' || tg_fail "the new entry does not carry the name"
    grep -q 'Nadia' "$TG_DIR/after.list" && tg_fail "the replaced lowest entry is still listed"
    tg_expect_eq "$(sed -n 14p "$TG_DIR/after.list" | awk '{print $2}')" 1090 "the entry above the new one"
    "$tool" decode "$file" >"$TG_DIR/after.txt" || tg_fail "the saved file does not decode"
    cmp -s <(head -c 37 "$before") <(head -c 37 "$TG_DIR/after.txt") || tg_fail "the header lines changed"
}
