#!/usr/bin/env bash
# Runs every test suite: the native build (ASan, UBSan); the 64-bit Windows build under wine64,
# on every machine; the 32-bit Windows build under wine32, natively where this machine can start
# it, else through the emulator of scripts/emulation.sh. Each Windows build has its own prefix and
# display. Everything runs inside a private mount namespace that holds a tiny file system (for
# disk-full cases) and a read-only one, when the machine allows it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${OMB_IN_NAMESPACE:-}" ] && [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
  export OMB_IN_NAMESPACE=1
  exec unshare -m --propagation private "$0" "$@"
fi

if [ -n "${OMB_IN_NAMESPACE:-}" ]; then
  mnt="$root/build/mnt"
  mkdir -p "$mnt/tiny" "$mnt/readonly"
  mount -t tmpfs -o size=256k tmpfs "$mnt/tiny" && export OMB_TEST_TINY_DIR="$mnt/tiny"
  mount -t tmpfs -o ro,size=64k tmpfs "$mnt/readonly" && export OMB_TEST_READONLY_DIR="$mnt/readonly"
fi
source "$root/scripts/winenv.sh"
source "$root/scripts/rig.sh"
trap rig_unmount_all EXIT

# The device rig for the engine's tests: a source and destination device with bandwidth of
# their own, and faults by path: reads of any "read-fails" file and writes into any
# "write-fails" folder fail from 1 MiB on; a lying device drops writes into "drops-writes"
# folders and inverts bytes read back from "flips-reads" folders, from 1 MiB on.
rig_note="device rig: mounted for the engine tests above"
if rig_usable "$root/build/native/device_rig" && rig_backing "$mnt/rig-backing" &&
  rig_mount "$root/build/native/device_rig" "$mnt/rig-backing" "$mnt/rig" \
    "read_mbps=150,write_mbps=100,fail_read=read-fails@1048576,fail_write=write-fails/@1048576,drop_write=drops-writes/@1048576,flip_read=flips-reads/@1048576"; then
  export OMB_TEST_RIG_DIR="$mnt/rig"
else
  rig_note="not run: engine tests through the device rig: ${rig_why:-the rig did not mount}"
fi

status=0
summary=()
# run_suites TITLE COMMAND...: runs one group of suites and notes how it went.
run_suites() {
  local title=$1
  shift
  echo "== $title =="
  if "$@"; then
    summary+=("ran: $title: passed")
  else
    summary+=("ran: $title: FAILED")
    status=1
  fi
}

run_suites "native tests (AddressSanitizer, UndefinedBehaviorSanitizer)" ctest --preset native -j2
run_suites "Windows tests, 64-bit build, under wine64" "$root/scripts/wine-ctest.sh" "$root/build/win64"
if winenv_win32_runs; then
  run_suites "Windows tests, 32-bit build, under wine32 $winenv_win32_how" \
    "${winenv_win32_via[@]}" "$root/scripts/wine-ctest.sh" "$root/build/win32"
else
  summary+=("not run: Windows tests, 32-bit build: $winenv_win32_why")
fi

summary+=("$rig_note")
echo "== summary =="
printf '%s\n' "${summary[@]}"
exit $status
