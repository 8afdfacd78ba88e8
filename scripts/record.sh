#!/usr/bin/env bash
# Installs what is missing (ffmpeg among it), builds, and records the show to
# a video file with its soundtrack, frame-exact at any frame rate.
# Usage: scripts/record.sh [--from S] [--to S] [--fps N] [--size WxH] [--crf N] OUT.mp4
#   defaults: the whole show (0 to 295 s), 60 fps, 1920x1080, crf 18.
#        scripts/record.sh --compo [--from S] [--to S] [--bitrate KBPS] OUT.mp4
#   a compo video: 1920x1080 at 30 fps, H.264 Main at level 4.1, two-pass at
#   10 Mbit/s by default, AAC stereo at 192 kbit/s (hosts/recorder/compo.sh).
# Without a display it draws on a private Xvfb with Mesa's software renderer
# (told to offer OpenGL 4.6). Ctrl+C stops it and leaves no file behind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Only the recorder and the show's data; whatever else build/ is configured with stays.
"$root/scripts/setup.sh" --target record >&2
# OUT is taken relative to where this was called from; the data from the run directory.
rest=()
for arg in "$@"; do [ "$arg" = --compo ] || rest+=("$arg"); done
if ((${#rest[@]} < $#)); then
  exec "$root/hosts/recorder/compo.sh" "$root/build/hosts/recorder/record" "$root/build/run" ${rest[@]+"${rest[@]}"}
fi
exec "$root/build/hosts/recorder/record" --run-dir "$root/build/run" "$@"
