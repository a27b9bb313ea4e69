#!/usr/bin/env bash
# Builds the benchmarks optimised (no sanitizers) and runs them natively and under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native="$root/build/bench-native"
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DOMB_SANITIZE=OFF >/dev/null
cmake --build "$native" -j"$(nproc)" --target engine_bench >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)" --target engine_bench window_bench >/dev/null

work="$root/build/bench-files"
mkdir -p "$work"
echo "== native =="
"$native/engine_bench" "$work" 3

echo "== Wine =="
source "$root/scripts/winenv.sh"
winenv_start "$root/build/win32"
trap winenv_stop EXIT
wine "$root/build/win32/engine_bench.exe" "Z:${work//\//\\}" 3
# The window hosted in-process on the same display: small files through a real run, and List1.
wine "$root/build/win32/window_bench.exe" "Z:${work//\//\\}" 3
