#!/usr/bin/env bash
# Builds the portable Linux build into build-linux/: show, linked with static
# GLFW, FreeType, SDL2, SDL2_mixer and C++ runtime, laid out with its data in
# build-linux/run/ and packed as build-linux/reve-brut-<version>-linux-x86_64.tar.gz
# (one folder of that name inside). Then checks what the binary asks of the
# system: only glibc's libraries, libGL/libOpenGL/libGLX and libX11, and no
# glibc symbol newer than 2.34; a binary that asks more fails the build.
#   scripts/linux.sh
# Installs what it needs. The libraries are built once from Debian's source
# packages and cached (hosts/linux/build_libraries.sh); the music and the
# assembled GLSL programs come from the native build.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
(($# == 0)) || { echo "usage: scripts/linux.sh" >&2; exit 2; }

source scripts/lib/need_packages.sh
source scripts/lib/builds.sh
need_packages build

echo "== music and programs: made by the native build =="
native_prerequisites music_wavs run_data

echo "== the libraries, static =="
libraries=$(hosts/linux/build_libraries.sh | tail -n 1)

echo "== show =="
out=$repo/build-linux
cmake -S hosts/linux -B "$out/exe" -DCMAKE_PREFIX_PATH="$libraries" >/dev/null
cmake --build "$out/exe" -j"$(nproc)" --target show

echo "== what it asks of the system =="
exe=$out/exe/show
needed=$(readelf -d "$exe" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort)
# glibc's own libraries, the GL dispatch libraries and X11's client library:
# every desktop has them. Sound libraries SDL opens itself.
allowed='^(libc|libm|libdl|libpthread|librt|ld-linux-x86-64|libGL|libOpenGL|libGLX|libX11)\.so\.[0-9]+$'
others=$(grep -Ev "$allowed" <<<"$needed" || true)
newest=$(objdump -T "$exe" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -n 1)
echo "needs: $(echo $needed); newest glibc symbol: $newest"
[ -z "$others" ] || { echo "error: show needs libraries a desktop may lack: $(echo $others)" >&2; exit 1; }
newer=$(objdump -T "$exe" | grep -o 'GLIBC_2\.[0-9]*' | awk -F. '$2 > 34' | sort -u)
[ -z "$newer" ] || {
  echo "error: show needs glibc symbols newer than 2.34:" >&2
  objdump -T "$exe" | grep -E "$(echo $newer | tr ' ' '|')" >&2
  exit 1
}

echo "== the archive =="
version=$(scripts/lib/version.sh)
name=reve-brut-$version-linux-x86_64
run=$out/run
rm -rf "$run.new"
mkdir -p "$run.new"
cp "$exe" "$run.new/show"
cp -r build/run/demo6 build/run/fonts "$run.new/"
# How to play, then every licence the archive must carry.
{
  sed "s/@VERSION@/$version/g" hosts/linux/README.txt
  archive_licences "$libraries" "GCC's runtime libraries (as Debian gives them)" /usr/share/doc/libstdc++6/copyright
} > "$run.new/README.txt"
rm -rf "$run"
mv "$run.new" "$run"
# The same files give the same archive: names sorted, one date, no owners.
stamp=$(archive_stamp)
tar -C "$out" --transform "s,^run,$name," --sort=name --mtime="@$stamp" --owner=0 --group=0 \
  --numeric-owner --mode='u+rwX,go+rX,go-w' -cf - run | gzip -9n > "$out/$name.tar.gz.part"
mv "$out/$name.tar.gz.part" "$out/$name.tar.gz"
echo "archive: $out/$name.tar.gz ($(du -h "$out/$name.tar.gz" | cut -f1); show $(stat -c %s "$run/show") bytes)"
