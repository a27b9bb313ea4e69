#!/usr/bin/env bash
# Runs ctest over a Windows build directory under Wine, with the prefix and the X display
# private to that build directory. Usage: scripts/wine-ctest.sh BUILD_DIR [ctest arguments]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:?usage: wine-ctest.sh BUILD_DIR [ctest args]}")
shift
source "$root/scripts/winenv.sh"
winenv_start "$build"
trap winenv_stop EXIT
ctest --test-dir "$build" --output-on-failure --timeout 900 "$@"
