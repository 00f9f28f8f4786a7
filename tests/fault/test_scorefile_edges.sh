#!/usr/bin/env bash
# The high-score file's edges, through the real tool and the save driver:
#  - a pipe or a link to /dev/zero in the file's place: list and decode end
#    at once with a message and status 1 (they hung or aborted before);
#  - the tool's own save keeps the player's report.backup beside its output;
#  - as a player without root's powers: a writable file in a folder the
#    player can't write is saved in place, a file that is a link is saved
#    through the link, and a read-only file fails the save with the fatal
#    message and status 1, unchanged.
# Usage: test_scorefile_edges.sh BUILD_DIR
set -u
build=$1
tool=$build/tools/tumblegrid-scores
work=$(mktemp -d /tmp/tg-edges.XXXXXX)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0

# Reports a failed expectation and carries on.
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A regression would read /dev/zero until memory runs out: cap the tool's
# memory, except in the sanitizer build, whose shadow memory needs far more.
grep -q '^TG_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null || ulimit -v 2000000

mkfifo "$work/pipe"
ln -s /dev/zero "$work/zero"
for file in pipe zero; do
    for command in list decode; do
        timeout 10 "$tool" "$command" "$work/$file" >/dev/null 2>"$work/err"
        status=$?
        [ "$status" -eq 1 ] || fail "$command of a $file: status $status"
        grep -q "not a regular file" "$work/err" || fail "$command of a $file: no message"
    done
done

mkdir "$work/t"
"$tool" reset "$work/t/report" || fail "reset failed"
echo "the player's own copy" >"$work/t/report.backup"
"$tool" reset "$work/t/report" || fail "reset failed the second time"
[ -f "$work/t/report.backup" ] || fail "reset removed report.backup beside its output"

# The player: nobody when run as root (root may write anything), else the
# user running the test. The driver is copied where that player may run it.
player=()
[ "$(id -u)" -eq 0 ] && player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
cp "$build/tests/savedriver" "$work/savedriver"
cp "$build/highscores.initial.dat" "$work/old.dat"
for folder in infolder link store readonly; do
    mkdir "$work/$folder"
done
cp "$work/old.dat" "$work/infolder/highscores.dat"
cp "$work/old.dat" "$work/store/real.dat"
ln -s ../store/real.dat "$work/link/highscores.dat"
cp "$work/old.dat" "$work/readonly/highscores.dat"
chmod 444 "$work/readonly/highscores.dat"
[ "$(id -u)" -eq 0 ] && chown -R -h 65534:65534 "$work"/{infolder,link,store,readonly}
chmod 755 "$work" "$work/savedriver"
chmod 555 "$work/infolder"

# Records a new best score as the player in the given folder; prints the status.
record() {
    (cd "$work/$1" && exec "${player[@]}" "$work/savedriver" record) >"$work/$1.out" 2>&1
    echo $?
}
# True when the file holds the new table.
saved() { "$tool" decode "$1" 2>/dev/null | grep -q "^Faulty"; }

[ "$(record infolder)" -eq 0 ] || fail "the save in a read-only folder failed: $(cat "$work/infolder.out")"
saved "$work/infolder/highscores.dat" || fail "the file in a read-only folder was not rewritten"

[ "$(record link)" -eq 0 ] || fail "the save through a link failed: $(cat "$work/link.out")"
[ -L "$work/link/highscores.dat" ] || fail "the link was replaced by a file"
saved "$work/store/real.dat" || fail "the link's target does not hold the new table"
left=$(ls -A "$work/link" "$work/store" | grep -c '\.tmp$')
[ "$left" -eq 0 ] || fail "the save through a link left a temporary file"

[ "$(record readonly)" -eq 1 ] || fail "the save of a read-only file did not fail"
grep -q "Fatal Error!  Cannot open High Scores file" "$work/readonly.out" ||
    fail "no message for the read-only file"
cmp -s "$work/readonly/highscores.dat" "$work/old.dat" || fail "the read-only file was changed"

if [ "$failures" -ne 0 ]; then
    echo "$failures high-score file edge case(s) failed"
    exit 1
fi
echo "pipes and devices refused, backups kept, read-only folders, links and read-only files handled"
