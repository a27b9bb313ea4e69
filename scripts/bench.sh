#!/usr/bin/env bash
# Builds the benchmarks optimised (no sanitizers) and runs them natively and under Wine: the
# 32-bit build under wine32 where this machine can start it, else the 64-bit one under wine64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/winenv.sh"
native="$root/build/bench-native"
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DOMB_SANITIZE=OFF >/dev/null
cmake --build "$native" -j"$(nproc)" --target engine_bench >/dev/null
winenv_pick_build
build=$winenv_build
preset=$(basename "$build")
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)" --target engine_bench window_bench >/dev/null

work="$root/build/bench-files"
mkdir -p "$work"
echo "== native =="
"$native/engine_bench" "$work" 3

winenv_start "$build"
trap winenv_stop EXIT
echo "== $winenv_name (${winenv_win32_why:-this machine starts wine32}) =="
"$winenv_wine" "$build/engine_bench.exe" "Z:${work//\//\\}" 3
# The window hosted in-process on the same display: small files through a real run, and List1.
"$winenv_wine" "$build/window_bench.exe" "Z:${work//\//\\}" 3
