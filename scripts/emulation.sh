#!/usr/bin/env bash
# The 32-bit program on machines whose kernel cannot execute 32-bit Linux programs: Debian 13's
# qemu-user (statically linked, so it runs on Debian 12) is fetched with apt into the build tree,
# with a private sources list and private apt state, so that the system's sources and packages
# stay as they are; a command then runs in a private user namespace whose own binfmt_misc (kernel
# 6.7 and later) hands i386 programs, wine32 among them, to its qemu-i386.
#   scripts/emulation.sh fetch        fetches the emulator unless it is there
#   scripts/emulation.sh run CMD...   runs CMD where i386 programs start through it
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=$root/build/qemu
qemu=$cache/root/usr/bin/qemu-i386

# The machine's own Debian archive, from the stanza (or line) of its release's suite.
archive() {
  local codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  awk -v suite="$codename" '
    /^URIs:/ { uri = $2 } /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) { print uri; exit } }
    $1 == "deb" { for (i = 2; i <= NF; i++) if ($i == suite) { print $(i - 1); exit } }' \
    /etc/apt/sources.list.d/*.sources /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | head -n 1
}

fetch() {
  [ -x "$qemu" ] && return 0
  local uri
  uri=$(archive)
  [ -n "$uri" ] || { echo "emulation: no Debian archive in this machine's apt sources" >&2; return 1; }
  mkdir -p "$cache/lists/partial" "$cache/archives/partial" "$cache/apt"
  # The archive's signature is checked as always, against the trixie keys that Debian 12's
  # debian-archive-keyring already holds.
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri trixie main" >"$cache/sources.list"
  local apt=(apt-get -qq -o "Dir::Etc::sourcelist=$cache/sources.list" -o Dir::Etc::sourceparts=-
    -o "Dir::State::lists=$cache/lists" -o "Dir::Cache=$cache/apt" -o "Dir::Cache::archives=$cache/archives"
    -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
  echo "emulation: fetching Debian 13's qemu-user from $uri"
  "${apt[@]}" update
  (cd "$cache" && rm -f qemu-user_*.deb && "${apt[@]}" download qemu-user)
  rm -rf "$cache/root"
  dpkg-deb -x "$cache"/qemu-user_*.deb "$cache/root"
  rm -f "$cache"/qemu-user_*.deb
}

case "${1:-}" in
  fetch)
    fetch
    ;;
  run)
    shift
    [ -x "$qemu" ] || { echo "emulation: no emulator in $cache; run '$0 fetch'" >&2; exit 1; }
    exec unshare --user --map-root-user --mount -- "$0" enter "$@"
    ;;
  enter)  # inside the namespace made by run
    shift
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    # The i386 ELF header, as binfmt_misc matches it; O, P and F as qemu's own setup registers it.
    printf '%s' ":omb-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$qemu:OPF" \
      >/proc/sys/fs/binfmt_misc/register
    OMB_EMULATED=1 exec "$@"
    ;;
  *)
    sed -n '2,9p' "$0" >&2
    exit 2
    ;;
esac
