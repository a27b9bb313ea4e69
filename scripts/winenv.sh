# Sourced by the build scripts: a private Wine prefix inside the build tree and a private X display.
# Usage: source scripts/winenv.sh; winenv_start BUILD_DIR; $winenv_wine prog.exe ...; winenv_stop
# A build of the 64-bit program runs under wine64 in a 64-bit prefix, one of the 32-bit program
# under wine32 in a 32-bit prefix; each build directory keeps its own prefix.

winenv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
winenv_loader32=/usr/lib/wine/wine
winenv_loader64=/usr/lib/wine/wine64

# Succeeds when this machine can start wine32, natively or, where its kernel no longer executes
# 32-bit Linux programs, through the emulator of scripts/emulation.sh; winenv_win32_how then says
# which, and winenv_win32_via holds what a command that starts wine32 runs inside (nothing when
# native). Otherwise says why in winenv_win32_why. OMB_WIN32_TESTS=0 takes the 64-bit path on any
# machine; OMB_WIN32_EMULATE=1 takes the emulated path even where wine32 starts natively;
# OMB_WIN32_NATIVE_ONLY=1 (benchmarks, which must not measure an emulator) takes no emulation.
# (OMB_WIN32_NATIVE_ONLY=1 winenv_pick_build: the assignment holds for that one call.)
winenv_win32_runs() {
  winenv_win32_why= winenv_win32_how= winenv_win32_via=()
  if [ "${OMB_WIN32_TESTS:-1}" = 0 ]; then
    winenv_win32_why="OMB_WIN32_TESTS=0 asks for the 64-bit build only"
    return 1
  fi
  local answer emulated
  if [ -n "${OMB_EMULATED:-}" ]; then  # inside the namespace of scripts/emulation.sh
    winenv_win32_how="under emulation (Debian 13's qemu-i386, in a private user namespace)"
    return 0
  fi
  if [ "${OMB_WIN32_EMULATE:-0}" = 1 ]; then
    winenv_win32_why="OMB_WIN32_EMULATE=1 asks for wine32 under emulation"
  elif answer=$("$winenv_loader32" --version 2>&1 </dev/null); then
    winenv_win32_how="natively"
    return 0
  else
    winenv_win32_why="this machine cannot start wine32 ($winenv_loader32: ${answer:-no answer})"
  fi
  if [ "${OMB_WIN32_NATIVE_ONLY:-0}" = 1 ]; then
    winenv_win32_why="$winenv_win32_why; a benchmark measures no emulator, so not through qemu-i386 either"
    return 1
  fi
  if ! emulated=$("$winenv_root/scripts/emulation.sh" run "$winenv_loader32" --version 2>&1 </dev/null); then
    winenv_win32_why="$winenv_win32_why, nor under emulation (${emulated:-no answer})"
    return 1
  fi
  winenv_win32_how="under emulation (Debian 13's qemu-i386, in a private user namespace)"
  winenv_win32_via=("$winenv_root/scripts/emulation.sh" run)
  return 0
}

# Sets winenv_build to the build whose programs this machine runs: the 32-bit one where wine32
# starts, else the 64-bit one (winenv_win32_why then says why).
winenv_pick_build() {
  if winenv_win32_runs; then winenv_build=$winenv_root/build/win32; else winenv_build=$winenv_root/build/win64; fi
}

winenv_export() {
  local build
  build=$(realpath -m "${1:-$winenv_root/build/win32}")
  export WINEPREFIX="$build/wineprefix"
  if grep -q '^CMAKE_TOOLCHAIN_FILE:.*x86_64' "$build/CMakeCache.txt" 2>/dev/null; then
    export WINEARCH=win64 WINELOADER=$winenv_loader64
    winenv_name=wine64
  else
    export WINEARCH=win32 WINELOADER=$winenv_loader32
    winenv_name=wine32
  fi
  # The loader itself, not the `wine` wrapper, which always picks wine32 when it is installed.
  winenv_wine=$WINELOADER
  export WINEDEBUG=-all
  # Chinese locale: code page 936 and Chinese UI text; no glibc locale needs to be generated.
  export LANG=zh_CN.UTF-8
  # No Mono or Gecko installer prompts while the prefix is made.
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Starts Xvfb on the first free display from :90 and exports DISPLAY.
winenv_start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  winenv_xvfb_pid=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "winenv: Xvfb did not start on :$n" >&2
  return 1
}

# Makes the prefix on first use and starts Wine's long-lived helpers with their
# standard streams detached, so that no test runner waits for them.
winenv_boot() {
  local fresh=0
  [ -f "$WINEPREFIX/system.reg" ] || fresh=1
  mkdir -p "$WINEPREFIX"
  wineserver -p >/dev/null 2>&1 </dev/null
  "$winenv_wine" wineboot -i >/dev/null 2>&1 </dev/null || true
  # Named for the version of the settings below: a prefix made under older ones takes these
  # at its next boot. Raise the number whenever the settings change.
  local settings="$WINEPREFIX/display-settings.3"
  if [ $fresh -eq 1 ] || [ ! -f "$settings" ]; then
    # Every face the window and the system's dialogs ask for is drawn from an outline CJK font:
    # the 12 px bitmaps of WenQuanYi Zen Hei Sharp lose strokes, so that characters read as others.
    # "宋体" is the window's own font. In code page 936 Wine substitutes SimSun for "MS Shell Dlg",
    # the face of the dialog templates (file dialog, folder browser), of DEFAULT_GUI_FONT and of
    # the message, caption and menu fonts of the non-client metrics (message boxes). Tahoma, which
    # is not installed, is "MS Shell Dlg 2"; NSimSun (新宋体) is "Tms Rmn".
    # The key is emptied first, so that no replacement of an older version stays behind.
    # regedit reads a version 5 file as UTF-16, which carries the Chinese face names intact.
    iconv -f UTF-8 -t UTF-16 > "$WINEPREFIX/fonts.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
; Xvfb runs no window manager: without this Wine waits for one on every window it hides.
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
; A program that crashes prints its backtrace and ends, rather than waiting for someone to
; close Wine's crash dialog (a test then failed only when ctest's timeout ran out).
"ShowCrashDialog"=dword:00000000

[-HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"新宋体"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"
"Tahoma"="WenQuanYi Micro Hei"
REG
    if "$winenv_wine" regedit "$WINEPREFIX/fonts.reg" >/dev/null 2>&1 </dev/null; then
      rm -f "$WINEPREFIX"/display-settings*
      touch "$settings"
    fi
  fi
  "$winenv_wine" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# Drive Q:, which the window's arrival tests plug in: a link in dosdevices to the build's
# "stick" folder, where Wine reads the drive's serial number and label (.windows-serial,
# .windows-label). Wine's mount manager knows only the drives it found when it started, so it is
# started again the one time the link is made.
winenv_link_stick() {
  local stick
  stick="$(dirname "$WINEPREFIX")/stick"
  mkdir -p "$stick"
  [ "$(readlink "$WINEPREFIX/dosdevices/q:" 2>/dev/null)" = "$stick" ] && return 0
  ln -sfn "$stick" "$WINEPREFIX/dosdevices/q:"
  # Read by the mount manager as it starts, not later: the serial and label the tests expect.
  printf '4d2c1b0a\n' >"$stick/.windows-serial"
  printf '\347\205\247\347\211\207\347\233\230\n' >"$stick/.windows-label"  # 照片盘
  wineserver -k >/dev/null 2>&1 </dev/null || true
  wineserver -w >/dev/null 2>&1 </dev/null || true
  wineserver -p >/dev/null 2>&1 </dev/null
  "$winenv_wine" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

winenv_start() {
  winenv_export "${1:-}"
  if [ -z "${WINENV_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    winenv_start_display
  fi
  winenv_boot
  winenv_link_stick
}

winenv_stop() {
  wineserver -k >/dev/null 2>&1 </dev/null || true
  wineserver -w >/dev/null 2>&1 </dev/null || true
  if [ -n "${winenv_xvfb_pid:-}" ]; then
    kill "$winenv_xvfb_pid" 2>/dev/null || true
    wait "$winenv_xvfb_pid" 2>/dev/null || true
    winenv_xvfb_pid=
  fi
}
