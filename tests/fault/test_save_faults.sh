#!/usr/bin/env bash
# Breaks each system call of the high-score save in turn (open, the temporary
# file, write, a short write, fsync, close, rename) and kills the process at
# each step. Afterwards highscores.dat must be the old table or the new one
# byte for byte, a failed save must say so (exit status 1), and once the game
# has started again a minute later no temporary file may be left beside it.
#
# The calls the save driver makes, in order: open 1 and close 1 read the file
# at start, open 2 and close 2 read it again for the save, open 3 checks that
# it may be written (close 3 lets it go), mkstemps makes the temporary file,
# write and fsync 1 fill it, close 4 closes it, rename puts it in place and
# fsync 2 syncs the folder. Where no temporary file can be made, the file
# opened by open 3 is rewritten in place.
# Usage: test_save_faults.sh BUILD_DIR
set -u
build=$1
driver=$build/tests/savedriver
shim=$build/tests/libsavefault.so
work=$(mktemp -d /tmp/tg-savefault.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
# The shim cannot come before a sanitizer runtime; tell it not to mind.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"

# Reports a failed expectation and carries on with the next case.
fail() { echo "FAIL [$case]: $*"; failures=$((failures + 1)); }

cp "$build/highscores.initial.dat" "$work/old.dat"
mkdir "$work/clean"
cp "$work/old.dat" "$work/clean/highscores.dat"
(cd "$work/clean" && "$driver" record) || { echo "the save fails without any fault"; exit 1; }
cp "$work/clean/highscores.dat" "$work/new.dat"
cmp -s "$work/old.dat" "$work/new.dat" && { echo "the save changed nothing"; exit 1; }

# One case: FAULT [NTH] EXPECT, where EXPECT is old, new or either.
run_case() {
    local fault=$1 nth=$2 expect=$3 dir status
    case="$fault#$nth"
    dir=$(mktemp -d "$work/case.XXXXXX")
    cp "$work/old.dat" "$dir/highscores.dat"
    # (The braces keep the shell's own "Killed" notice out of the log.)
    { (cd "$dir" && TG_FAULT=$fault TG_FAULT_NTH=$nth LD_PRELOAD=$shim exec "$driver" record) \
        >"$dir/out" 2>&1; status=$?; } 2>/dev/null
    local now=other
    cmp -s "$dir/highscores.dat" "$work/old.dat" && now=old
    cmp -s "$dir/highscores.dat" "$work/new.dat" && now=new
    [ "$now" = other ] && fail "highscores.dat is neither the old nor the new table"
    [ "$expect" != either ] && [ "$now" != "$expect" ] && fail "expected the $expect table, found the $now one"
    case "$fault" in
        *:kill*) [ "$status" -eq 137 ] || fail "the process was not killed (status $status)" ;;
        *) if [ "$now" = new ]; then
               [ "$status" -eq 0 ] || fail "saved, yet exit status $status"
           else
               [ "$status" -eq 1 ] || fail "not saved, yet exit status $status"
               grep -q "Fatal Error!" "$dir/out" ||
                   fail "no message for the failed save"
           fi ;;
    esac
    # The next start of the game, a minute later, tidies up after a killed save.
    find "$dir" -name '.highscores.dat.*.tmp' -exec touch -d '2 minutes ago' {} +
    (cd "$dir" && "$driver" start) >/dev/null 2>&1 || fail "the next start failed"
    local left
    left=$(cd "$dir" && ls -A | grep -v -x -e highscores.dat -e out)
    [ -z "$left" ] || fail "left behind: $left"
    rm -rf "$dir"
}

run_case open:fail 1 old
run_case open:fail 2 old
run_case open:fail 3 old
run_case mkstemps:fail 1 new
run_case write:fail 1 old
run_case write:short 1 new
run_case write:shortfail 1 old
run_case fsync:fail 1 old
run_case fsync:fail 2 new
run_case close:fail 4 old
run_case rename:fail 1 old
for step in open:killafter mkstemps:killbefore mkstemps:killafter write:killbefore \
            write:killhalfway write:killafter fsync:killbefore fsync:killafter \
            rename:killbefore; do
    run_case "$step" 1 old
done
run_case open:killafter 2 old
run_case open:killafter 3 old
run_case close:killbefore 4 old
run_case close:killafter 4 old
run_case rename:killafter 1 new
run_case fsync:killbefore 2 new

if [ "$failures" -ne 0 ]; then
    echo "$failures save fault case(s) failed"
    exit 1
fi
echo "every save fault left the old or the new table and no temporary file"
