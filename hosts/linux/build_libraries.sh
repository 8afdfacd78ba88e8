#!/usr/bin/env bash
# Builds the show's libraries static for the portable Linux build, from
# Debian's source packages: GLFW (X11; it loads libGL and the X extensions
# itself), FreeType (no zlib, bzip2, png, harfbuzz or brotli: the fonts need
# none), SDL2 (audio only: ALSA and PulseAudio, which it loads itself at run
# time) and SDL2_mixer (WAVE only).
#   hosts/linux/build_libraries.sh
# prints the prefix that holds them (include/, lib/, lib/cmake/, and each one's
# licence in licences/) as its last line.
# Cached beside the Windows build's libraries, under the user's cache folder,
# keyed by the source versions (those of the system's own -dev packages) and by
# this script, so a second run, or another checkout's, takes seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
source "$repo/scripts/lib/need_packages.sh"
source "$repo/scripts/lib/debian_source.sh"
# The X11 and sound headers: GLFW builds against X11's, SDL against ALSA's and
# PulseAudio's (it opens those libraries by name when it starts).
need_packages build sources static-libraries linux

sources=()
for dev in libglfw3-dev libfreetype-dev libsdl2-dev libsdl2-mixer-dev; do
  sources+=("$(dpkg-query -W -f='${source:Package}=${source:Version}' "$dev")")
done
stamp=$(sha256sum "$0" | cut -c1-12)
key=$(printf '%s_' "${sources[@]}" | tr '=' '-')$stamp
cache=${XDG_CACHE_HOME:-$HOME/.cache}/reve-brut/linux-x86_64
prefix=$cache/$key

if [ -f "$prefix/complete" ]; then
  echo "Linux libraries: $prefix (cached)" >&2
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
  echo "Building $(basename "$src") for the portable Linux build" >&2
  local started=$SECONDS
  cmake -S "$src" -B "$work/build-$name" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$stage" -DCMAKE_PREFIX_PATH="$stage" \
    -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_FIND_PACKAGE_PREFER_CONFIG=ON "$@" > "$work/$name-configure.log" 2>&1 \
    || { tail -n 40 "$work/$name-configure.log" >&2; exit 1; }
  cmake --build "$work/build-$name" -j"$jobs" > "$work/$name-build.log" 2>&1 \
    || { grep -m 20 -i -B2 -A5 'error' "$work/$name-build.log" >&2; exit 1; }
  cmake --install "$work/build-$name" > "$work/$name-install.log"
  mkdir -p "$stage/licences"
  cp "$src/$licence" "$stage/licences/$name.txt"
  echo "  $name: $((SECONDS - started)) s" >&2
}

build glfw 'glfw3-*' LICENSE.md -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF \
  -DGLFW_USE_WAYLAND=OFF
build freetype 'freetype-*' docs/FTL.TXT \
  -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
# Audio alone: the show's window is GLFW's. ALSA and PulseAudio are opened by
# name at run time, so a machine without one still starts (and a machine
# without sound plays silently).
build sdl2 'libsdl2-2*' LICENSE.txt -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
  -DSDL_VIDEO=OFF -DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
  -DSDL_POWER=OFF -DSDL_VULKAN=OFF -DSDL_LIBUDEV=OFF -DSDL_DBUS=OFF -DSDL_IBUS=OFF \
  -DSDL_ALSA=ON -DSDL_ALSA_SHARED=ON -DSDL_PULSEAUDIO=ON -DSDL_PULSEAUDIO_SHARED=ON \
  -DSDL_PIPEWIRE=OFF -DSDL_JACK=OFF -DSDL_SNDIO=OFF -DSDL_ESD=OFF -DSDL_ARTS=OFF -DSDL_NAS=OFF \
  -DSDL_OSS=OFF -DSDL_FUSIONSOUND=OFF -DSDL_LIBSAMPLERATE=OFF
build sdl2_mixer 'libsdl2-mixer-*' LICENSE.txt -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
  -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_WAVE=ON \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF \
  -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVPACK=OFF

# Move the whole in at once: an interrupted run never leaves a half prefix
# that a later run would take as cached.
printf '%s\n' "${sources[@]}" > "$stage/complete"
rm -rf "$prefix"
mv "$stage" "$prefix"
echo "Linux libraries: $prefix" >&2
echo "$prefix"
