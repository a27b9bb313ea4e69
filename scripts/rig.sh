# Sourced by test.sh and bench.sh: mounts the device rig (tests/rig) inside the caller's private
# mount namespace and unmounts every mount it made when the caller ends.
# Usage: source scripts/rig.sh; rig_usable RIG_BINARY || echo "$rig_why"
#        rig_backing BACKING; rig_mount RIG_BINARY BACKING MOUNT OPTIONS
# rig_unmount_all runs from the caller's EXIT trap; rig_unmount MOUNT ends one mount early.

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

# rig_backing FOLDER: a tmpfs of its own for the rig to pass through to, so nothing but the
# rig limits the device and its flushes cost nothing.
rig_backing() {
  mkdir -p "$1"
  mount -t tmpfs -o size=1200m tmpfs "$1" || return 1
  rig_mounts+=("$1")
}

# rig_mount RIG_BINARY BACKING MOUNT OPTIONS: returns once the mount is ready.
rig_mount() {
  mkdir -p "$3"
  if ! "$1" "$2" "$3" -o "$4"; then
    echo "rig: could not mount $3" >&2
    return 1
  fi
  rig_mounts+=("$3")
}

# rig_unmount MOUNT: ends one mount before the caller ends.
rig_unmount() {
  local m kept=()
  umount "$1" 2>/dev/null || umount -l "$1" 2>/dev/null
  for m in "${rig_mounts[@]}"; do [ "$m" != "$1" ] && kept+=("$m"); done
  rig_mounts=("${kept[@]}")
}

rig_unmount_all() {
  local i
  for ((i = ${#rig_mounts[@]} - 1; i >= 0; i--)); do
    umount "${rig_mounts[i]}" 2>/dev/null || umount -l "${rig_mounts[i]}" 2>/dev/null
  done
  rig_mounts=()
}
