#!/usr/bin/env bash
# Starts the program under Wine: the 32-bit program where this machine can start wine32, else the
# 64-bit one. On the user's display, or on a private Xvfb display where a screenshot is saved
# once the window is up.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/winenv.sh"
winenv_pick_build
build=$winenv_build
exe="$build/OmbrivoBeta.exe"
preset=$(basename "$build")
cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$(nproc)" --target OmbrivoBeta || exit 1
[ -n "$winenv_win32_why" ] && echo "run: the 64-bit program under wine64: $winenv_win32_why"
[ -z "$winenv_win32_why" ] && echo "run: the 32-bit program under wine32"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  WINENV_KEEP_DISPLAY=1 winenv_start "$build"
  trap winenv_stop EXIT
  "$winenv_wine" "$exe"
  exit $?
fi

winenv_start "$build"
trap winenv_stop EXIT
"$winenv_wine" "$exe" &
app=$!
shot="$root/build/screenshot.png"
for _ in $(seq 1 60); do
  sleep 0.5
  xwininfo -root -tree 2>/dev/null | grep -q '"OmbrivoBeta"' && break
done
sleep 1
import -window root "$shot" && echo "run: no display; the program runs under Xvfb $DISPLAY; screenshot: $shot"
echo "run: press Ctrl+C to end it"
wait $app
