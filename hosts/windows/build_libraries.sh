#!/usr/bin/env bash
# Cross-builds the show's libraries for 64-bit Windows, static, from Debian's
# source packages: GLFW, FreeType (no zlib, bzip2, png, harfbuzz or brotli: the
# fonts need none), SDL2 (audio through WASAPI, DirectSound or winmm; its video
# must stay on for it to link) and SDL2_mixer (WAVE only).
#   hosts/windows/build_libraries.sh
# prints the prefix that holds them (include/, lib/, lib/cmake/, and each one's
# licence in licences/) as its last line.
# The result is cached under the user's cache folder, keyed by the source
# versions (those of the system's own -dev packages) and by this script and the
# toolchain file, so a second run, or another checkout's, takes seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
source "$repo/scripts/lib/need_packages.sh"
source "$repo/scripts/lib/debian_source.sh"
need_packages build sources static-libraries windows

# The source packages in the versions the native build uses.
sources=()
for dev in libglfw3-dev libfreetype-dev libsdl2-dev libsdl2-mixer-dev; do
  sources+=("$(dpkg-query -W -f='${source:Package}=${source:Version}' "$dev")")
done
stamp=$(cat "$0" "$here/toolchain.cmake" | sha256sum | cut -c1-12)
key=$(printf '%s_' "${sources[@]}" | tr '=' '-')$stamp
cache=${XDG_CACHE_HOME:-$HOME/.cache}/reve-brut/mingw-w64
prefix=$cache/$key

if [ -f "$prefix/complete" ]; then
  echo "Windows libraries: $prefix (cached)" >&2
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
work=$(mktemp -d "$cache/work.XXXXXX")
trap 'rm -rf "$work"' EXIT
stage=$work/stage
debian_source "$work" "${sources[@]}" >&2

jobs=$(nproc)
build() {  # <name> <source-dir glob> <licence file> <cmake options>...
  local name=$1 licence=$3 src
  src=$(find "$work/src" -maxdepth 1 -type d -name "$2" | head -n 1)
  shift 3
  [ -n "$src" ] || { echo "error: no source for $name in:" $(ls "$work/src") >&2; exit 1; }
  echo "Building $(basename "$src") for Windows" >&2
  local started=$SECONDS
  cmake -S "$src" -B "$work/build-$name" \
    -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$stage" -DCMAKE_PREFIX_PATH="$stage" \
    -DBUILD_SHARED_LIBS=OFF "$@" > "$work/$name-configure.log" 2>&1 \
    || { tail -n 40 "$work/$name-configure.log" >&2; exit 1; }
  cmake --build "$work/build-$name" -j"$jobs" > "$work/$name-build.log" 2>&1 \
    || { grep -m 20 -i -B2 -A5 'error' "$work/$name-build.log" >&2; exit 1; }
  cmake --install "$work/build-$name" > "$work/$name-install.log"
  # What a program built with it must pass on.
  mkdir -p "$stage/licences"
  cp "$src/$licence" "$stage/licences/$name.txt"
  echo "  $name: $((SECONDS - started)) s" >&2
}

build glfw 'glfw3-*' LICENSE.md -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF
build freetype 'freetype-*' docs/FTL.TXT \
  -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
# Only what the sound engine uses, besides the video that SDL needs to link.
build sdl2 'libsdl2-2*' LICENSE.txt -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
  -DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
  -DSDL_POWER=OFF -DSDL_VULKAN=OFF
build sdl2_mixer 'libsdl2-mixer-*' LICENSE.txt -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
  -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_WAVE=ON \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF \
  -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVPACK=OFF

# Move the whole in at once: an interrupted run never leaves a half prefix
# that a later run would take as cached.
printf '%s\n' "${sources[@]}" > "$stage/complete"
rm -rf "$prefix"
mv "$stage" "$prefix"
echo "Windows libraries: $prefix" >&2
echo "$prefix"
