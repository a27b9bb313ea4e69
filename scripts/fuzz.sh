#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it for a bounded time (FUZZ_SECONDS, 60 by
# default). A crashing input is left in build/fuzz/ to be turned into a regular test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/fuzz"
mkdir -p "$out/corpus"
flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all"
clang++ $flags -I"$root/engine" -I"$root/dialogs" -I"$root/job" \
  "$root/tests/fuzz/PathAndDialogFuzzer.cpp" "$root/engine/mFileHlp.cpp" \
  "$root/dialogs/mDialogResult.cpp" "$root/job/mDropList.cpp" -o "$out/path_dialog_fuzzer"
cd "$out"
./path_dialog_fuzzer -max_total_time="${FUZZ_SECONDS:-60}" -max_len=4096 -print_final_stats=1 corpus
