#!/usr/bin/env bash
# Builds FreeType 2 (the release's) as a static WebAssembly library for the browser build:
#   hosts/web/build_freetype.sh <build-web-dir>
# installs into <build-web-dir>/freetype/ (include/freetype2, lib/libfreetype.a).
# Emscripten's own FreeType port downloads from the internet, so the library is
# built from Debian's source package instead, with every optional dependency
# (zlib, bzip2, png, harfbuzz, brotli) off: the show's fonts need none of them.
# The source comes through a private deb-src list under the build folder
# (scripts/lib/debian_source.sh), so nothing under /etc changes. A second run with the
# result present does nothing.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 <build-web-dir>" >&2; exit 2; }
mkdir -p "$1"
build_web=$(cd "$1" && pwd)
prefix="$build_web/freetype"
lib="$prefix/lib/libfreetype.a"

if [ -f "$lib" ] && [ -f "$prefix/include/freetype2/ft2build.h" ]; then
  echo "FreeType for wasm: $lib (cached)"
  exit 0
fi

repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/scripts/lib/need_packages.sh"
source "$repo/scripts/lib/builds.sh"
need_packages build sources web
emscripten_environment

work="$build_web/freetype-work"
rm -rf "$work"
source "$repo/scripts/lib/debian_source.sh"
debian_source "$work" freetype

# The release's FreeType 2: 2.12 on Debian 12, 2.13 on Debian 13.
src=$(find "$work/src" -maxdepth 1 -type d -name 'freetype-2.*' | head -n 1)
[ -n "$src" ] || {
  echo "error: the source package is not FreeType 2:" $(ls "$work/src") >&2
  exit 1
}

echo "Building $(basename "$src") with emcmake"
emcmake cmake -S "$src" -B "$work/build" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF \
  -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON \
  > "$work/configure.log" || { cat "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j2 > "$work/build.log" || { tail -n 50 "$work/build.log" >&2; exit 1; }

# Install into a staging folder and move it in whole, so that an interrupted
# run never leaves a half library that a later run would take as cached.
DESTDIR="$work/stage" cmake --install "$work/build" > "$work/install.log"
rm -rf "$prefix"
mv "$work/stage$prefix" "$prefix"
rm -rf "$work"
echo "FreeType for wasm: $lib"
echo "  headers: $prefix/include/freetype2"
