#!/usr/bin/env bash
# Runs every test suite: the native build (ASan, UBSan), then the Windows build under Wine
# with a private prefix and display. Both run inside a private mount namespace that holds a
# tiny file system (for disk-full cases) and a read-only one, when the machine allows it.
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

status=0
echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer) =="
ctest --preset native -j2 || status=1

echo "== Windows tests under Wine =="
"$root/scripts/wine-ctest.sh" "$root/build/win32" || status=1
exit $status
