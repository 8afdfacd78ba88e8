#!/usr/bin/env bash
# Builds the show for 64-bit Windows into build-windows/: show.exe, cross-
# compiled with mingw-w64 and linked static, laid out with its data in
# build-windows/run/ and zipped as build-windows/reve-brut-<version>-win64.zip;
# then plays the zip's contents under Wine.
#   scripts/windows.sh                 build, then play under Wine (Escape ends it)
#   scripts/windows.sh --build-only    build only (CI, scripts/release.sh)
# Installs what it needs. The libraries are built once from Debian's source
# packages and cached (hosts/windows/build_libraries.sh); the music and the
# assembled GLSL programs come from the native build, so the cross build runs
# no host tool of the show's.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

play=1
case ${1:-} in
  "") ;;
  --build-only) play=0 ;;
  *) echo "usage: scripts/windows.sh [--build-only]" >&2; exit 2 ;;
esac

source scripts/lib/need_packages.sh
source scripts/lib/builds.sh
need_packages build windows
((play == 0)) || need_packages wine display

echo "== music and programs: made by the native build =="
native_prerequisites music_wavs run_data

echo "== the libraries, static, for Windows =="
libraries=$(hosts/windows/build_libraries.sh | tail -n 1)

echo "== show.exe =="
out=$repo/build-windows
# Of the system's headers only glm and stb (both header-only), through a
# folder of their own: Debian's glm package would put all of /usr/include on
# the path, whose headers are the host's, not Windows'.
system_include_links "$out/sysinc" glm stb
cmake -S hosts/windows -B "$out/exe" -DCMAKE_TOOLCHAIN_FILE="$repo/hosts/windows/toolchain.cmake" \
  -DCMAKE_PREFIX_PATH="$libraries" -DSHOW_SYSTEM_INCLUDE="$out/sysinc" >/dev/null
cmake --build "$out/exe" -j"$(nproc)" --target show

echo "== the zip =="
version=$(scripts/lib/version.sh)
name=reve-brut-$version-win64
run=$out/run
rm -rf "$run.new"
mkdir -p "$run.new"
cp "$out/exe/show.exe" "$run.new/"
cp -r build/run/demo6 build/run/fonts "$run.new/"
# How to play, then every licence the zip must carry; with Windows' line ends.
{
  sed "s/@VERSION@/$version/g" hosts/windows/README.txt
  archive_licences "$libraries" "The mingw-w64 runtime and winpthreads (as Debian gives them)" \
    /usr/share/doc/mingw-w64-common/copyright
} | sed 's/\r*$/\r/' > "$run.new/README.txt"
rm -rf "$run"
mv "$run.new" "$run"
/usr/bin/python3 scripts/lib/make_zip.py "$out/$name.zip" "$run" "$(archive_stamp)"
echo "zip: $out/$name.zip ($(du -h "$out/$name.zip" | cut -f1); show.exe $(stat -c %s "$run/show.exe") bytes)"

((play)) || exit 0
echo "== playing the zip's contents under Wine =="
source scripts/lib/private_display.sh
source scripts/lib/wine.sh
played=$(mktemp -d)
xvfb_pid=""
cleanup() { wine_done; [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$played"; }
trap cleanup EXIT
display_or_private playing || exit 1
# Without a sound card, Wine's ALSA driver would print its own complaints.
[ -e /dev/snd ] || export WINEDLLOVERRIDES=winealsa.drv=d
wine_prefix "${WINEPREFIX:-$HOME/.wine}"
/usr/bin/python3 -m zipfile -e "$out/$name.zip" "$played"
cd "$played"
set +e
wine show.exe
status=$?
set -e
echo "show.exe ended with status $status"
exit "$status"
