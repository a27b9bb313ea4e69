#!/usr/bin/env bash
# Starts the program under Wine: the 32-bit program, natively or under emulation where this
# machine's kernel cannot start it (scripts/emulation.sh), else the 64-bit one. On the user's
# display, or on a private Xvfb display where a screenshot is saved once the window is up.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/winenv.sh"
winenv_pick_build
# Where wine32 starts only through the emulator, all of this runs inside its namespace.
if [ ${#winenv_win32_via[@]} -gt 0 ]; then
  exec "${winenv_win32_via[@]}" "$0" "$@"
fi
build=$winenv_build
exe="$build/OmbrivoBeta.exe"
preset=$(basename "$build")
cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$(nproc)" --target OmbrivoBeta || exit 1
[ -n "$winenv_win32_why" ] && echo "run: the 64-bit program under wine64: $winenv_win32_why"
[ -z "$winenv_win32_why" ] && echo "run: the 32-bit program under wine32, $winenv_win32_how"

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
