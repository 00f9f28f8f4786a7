#!/usr/bin/env bash
# A stop signal, the loss of the X server, and both at once (what a logout
# does) end the game within a second with exit status 1, no crash and no
# core, leaving highscores.dat as it was: 20 times each, taken in turn in
# the menu, in play and with a message box open. A crash (SIGSEGV) ends it
# the same way, and no run leaves its screen's shared memory behind, not
# even one stopped while its display opens.
source "$(dirname "$0")/harness.sh"
tg_setup
cp "$TG_DIR/highscores.dat" "$TG_DIR/highscores.before"
ulimit -c unlimited

# Brings the game into a state on a fresh X server: menu, play or box.
start_in()
{
    kill -9 "$TG_XVFB_PID" 2>/dev/null; wait "$TG_XVFB_PID" 2>/dev/null
    tg_start_xvfb
    if [ "$1" = box ]; then mv "$TG_DIR/tumblegrid.dat" "$TG_DIR/hidden.dat"; fi
    tg_start_game --no-wait-menu
    tg_sleep 0.2
    if [ "$1" = play ]; then tg_key s; tg_sleep 0.2; fi
    if [ "$1" = box ]; then mv "$TG_DIR/hidden.dat" "$TG_DIR/tumblegrid.dat"; fi
}

# Ends the game one way and checks how it ended.
end_by()
{
    local how=$1 state=$2 run=$3 waited=0 ended=$TG_GAME_PID limit=50
    case $how in
        itself) limit=500 ;;
        term) kill -TERM "$TG_GAME_PID" ;;
        xserver) kill -9 "$TG_XVFB_PID" ;;
        both) kill -TERM "$TG_GAME_PID"; kill -9 "$TG_XVFB_PID" ;;
        segv) kill -SEGV "$TG_GAME_PID" ;;
    esac
    while tg_game_running && [ $waited -lt $limit ]; do sleep 0.02; waited=$((waited + 1)); done
    tg_game_running && tg_fail "$how in the $state (run $run): the game still runs"
    wait "$TG_GAME_PID" 2>/dev/null
    TG_EXIT=$?
    TG_GAME_PID=""
    tg_expect_eq "$TG_EXIT" 1 "$how in the $state (run $run): exit status"
    # ipcs -p lists each segment with the process that made it. Each must be
    # gone or marked for removal: a marked one goes as soon as the X server,
    # which can be slow to notice the game has gone, lets go of it.
    local id
    for id in $(ipcs -m -p | awk -v pid="$ended" '$3 == pid { print $1 }'); do
        ipcs -m | awk -v id="$id" '$2 == id { seen = 1; if ($7 == "dest") marked = 1 } END { exit seen && !marked }' ||
            tg_fail "$how in the $state (run $run): the game's shared memory was left behind"
    done
}

states=(menu play box)
for run in $(seq 20); do
    for how in term xserver both; do
        state=${states[$(( (run + ${#how}) % 3 ))]}
        start_in "$state"
        end_by "$how" "$state" "$run"
    done
done
for state in menu play; do
    start_in "$state"
    end_by segv "$state" 1
done
# A stop signal while the display opens, after the screen's shared memory
# is attached and before the game has marked it for removal.
(cd "$TG_DIR" && LD_PRELOAD="$TG_BUILD_DIR/tests/libstopaftershm.so" exec "$TG_BUILD_DIR/tumblegrid" \
    >/dev/null 2>&1) &
TG_GAME_PID=$!
end_by itself opening 1

ls "$TG_DIR" | grep -q '^core' && tg_fail "a core file was left"
cmp -s "$TG_DIR/highscores.dat" "$TG_DIR/highscores.before" || tg_fail "highscores.dat changed"
tg_pass
