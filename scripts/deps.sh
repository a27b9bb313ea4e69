#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build and the tests need and is not there yet.
# Quiet when everything is present; needs root only when something is missing.
set -euo pipefail

packages=(
  make cmake g++ googletest python3
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  wine wine32:i386
  xvfb xauth x11-utils imagemagick
  fonts-wqy-zenhei zip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "deps: missing packages: ${missing[*]}" >&2
  echo "deps: run 'sudo $0' (or as root) to install them with apt-get." >&2
  exit 1
fi

echo "deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
