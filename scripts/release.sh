#!/usr/bin/env bash
# Builds every form of a release into build-release/:
#   reve-brut_<version>_<arch>.deb      the Debian package (scripts/package.sh)
#   reve-brut-<version>-win64.zip       the Windows build (scripts/windows.sh)
#   reve-brut-<version>-linux-x86_64.tar.gz
#                                       the portable Linux build (scripts/linux.sh), checked
#                                       in a minimal Debian 12 root (tests/linux/portable_test.sh)
#   reve-brut-<version>-web.zip         the browser site (scripts/web.sh), to unpack on any web host
#   reve-brut-<version>-1080p60.mp4     with --video: the whole show recorded (scripts/record.sh)
#   reve-brut-<version>-compo.mp4       with --video: the same as a compo video (1080p30,
#                                       H.264 Main 4.1, two-pass; scripts/record.sh --compo)
#   SHA256SUMS                          over all of them
# and prints how large each archive is unpacked, against demo parties' usual
# limit of 64 MB (it says so plainly when one is over; the release is still made).
#   scripts/release.sh [--video]
# Installs what it needs, as the scripts it runs do.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

video=0
case ${1:-} in
  "") ;;
  --video) video=1 ;;
  *) echo "usage: scripts/release.sh [--video]" >&2; exit 2 ;;
esac

version=$(scripts/lib/version.sh)
out=$repo/build-release
rm -rf "$out"
mkdir -p "$out"

echo "== the Debian package =="
scripts/package.sh
cp build/packages/reve-brut_"$version"_"$(dpkg --print-architecture)".deb "$out/"

echo "== the Windows zip =="
scripts/windows.sh --build-only
cp build-windows/reve-brut-"$version"-win64.zip "$out/"

echo "== the portable Linux archive =="
scripts/linux.sh
cp build-linux/reve-brut-"$version"-linux-x86_64.tar.gz "$out/"
tests/linux/portable_test.sh "$out/reve-brut-$version-linux-x86_64.tar.gz" build

echo "== the browser site =="
scripts/web.sh --build-only
source scripts/lib/builds.sh
/usr/bin/python3 scripts/lib/make_zip.py "$out/reve-brut-$version-web.zip" build-web/site "$(archive_stamp)"

if ((video)); then
  echo "== the whole show, recorded at 1080p60 =="
  scripts/record.sh --fps 60 --size 1920x1080 "$out/reve-brut-$version-1080p60.mp4"
  echo "== the whole show as a compo video, 1080p30 =="
  scripts/record.sh --compo "$out/reve-brut-$version-compo.mp4"
fi

cd "$out"
sha256sum -- * > SHA256SUMS
echo "release $version in $out:"
ls -l --time-style=+ -- * | awk '{ print "  " $5 "\t" $NF }'

# Unpacked sizes: the files' own sizes, as a party counts them.
limit=64000000
echo "unpacked (limit: 64 MB, $limit bytes):"
for archive in *.zip *.tar.gz; do
  size=$(/usr/bin/python3 - "$archive" <<'PY'
import sys, tarfile, zipfile
path = sys.argv[1]
if path.endswith(".zip"):
    print(sum(i.file_size for i in zipfile.ZipFile(path).infolist()))
else:
    print(sum(m.size for m in tarfile.open(path) if m.isfile()))
PY
)
  if ((size > limit)); then
    printf '  %s\t%s: OVER the 64 MB limit, by %s bytes\n' "$size" "$archive" "$((size - limit))"
  else
    printf '  %s\t%s: within 64 MB\n' "$size" "$archive"
  fi
done
