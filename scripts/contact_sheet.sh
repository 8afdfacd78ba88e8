#!/usr/bin/env bash
# Remakes docs/contact_sheet.jpg: the frames the art direction judges the show
# by, rendered offscreen and tiled five across. Needs a build (scripts/setup.sh)
# and ffmpeg.   scripts/contact_sheet.sh [build dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
times=(5 12 18 25 37 45 57 70 100 115 140 180 215 218 240 262 270 287 292 294)
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT

(cd "$build/run" && ../hosts/recorder/render_frames "$frames" "${times[@]}" >/dev/null)
inputs=()
for t in "${times[@]}"; do inputs+=(-i "$frames/frame_$t.png"); done
# Each frame at a quarter of 1080p, five to a row.
ffmpeg -loglevel error -y "${inputs[@]}" -filter_complex \
  "$(for i in "${!times[@]}"; do printf '[%d]scale=480:270:flags=lanczos[s%d];' "$i" "$i"; done)$(
     for i in "${!times[@]}"; do printf '[s%d]' "$i"; done)xstack=inputs=${#times[@]}:grid=5x4" \
  -frames:v 1 -q:v 3 "$root/docs/contact_sheet.jpg"
echo "wrote docs/contact_sheet.jpg (t = ${times[*]} s)"
