#!/usr/bin/env bash
# Records the show as a party's compo video: 1920x1080 at 30 fps, H.264 Main
# profile at level 4.1, two-pass at a fixed average bitrate, stereo AAC.
#   hosts/recorder/compo.sh RECORD RUN_DIR [--from S] [--to S] [--bitrate KBPS] OUT.mp4
# RECORD is the recorder, RUN_DIR the show's run directory (scripts/record.sh
# --compo passes both). The frames are drawn once, into a lossless H.264
# intermediate beside OUT; both x264 passes read that, so the show is not drawn
# twice. The soundtrack is copied from it as the recorder encoded it (AAC,
# 192 kbit/s, stereo). A failed or stopped run leaves nothing behind.
set -euo pipefail
usage="usage: scripts/record.sh --compo [--from S] [--to S] [--bitrate KBPS] OUT.mp4"
(($# >= 2)) || { echo "$usage" >&2; exit 2; }
record=$1 run_dir=$2
shift 2

# 10 Mbit/s. Measured against the lossless frames on the first cube wave
# (20 to 25 s), the hardest stretch to encode: luma PSNR 40.6 dB at 6 Mbit/s
# (39.0 on its worst frame), 43.2 at 8, 45.2 at 10 (42.6 worst, SSIM 0.995),
# 48.3 at 14. Captions alone (60 to 65 s) reach 52.8 dB already at 6.
bitrate=10000
range=() out=""
while (($#)); do
  case $1 in
    --from|--to) (($# >= 2)) || { echo "$1 needs a value ($usage)" >&2; exit 2; }; range+=("$1" "$2"); shift 2 ;;
    --bitrate)
      [[ ${2:-} =~ ^[0-9]+$ ]] && ((10#$2 >= 6000 && 10#$2 <= 40000)) \
        || { echo "--bitrate ${2:-}: expected kbit/s from 6000 to 40000 ($usage)" >&2; exit 2; }
      bitrate=$((10#$2)); shift 2 ;;
    -*) echo "--compo: unknown or fixed option $1 ($usage)" >&2; exit 2 ;;
    *) [ -z "$out" ] || { echo "more than one output file: $out and $1" >&2; exit 2; }; out=$1; shift ;;
  esac
done
[ -n "$out" ] || { echo "no output file given ($usage)" >&2; exit 2; }
[ ! -d "$out" ] || { echo "cannot write $out: it is a directory" >&2; exit 1; }
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")

# Everything in progress lives in one hidden folder beside OUT (the same file
# system, so the final rename is atomic) and goes, whatever happens.
work=$(mktemp -d "$(dirname "$out")/.$(basename "$out").compo.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

"$record" --run-dir "$run_dir" --fps 30 --size 1920x1080 --crf 0 ${range[@]+"${range[@]}"} "$work/lossless.mp4"

# Main at 4.1: x264 keeps the reference frames and the buffer within the
# level's limits for 1080p30 (50 Mbit/s peak, 62.5 Mbit buffer); the peak
# rate is capped at twice the average so short bursts stay well inside.
x264=(-c:v libx264 -preset slow -profile:v main -level:v 4.1 -pix_fmt yuv420p -r 30
      -b:v "${bitrate}k" -maxrate "$((2 * bitrate))k" -bufsize "$((2 * bitrate))k"
      -passlogfile "$work/pass")
echo "compo: two-pass x264 at $bitrate kbit/s, pass 1" >&2
(cd "$work" && ffmpeg -hide_banner -nostdin -loglevel error -y -i lossless.mp4 -map 0:v "${x264[@]}" \
   -pass 1 -an -f null /dev/null)
echo "compo: pass 2" >&2
(cd "$work" && ffmpeg -hide_banner -nostdin -loglevel error -y -i lossless.mp4 -map 0:v -map 0:a "${x264[@]}" \
   -pass 2 -c:a copy -movflags +faststart -f mp4 compo.mp4)
chmod "$(printf '%o' $((0666 & ~$(umask))))" "$work/compo.mp4"
mv "$work/compo.mp4" "$out"
echo "compo: wrote $out ($(stat -c %s "$out") bytes)" >&2
