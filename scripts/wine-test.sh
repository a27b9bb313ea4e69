#!/usr/bin/env bash
# Runs one Windows test program for ctest: wine-test.sh LOADER PROGRAM [ARGS...].
# The program writes into a file, printed when it ends, and not into ctest's pipe: a Wine helper
# the program happens to start (a second boot of the prefix's services, say) inherits the
# program's output and lives as long as the Wine server, and ctest reads its pipe to the end (a
# test once printed that all its tests had passed and ctest still waited out its timeout). Here
# only the program itself is waited for.
# Wine now and then fails to start a process while another is ending: a program that ends at once
# with a failure and without a word is said on stderr and started again, twice at most, a second
# apart.
set -uo pipefail
out=$(mktemp)
program=
# ctest ends a test that runs out of time: the program goes with it and what it wrote is shown.
trap 'kill "$program" 2>/dev/null; cat "$out"; rm -f "$out"; exit 1' TERM INT
for attempt in 1 2 3; do
  "$@" </dev/null >"$out" 2>&1 &
  program=$!
  wait "$program"
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$out" ] || [ "$attempt" -eq 3 ]; then break; fi
  echo "wine-test.sh: $2 ended with status $status before writing anything; starting it again" >&2
  sleep 1
done
cat "$out"
rm -f "$out"
exit $status
