#!/bin/sh
# Remakes the menu icons from a frame of the show: the slab ribbon at 45 s,
# a square cut around its tip, scaled to each hicolor size.
# Needs a build (scripts/setup.sh) and ffmpeg. Usage: packaging/icons/make_icons.sh
set -eu
cd "$(dirname "$0")"
icons=$(pwd)
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT

(cd ../../build/run && ../hosts/recorder/render_frames "$frames" 45 >/dev/null)
for size in 16 24 32 48 64 128 256; do
  ffmpeg -loglevel error -y -i "$frames/frame_45.png" \
    -vf "crop=880:880:600:200,scale=$size:$size:flags=lanczos" "$icons/reve-brut-$size.png"
done
