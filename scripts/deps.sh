#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build and the tests need and is not there yet.
# Quiet when everything is present; needs root only when something is missing.
set -euo pipefail

packages=(
  make cmake g++ googletest python3
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  wine wine64 wine32:i386
  xvfb xauth x11-utils imagemagick librsvg2-bin python3-pil
  fonts-wqy-zenhei fonts-wqy-microhei zip locales
  clang libclang-rt-14-dev
  pkg-config libfuse3-dev fuse3 libxxhash-dev nlohmann-json3-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# Wine takes its code page (936) from the Chinese locale and needs glibc to know that
# locale, or it cannot encode non-ASCII file names on the host.
locale_missing=0
locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' || locale_missing=1
# install_missing: what is missing, as root.
install_missing() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "deps: missing packages: ${missing[*]}; locale zh_CN.UTF-8 missing: $locale_missing" >&2
    echo "deps: run 'sudo $0' (or as root) to install them with apt-get." >&2
    exit 1
  fi

  [ ${#missing[@]} -gt 0 ] && echo "deps: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  if [ $locale_missing -eq 1 ]; then
    echo "deps: generating the zh_CN.UTF-8 locale"
    sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}
if [ ${#missing[@]} -gt 0 ] || [ $locale_missing -eq 1 ]; then install_missing; fi

# Where this kernel cannot execute 32-bit programs, wine32 runs through Debian 13's qemu-i386,
# fetched into the build tree (scripts/emulation.sh); a machine that can is left as it is.
if [ "${OMB_WIN32_TESTS:-1}" != 0 ] &&
  { [ "${OMB_WIN32_EMULATE:-0}" = 1 ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1 </dev/null; }; then
  "$(dirname "$0")/emulation.sh" fetch || echo "deps: no emulator for wine32; the 32-bit suites will not run" >&2
fi
