# Sourced by test.sh and bench.sh: mounts the device rig (tests/rig) inside the caller's private
# mount namespace and unmounts every mount it made when the caller ends.
# Usage: source scripts/rig.sh; rig_usable RIG_BINARY || echo "$rig_why"
#        rig_mount RIG_BINARY BACKING MOUNT OPTIONS
# rig_unmount_all runs from the caller's EXIT trap; rig_unmount MOUNT BACKING ends one early.

rig_mounts=()

# Succeeds when the rig can be mounted here; otherwise says why in rig_why.
rig_usable() {
  rig_why=
  if [ -z "${OMB_IN_NAMESPACE:-}" ]; then
    rig_why="no private mount namespace (needs root and unshare)"
  elif [ ! -x "$1" ]; then
    rig_why="$1 was not built (libfuse3-dev missing?)"
  elif [ ! -c /dev/fuse ]; then
    rig_why="/dev/fuse is missing"
  fi
  [ -z "$rig_why" ]
}

# rig_mount RIG_BINARY BACKING MOUNT OPTIONS: a tmpfs as the backing folder (its own size, so
# nothing but the rig limits the device), the rig over it. Returns once the mount is ready.
rig_mount() {
  local binary=$1 backing=$2 mount=$3 options=$4
  mkdir -p "$backing" "$mount"
  mount -t tmpfs -o size=1200m tmpfs "$backing" || return 1
  rig_mounts+=("$backing")
  if ! "$binary" "$backing" "$mount" -o "$options"; then
    echo "rig: could not mount $mount" >&2
    return 1
  fi
  rig_mounts+=("$mount")
}

# rig_unmount MOUNT BACKING: ends one rig and its backing folder before the caller ends.
rig_unmount() {
  local m kept=()
  for m in "$1" "$2"; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null; done
  for m in "${rig_mounts[@]}"; do [ "$m" != "$1" ] && [ "$m" != "$2" ] && kept+=("$m"); done
  rig_mounts=("${kept[@]}")
}

rig_unmount_all() {
  local i
  for ((i = ${#rig_mounts[@]} - 1; i >= 0; i--)); do
    umount "${rig_mounts[i]}" 2>/dev/null || umount -l "${rig_mounts[i]}" 2>/dev/null
  done
  rig_mounts=()
}
