#!/usr/bin/env bash
# The show's music end to end, on a private Xvfb.
# Usage: music_e2e.sh <run-dir> <case>
#   disk       SDL's disk driver writes everything the mixer plays to a file, in
#              real time (a sped-up clock does not pace the driver alike); after
#              80 s the file holds Tune1 from the first frame and newtune from
#              the switch between 74 and 75 s
#   no-device  no audio driver can open: the whole show (clock 8x) plays
#              silently to its end, status 0, nothing on standard output
set -uo pipefail
run_dir=$(cd "$1" && pwd)
case_name=$2
source "$(dirname "$0")/private_display.sh"

export MESA_GL_VERSION_OVERRIDE=4.6 MESA_GLSL_VERSION_OVERRIDE=460

if [ "$case_name" = no-device ]; then
  output=$(cd "$run_dir" && SDL_AUDIODRIVER=no-such-driver faketime -f '+0 x8' timeout 200 ./show 2>/dev/null)
  status=$?
  [ "$status" -eq 0 ] || fail "status $status, expected 0"
  [ -z "$output" ] || fail "output: $output"
  echo "the whole show ran silently to its end"
  exit 0
fi
[ "$case_name" = disk ] || fail "unknown case $case_name"

# 80 s: past the switch at 74 to 75 s.
(cd "$run_dir" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" \
   exec ./show >"$work/out" 2>"$work/err") &
show_pid=$!
sleep 82
kill -0 "$show_pid" 2>/dev/null || fail "the show ended early: $(cat "$work/out")"
# The sound library must not take the signals over: SIGTERM still ends the show.
kill "$show_pid"
for _ in $(seq 50); do kill -0 "$show_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$show_pid" 2>/dev/null; then
  kill -9 "$show_pid"; show_pid=""
  fail "the show ignored SIGTERM"
fi
wait "$show_pid" 2>/dev/null; show_pid=""
[ -s "$work/sound.raw" ] || fail "the disk driver wrote nothing"

# Where does each track first appear in the recording? Samples pass through
# the mixer unchanged, so a stretch of a track's own bytes is found exactly.
python3 - "$work/sound.raw" "$run_dir/demo6/musics/Tune1.wav" "$run_dir/demo6/musics/newtune.wav" <<'PY'
import sys
raw = open(sys.argv[1], "rb").read()
def first(wav_path):
    data = open(wav_path, "rb").read()
    data = data[data.index(b"data") + 8:]
    probe = 4410 * 4  # 0.1 s into the track, so a fade-in cannot hide it
    at = raw.find(data[probe:probe + 8192])
    return None if at < 0 else (at - probe) / 4 / 44100.0
first_track, second_track = first(sys.argv[2]), first(sys.argv[3])
print(f"recorded {len(raw) / 4 / 44100.0:.1f} s; Tune1 starts at {first_track} s, newtune at {second_track} s")
if first_track is None or first_track > 9.0:
    sys.exit("FAIL: the first track did not start in the opening seconds")
if second_track is None or not (73.0 < second_track < 76.0):
    sys.exit("FAIL: the second track did not start between 74 and 75 s")
PY
