#!/usr/bin/env bash
# Packs the programs and the user guide into build/OmbrivoBeta-<version>.zip: the 32-bit program
# at the package's root, the 64-bit one in x64/. OMB_DIST_EXE, OMB_DIST_EXE64 and OMB_DIST_DIR
# name other program files and another output folder (for its test).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(OmbrivoBeta VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
exe="${OMB_DIST_EXE:-$root/build/win32/OmbrivoBeta.exe}"
exe64="${OMB_DIST_EXE64:-$root/build/win64/OmbrivoBeta.exe}"
out="${OMB_DIST_DIR:-$root/build}"
stage="$out/dist/OmbrivoBeta-$version"
rm -rf "$out/dist"
mkdir -p "$stage/x64"
# Without their debugging information: a user's download, not a developer's.
i686-w64-mingw32-strip -o "$stage/OmbrivoBeta.exe" "$exe"
x86_64-w64-mingw32-strip -o "$stage/x64/OmbrivoBeta.exe" "$exe64"
# The guide travels as Notepad writes UTF-8 (with its byte order mark) and with Windows line
# ends, so that Notepad on a Chinese system shows it as it should rather than as GBK.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$root/docs/使用说明.txt"; } > "$stage/使用说明.txt"
zip_path="$out/OmbrivoBeta-$version.zip"
rm -f "$zip_path"
# Python's writer marks the non-ASCII names as UTF-8, so unpackers do not read them as GBK.
python3 - "$out/dist" "$zip_path" <<'PY'
import os, sys, zipfile
base, target = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as archive:
    for folder, _, names in sorted(os.walk(base)):
        for name in sorted(names):
            path = os.path.join(folder, name)
            archive.write(path, os.path.relpath(path, base))
PY
echo "dist: $zip_path"
