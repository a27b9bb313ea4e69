#!/usr/bin/env bash
# Packs the program and its user guide into build/OmbrivoBeta-<version>.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(OmbrivoBeta VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
stage="$root/build/dist/OmbrivoBeta-$version"
rm -rf "$root/build/dist"
mkdir -p "$stage"
cp "$root/build/win32/OmbrivoBeta.exe" "$stage/"
# The guide travels with Windows line ends so Notepad shows it as it should.
sed 's/$/\r/' "$root/docs/使用说明.txt" > "$stage/使用说明.txt"
zip_path="$root/build/OmbrivoBeta-$version.zip"
rm -f "$zip_path"
(cd "$root/build/dist" && zip -q -r -X "$zip_path" "OmbrivoBeta-$version")
echo "dist: $zip_path"
