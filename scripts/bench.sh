#!/usr/bin/env bash
# Builds the benchmarks optimised (no sanitizers) and runs them natively and under Wine: the
# 32-bit build under wine32 where this machine can start it, else the 64-bit one under wine64.
# As root it runs in a private mount namespace, where the device rig stands in for a slow
# source and destination device.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${OMB_IN_NAMESPACE:-}" ] && [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
  export OMB_IN_NAMESPACE=1
  exec unshare -m --propagation private "$0" "$@"
fi

source "$root/scripts/winenv.sh"
source "$root/scripts/rig.sh"
native="$root/build/bench-native"
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release -DOMB_SANITIZE=OFF >/dev/null
cmake --build "$native" -j"$(nproc)" --target engine_bench >/dev/null
cmake --build "$native" -j"$(nproc)" --target device_rig >/dev/null 2>&1 || true
# Figures of the program, not of an emulator: where wine32 would need one, the 64-bit program.
OMB_WIN32_NATIVE_ONLY=1 winenv_pick_build
build=$winenv_build
preset=$(basename "$build")
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)" --target engine_bench window_bench >/dev/null

work="$root/build/bench-files"
mkdir -p "$work"
trap 'winenv_stop; rig_unmount_all' EXIT

# A 256 MiB file from a source device that reads at R MB/s to a destination device that writes
# at W MB/s, one row each; each row mounts the two devices afresh.
devices="$root/build/mnt/bench"
device_rows_ready=0
if rig_usable "$native/device_rig" && rig_backing "$devices/source-backing" && rig_backing "$devices/target-backing"; then
  head -c $((256 << 20)) /dev/urandom >"$devices/source-backing/source.bin"
  device_rows_ready=1
fi
# device_rows PROGRAM SOURCE FOLDER [PREFIX...]: runs engine_bench --device on each row.
device_rows() {
  if [ $device_rows_ready -eq 0 ]; then
    echo "device rows: not run: ${rig_why:-the device rig could not be set up}"
    return
  fi
  local row r w
  for row in 40/40 40/200 200/40; do
    r=${row%/*} w=${row#*/}
    rig_mount "$native/device_rig" "$devices/source-backing" "$devices/source" "read_mbps=$r"
    rig_mount "$native/device_rig" "$devices/target-backing" "$devices/target" "write_mbps=$w"
    "$@" "$r" "$w" 5
    rig_unmount "$devices/source"
    rig_unmount "$devices/target"
  done
}

echo "== native =="
"$native/engine_bench" "$work" 3
# What keeping each replaced backup as a version costs a second run over small files.
"$native/engine_bench" --versions "$work" 5
device_rows "$native/engine_bench" --device "$devices/source/source.bin" "$devices/target"

winenv_start "$build"
echo "== $winenv_name (${winenv_win32_why:-this machine starts wine32}) =="
"$winenv_wine" "$build/engine_bench.exe" "Z:${work//\//\\}" 3
# Where a small file's time goes in the engine, step by step, beside CopyFileW with a flush.
# Five rounds: a small file's time is mostly the disk's, which varies from pass to pass.
"$winenv_wine" "$build/engine_bench.exe" --small "Z:${work//\//\\}" 5
"$winenv_wine" "$build/engine_bench.exe" --versions "Z:${work//\//\\}" 5
device_rows "$winenv_wine" "$build/engine_bench.exe" --device "Z:${devices//\//\\}\\source\\source.bin" \
  "Z:${devices//\//\\}\\target"
# The window hosted in-process on the same display: small files through a real run, and List1.
"$winenv_wine" "$build/window_bench.exe" "Z:${work//\//\\}" 5

# How the window answers during a run, and how soon "停止" ends it: a folder of 100,000 small
# files while it is counted and while it is copied, and a 1 GiB file to a 40 MB/s rig device
# while its chunks are written and, stopped at once, as its last one is. One process a row, so
# that each peak is its own.
many="$work/many"
if [ ! -d "$many" ]; then
  python3 - "$many" <<'PY'
import os, sys
root = sys.argv[1]
for f in range(100):
    folder = os.path.join(root, "f%03d" % f)
    os.makedirs(folder)
    for i in range(1000):
        with open(os.path.join(folder, "file%04d.txt" % i), "wb") as out:
            out.write(b"x" * 1024)
PY
fi
rm -rf "$work/many-dest" && mkdir -p "$work/many-dest"
for moment in counted copied; do
  "$winenv_wine" "$build/window_bench.exe" --answer "$moment" "Z:${many//\//\\}" "Z:${work//\//\\}\\many-dest"
  rm -rf "$work/many-dest" && mkdir -p "$work/many-dest"
done
# The whole run of a 1 GiB file to a folder on the local disk, as long as the window waits for
# any call of the copy, and how soon "停止" ends it as the last chunk is written.
truncate -s 1G "$work/large.bin"
rm -rf "$work/whole-dest" && mkdir -p "$work/whole-dest"
"$winenv_wine" "$build/window_bench.exe" --whole "Z:${work//\//\\}\\large.bin" "Z:${work//\//\\}\\whole-dest"
rm -rf "$work/whole-dest"
answer_device="$root/build/mnt/answer"
if rig_usable "$native/device_rig" && rig_backing "$answer_device-backing"; then
  for moment in chunks readback; do
    rm -f "$answer_device-backing"/* "$answer_device-backing"/.[!.]* 2>/dev/null || true
    rig_mount "$native/device_rig" "$answer_device-backing" "$answer_device" "read_mbps=40,write_mbps=40"
    "$winenv_wine" "$build/window_bench.exe" --answer "$moment" "Z:${work//\//\\}\\large.bin" "Z:${answer_device//\//\\}"
    rig_unmount "$answer_device"
  done
else
  echo "window during a run, chunks and readback: not run: ${rig_why:-the device rig could not be set up}"
fi

# A run over 100,000 files through the window, first into an empty folder, then unchanged, with
# the process's peak memory: all in one folder, and 100 in each of 1,000 folders. Measured on the
# program as it ships, stripped of its debugging information, which Wine would otherwise read
# into memory with the image.
make_files() {  # make_files FOLDER FOLDERS FILES_EACH
  [ -d "$1" ] && return 0
  python3 - "$@" <<'PY'
import os, sys
root, folders, each = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for f in range(folders):
    folder = root if folders == 1 else os.path.join(root, "d%04d" % f)
    os.makedirs(folder, exist_ok=True)
    for i in range(each):
        open(os.path.join(folder, "file%06d.txt" % i), "wb").close()
PY
}
make_files "$work/one-folder" 1 100000
make_files "$work/many-folders" 1000 100
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
"$strip" -o "$build/window_bench-stripped.exe" "$build/window_bench.exe"
for row in "one-folder:100,000 files in one folder" "many-folders:100,000 files in 1,000 folders"; do
  rm -rf "$work/files-dest" && mkdir -p "$work/files-dest"
  "$winenv_wine" "$build/window_bench-stripped.exe" --many "${row#*:}" "Z:${work//\//\\}\\${row%%:*}" "Z:${work//\//\\}\\files-dest"
done
rm -rf "$work/files-dest"
