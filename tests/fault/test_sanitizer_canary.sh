#!/usr/bin/env bash
# Runs each deliberate fault of the canary under the sanitizer options in
# force and insists that every one fails with a report. Usage: test_sanitizer_canary.sh CANARY
set -u
failures=0
for mode in overflow undefined leak; do
    out=$("$1" "$mode" 2>&1)
    status=$?
    if [ "$status" -eq 0 ] || ! grep -q -e "ERROR: AddressSanitizer" -e "runtime error" \
                                     -e "ERROR: LeakSanitizer" <<<"$out"; then
        echo "the sanitizers let a $mode through (status $status)"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && echo "overflow, undefined behaviour and leak each failed the run"
exit "$failures"
