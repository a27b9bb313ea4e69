#!/usr/bin/env bash
# Runs one Windows test program for ctest: wine-test.sh LOADER PROGRAM [ARGS...].
# The program writes into a file, printed when it ends, and not into ctest's pipe: a Wine helper
# the program happens to start (a second boot of the prefix's services, say) inherits the
# program's output and lives as long as the Wine server, and ctest reads its pipe to the end (a
# test once printed that all its tests had passed and ctest still waited out its timeout). Here
# only the program itself is waited for.
set -uo pipefail
out=$(mktemp)
"$@" </dev/null >"$out" 2>&1 &
program=$!
# ctest ends a test that runs out of time: the program goes with it and what it wrote is shown.
trap 'kill "$program" 2>/dev/null; cat "$out"; rm -f "$out"; exit 1' TERM INT
wait "$program"
status=$?
cat "$out"
rm -f "$out"
exit $status
