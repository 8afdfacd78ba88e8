#!/usr/bin/env bash
# The compo video: a five-second clip (60 to 65 s) recorded the compo way and
# probed with ffprobe.
#   tests/record/compo_test.sh <record program> <run dir>
# - 1920x1080, 30 fps, 150 frames; H.264 Main profile at level 4.1 or lower,
#   encoded in two passes (x264 says so in the stream) at 6 Mbit/s or more;
# - stereo AAC at 128 kbit/s or more, as long as the video;
# - nothing left beside the video (the lossless intermediate, the pass logs).
# Prints one line per check; ends with status 1 when any fails.
set -uo pipefail
record=$1 run_dir=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
check() {  # <what> <ok: 0 is yes> [detail]
  if [ "$2" -eq 0 ]; then echo "PASS: $1${3:+ ($3)}"; else echo "FAIL: $1${3:+ ($3)}"; failures=$((failures + 1)); fi
}

"$repo/hosts/recorder/compo.sh" "$record" "$run_dir" --from 60 --to 65 "$work/clip.mp4"
check "the compo recording ends with status 0" $?
[ -s "$work/clip.mp4" ] || { echo "FAIL: no clip written"; exit 1; }

probe() {  # <stream> <entries>: key=value lines
  ffprobe -v error -select_streams "$1" -count_packets -show_entries "stream=$2" -of default=noprint_wrappers=1 \
    "$work/clip.mp4"
}
video=$(probe v codec_name,profile,level,width,height,r_frame_rate,avg_frame_rate,pix_fmt,nb_read_packets,bit_rate)
audio=$(probe a codec_name,channels,bit_rate,duration)
value() { sed -n "s/^$2=//p" <<<"$1"; }
echo "video: $(echo $video)"
echo "audio: $(echo $audio)"

[ "$(value "$video" codec_name)" = h264 ] && [ "$(value "$video" profile)" = Main ] &&
  (($(value "$video" level) <= 41))
check "H.264 Main at level 4.1 or lower" $?
[ "$(value "$video" width)x$(value "$video" height)" = 1920x1080 ] && [ "$(value "$video" pix_fmt)" = yuv420p ]
check "1920x1080, 4:2:0" $?
[ "$(value "$video" r_frame_rate)" = 30/1 ] && [ "$(value "$video" avg_frame_rate)" = 30/1 ] &&
  [ "$(value "$video" nb_read_packets)" = 150 ]
check "30 fps, 150 frames for 5 s" $?
(($(value "$video" bit_rate) >= 6000000))
check "at least 6 Mbit/s" $?
# x264 writes its settings into the stream: rc=2pass only from a second pass.
grep -aq 'rc=2pass' "$work/clip.mp4"
check "two-pass" $? "$(grep -ao 'rc=[a-z0-9]*' "$work/clip.mp4" | head -n 1)"
[ "$(value "$audio" codec_name)" = aac ] && [ "$(value "$audio" channels)" = 2 ] &&
  (($(value "$audio" bit_rate) >= 128000))
check "stereo AAC at 128 kbit/s or more" $?
awk -v d="$(value "$audio" duration)" 'BEGIN { exit !(d > 4.95 && d < 5.1) }'
check "the sound lasts as long as the pictures" $?
leftovers=$(ls -A "$work" | grep -vx clip.mp4)
[ -z "$leftovers" ]
check "nothing but the video left beside it" $? "$leftovers"

((failures == 0)) || { echo "$failures checks failed"; exit 1; }
echo "PASS: the compo video"
