#!/usr/bin/env bash
# test_install_package.sh -- the Debian package from a player's side: builds
# it with cpack, checks it with lintian, installs it, starts the installed
# launcher from an unrelated folder with a fresh HOME (twice, then once more
# with XDG_DATA_HOME), and removes the package again, which must leave the
# player's folder alone. Installing needs root; otherwise the case is skipped.
#
# Called with --start-game OUT it is the part that runs inside a private X
# server: it starts `tumblegrid`, waits for the menu, keeps a screenshot,
# quits with Q and writes the outcome into OUT.
set -eu

# ---- inside the X server -------------------------------------------------

if [ "${1:-}" = "--start-game" ]; then
    out=$2
    tumblegrid >"$out/game.log" 2>&1 &
    pid=$!
    # The launcher execs the game, so this is the game's own process id.
    trap 'kill -9 "$pid" 2>/dev/null || true' EXIT
    # The menu is a full picture of many colours; a blank screen has one and
    # an error box on a black screen only a handful.
    result="no menu"
    for _ in $(seq 60); do
        kill -0 "$pid" 2>/dev/null || { result="the game ended"; break; }
        if import -window root "$out/menu.png" 2>/dev/null; then
            colours=$(convert "$out/menu.png" -format '%k' info:)
            result="no menu ($colours colours on the screen)"
            [ "$colours" -gt 64 ] && { result=shown; break; }
        fi
        sleep 0.25
    done
    if [ "$result" = shown ]; then
        # Let the menu settle, then quit from it the way a player does.
        sleep 0.5
        xdotool mousemove 20 20 keydown q sleep 0.05 keyup q
        for _ in $(seq 40); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.125
        done
    fi
    if kill -0 "$pid" 2>/dev/null; then
        echo "still running" >"$out/status"
    else
        status=0
        wait "$pid" || status=$?
        echo "$status" >"$out/status"
    fi
    echo "$result" >"$out/result"
    exit 0
fi

# ---- the case itself -----------------------------------------------------

TG_BUILD_DIR=${TG_BUILD_DIR:?TG_BUILD_DIR must name the build directory}
TG_SOURCE_DIR=${TG_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
script=$(readlink -f "$0")
case_name=test_install_package
stamp=/var/tmp/tumblegrid-e2e-package.installed   # this case installed the package

log() { echo "[$case_name] $*"; }
skip() { log "SKIPPED: $*"; exit 0; }
fail() { log "FAIL: $*"; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "installing the package needs root (dpkg); run as root to check it"
for tool in dpkg dpkg-deb cpack flock import convert xdotool Xvfb; do
    command -v "$tool" >/dev/null || skip "$tool is not available"
done

# One installation on the machine at a time, whatever runs in parallel.
exec 9>/var/tmp/tumblegrid-e2e-package.lock
flock -w 120 9 || fail "another run of this case holds the lock"

installed() { dpkg-query -W -f='${Status}' tumblegrid 2>/dev/null | grep -q ' installed$'; }
if installed; then
    # A run that was killed before it could clean up leaves its stamp behind.
    [ -f "$stamp" ] || skip "a tumblegrid package is already installed on this machine; leaving it alone"
    log "removing the package a killed earlier run left installed"
    dpkg -r tumblegrid >/dev/null
fi
rm -f "$stamp"

work=$(mktemp -d "/tmp/tg-e2e-$case_name.XXXXXX")
cleanup()
{
    local status=$?
    if [ -f "$stamp" ]; then
        dpkg -r tumblegrid >/dev/null 2>&1 || log "could not remove the package: dpkg -r tumblegrid"
        rm -f "$stamp"
    fi
    [ -n "${watchdog:-}" ] && kill "$watchdog" 2>/dev/null
    if [ "$status" -eq 0 ]; then rm -rf "$work"; else log "files kept in $work"; fi
    return "$status"
}
trap cleanup EXIT
trap 'fail "stopped by the watchdog"' TERM
# Every step below has its own time limit; this one catches anything else,
# early enough that the package is still removed before ctest gives up.
( trap 'kill "$nap" 2>/dev/null; exit 0' TERM
  sleep 165 & nap=$!
  wait "$nap" && kill -TERM $$ ) >/dev/null 2>&1 &
watchdog=$!

# ---- build and check the package ----

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$TG_BUILD_DIR/CPackConfig.cmake")
[ -n "$version" ] || fail "no package version in $TG_BUILD_DIR/CPackConfig.cmake"
deb=$work/pkg/tumblegrid_${version}_$(dpkg --print-architecture).deb
log "building $(basename "$deb")"
timeout 60 cpack -G DEB -B "$work/pkg" --config "$TG_BUILD_DIR/CPackConfig.cmake" \
    >"$work/cpack.log" 2>&1 || fail "cpack failed; see $work/cpack.log"
[ -f "$deb" ] || fail "cpack did not write $deb"

depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in
    *liballegro4.4*) ;;
    *) fail "the package does not depend on the Allegro 4 runtime: Depends: $depends" ;;
esac
expect_field() { [ "$(dpkg-deb -f "$deb" "$1")" = "$2" ] || fail "$1 is '$(dpkg-deb -f "$deb" "$1")', expected '$2'"; }
expect_field Package tumblegrid
expect_field Section games

if command -v lintian >/dev/null; then
    timeout 40 lintian "$deb" >"$work/lintian.log" 2>&1 || true
    if grep -q '^E:' "$work/lintian.log"; then
        cat "$work/lintian.log"
        fail "lintian reports errors"
    fi
else
    log "lintian is not installed; the package's lint check is left out"
fi

# ---- install it ----

touch "$stamp"
if command -v apt-get >/dev/null; then
    timeout 60 env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" \
        >"$work/install.log" 2>&1 || fail "apt-get install failed; see $work/install.log"
else
    timeout 60 dpkg -i "$deb" >"$work/install.log" 2>&1 || fail "dpkg -i failed; see $work/install.log"
fi
installed || fail "the package is not installed after installing it"
for file in /usr/games/tumblegrid /usr/lib/games/tumblegrid/tumblegrid \
            /usr/share/games/tumblegrid/tumblegrid.dat /usr/share/games/tumblegrid/highscores.dat \
            /usr/share/applications/tumblegrid.desktop /usr/share/man/man6/tumblegrid.6.gz \
            /usr/share/icons/hicolor/48x48/apps/tumblegrid.png /usr/share/doc/tumblegrid/copyright; do
    [ -f "$file" ] || fail "the package did not install $file"
done

# ---- play the part of a player ----

home=$work/home
elsewhere=$work/elsewhere
mkdir -p "$home" "$elsewhere"
folder=$home/.local/share/tumblegrid
scores_tool=$TG_BUILD_DIR/tools/tumblegrid-scores
[ -x "$scores_tool" ] || fail "missing $scores_tool; build the project first"

# Starts the installed launcher from the unrelated folder with a clean
# environment (plus any VAR=value given) and checks that the menu showed
# and that Q ended the game with its usual status 1.
start_game()
{
    local name=$1 out
    shift
    out=$work/$name
    mkdir -p "$out"
    log "start: $name"
    (cd "$elsewhere" && timeout 30 env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/games \
        HOME="$home" LANG=C.UTF-8 "$@" \
        "$TG_SOURCE_DIR/tests/support/with-xvfb.sh" bash "$script" --start-game "$out") \
        || fail "$name: the run under Xvfb failed"
    [ "$(cat "$out/result" 2>/dev/null)" = shown ] \
        || fail "$name: the menu did not show ($(cat "$out/result" 2>/dev/null)); game output: $(cat "$out/game.log" 2>/dev/null)"
    [ "$(cat "$out/status")" = 1 ] || fail "$name: Q in the menu should end the game with status 1: $(cat "$out/status")"
    [ -z "$(ls -A "$elsewhere")" ] || fail "$name: the game wrote into the folder it was started from"
}

# Checks a player's folder after a start: the scores are the player's own
# decodable file, and the datafile is a link to the installed one.
check_folder()
{
    local dir=$1
    [ -f "$dir/highscores.dat" ] && [ ! -L "$dir/highscores.dat" ] \
        || fail "$dir/highscores.dat is not a file of the player's own"
    [ -w "$dir/highscores.dat" ] || fail "$dir/highscores.dat is not writable"
    "$scores_tool" decode "$dir/highscores.dat" >"$work/decoded.txt" \
        || fail "tumblegrid-scores cannot decode $dir/highscores.dat"
    [ "$(grep -c '' "$work/decoded.txt")" -ge 17 ] || fail "the decoded table is short: $(cat "$work/decoded.txt")"
    [ "$(readlink "$dir/tumblegrid.dat")" = /usr/share/games/tumblegrid/tumblegrid.dat ] \
        || fail "$dir/tumblegrid.dat does not link to the installed datafile"
}

# First start: the folder is made with the initial table.
start_game first
check_folder "$folder"
cmp -s "$folder/highscores.dat" /usr/share/games/tumblegrid/highscores.dat \
    || fail "the first start did not copy the initial high-score table"

# A table the player has changed, and a datafile link left stale by an
# older version: the next start keeps the one and renews the other.
"$scores_tool" decode "$folder/highscores.dat" | sed '3s/^[A-Za-z]*/Keeper/' >"$work/changed.txt"
"$scores_tool" encode "$work/changed.txt" "$folder/highscores.dat" || fail "cannot write a changed table"
cp "$folder/highscores.dat" "$work/changed.dat"
ln -sfn /nonexistent/tumblegrid.dat "$folder/tumblegrid.dat"
start_game second
check_folder "$folder"
cmp -s "$folder/highscores.dat" "$work/changed.dat" || fail "the second start replaced the player's table"
grep -q '^Keeper' "$work/decoded.txt" || fail "the player's entry is gone from the table"

# XDG_DATA_HOME decides where the folder goes.
start_game xdg XDG_DATA_HOME="$work/xdg"
check_folder "$work/xdg/tumblegrid"
cmp -s "$folder/highscores.dat" "$work/changed.dat" || fail "a start for another folder touched the first one"

# A folder that can't be made is reported, and the game is not started.
touch "$work/blocker"
set +e
(cd "$elsewhere" && timeout 10 env -i PATH=/usr/bin:/bin:/usr/games HOME="$home" \
    XDG_DATA_HOME="$work/blocker/data" tumblegrid) >/dev/null 2>"$work/blocked.err"
status=$?
set -e
[ "$status" -ne 0 ] && [ "$status" -ne 1 ] || fail "an unusable folder gave status $status"
grep -q "cannot create the folder $work/blocker/data/tumblegrid" "$work/blocked.err" \
    || fail "no clear message for an unusable folder: $(cat "$work/blocked.err")"

# ---- remove the package ----

if command -v apt-get >/dev/null; then
    timeout 60 env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tumblegrid >"$work/remove.log" 2>&1 \
        || fail "apt-get remove failed; see $work/remove.log"
else
    timeout 60 dpkg -r tumblegrid >"$work/remove.log" 2>&1 || fail "dpkg -r failed; see $work/remove.log"
fi
rm -f "$stamp"
! installed || fail "the package is still installed after apt-get remove"
for path in /usr/games/tumblegrid /usr/lib/games/tumblegrid /usr/share/games/tumblegrid; do
    [ ! -e "$path" ] || fail "apt-get remove left $path behind"
done
cmp -s "$folder/highscores.dat" "$work/changed.dat" || fail "removing the package touched the player's scores"

log "PASS"
