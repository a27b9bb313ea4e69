#!/usr/bin/env bash
# Starts the program under Wine: on the user's display, or on a private Xvfb display where a
# screenshot is saved once the window is up.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/winenv.sh"
exe="$root/build/win32/OmbrivoBeta.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  WINENV_KEEP_DISPLAY=1 winenv_start "$root/build/win32"
  trap winenv_stop EXIT
  wine "$exe"
  exit $?
fi

winenv_start "$root/build/win32"
trap winenv_stop EXIT
wine "$exe" &
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
