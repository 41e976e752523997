#!/usr/bin/env bash
# Builds the command-line programs for 64-bit Windows with MinGW-w64 into build-windows/, and
# packs them with a short README as build-windows/tidewell-windows-VERSION.zip. The programs
# link their runtime statically and run from any folder. The desktop application is not part
# of it yet.
#   scripts/build-windows.sh            build and pack
#   scripts/build-windows.sh --no-zip   build only (the tests use this)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup-packages.sh" --windows

build="$root/build-windows"
deps="$build/_deps"
mkdir -p "$deps"

# No pugixml is packaged for the target: build the very source Debian builds its own from,
# fetched from Debian's archive and checked against the checksum its source package states.
pugixml_version=1.13
pugixml_sha256=5c5ad5d7caeb791420408042a7d88c2c6180781bf218feca259fd9d840a888e1
pugixml_dir="$deps/pugixml-$pugixml_version"
if [ ! -f "$pugixml_dir/src/pugixml.cpp" ]; then
  archive="$deps/pugixml_$pugixml_version.orig.tar.gz"
  curl -fsSL --retry 3 -o "$archive" \
    "http://deb.debian.org/debian/pool/main/p/pugixml/pugixml_$pugixml_version.orig.tar.gz"
  echo "$pugixml_sha256  $archive" | sha256sum -c --quiet -
  tar xzf "$archive" -C "$deps"
fi

# The settings are the "windows" preset's (CMakePresets.json).
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
(cd "$root" && cmake --preset windows "${launcher[@]}" >/dev/null)
cmake --build "$build" -j 2

if [ "${1:-}" = "--no-zip" ]; then
  exit 0
fi
version=$(sed -n 's/^project(Tidewell VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name="tidewell-windows-$version"
stage="$build/package/$name"
rm -rf "$build/package" "$build/$name.zip"
mkdir -p "$stage"
for program in tidewell-tool velunit-sim flowcomputer-sim tidewell-datagen; do
  cp "$build/tools/$program.exe" "$stage/"
done
# Windows readers expect CR LF.
sed 's/$/\r/' "$root/docs/windows-readme.txt" >"$stage/README.txt"
(cd "$build/package" && zip -qr "../$name.zip" "$name")
echo "$build/$name.zip"
