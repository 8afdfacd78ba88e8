#!/usr/bin/env bash
# The show's music end to end, on a private Xvfb.
# Usage: music_e2e.sh <run-dir> <case>
#   disk       SDL's disk driver writes everything the mixer plays to a file, in
#              real time (a sped-up clock does not pace the driver alike); after
#              80 s the file holds Tune1 from the first frame and newtune from
#              the switch between 74 and 75 s of show time. The driver falls
#              behind the clock (it sleeps a whole chunk after each one it
#              mixes and writes; more so on a busy machine) and never catches
#              up, so places in the file are timed by when they were written
#   no-device  no audio driver can open: the whole show (clock 8x) plays
#              silently to its end, status 0, nothing on standard output
set -uo pipefail
run_dir=$(cd "$1" && pwd)
case_name=$2
source "$(dirname "$0")/e2e_session.sh"

export_gl46

if [ "$case_name" = no-device ]; then
  output=$(cd "$run_dir" && SDL_AUDIODRIVER=no-such-driver faketime -f '+0 x8' timeout 200 ./show 2>/dev/null)
  status=$?
  [ "$status" -eq 0 ] || fail "status $status, expected 0"
  [ -z "$output" ] || fail "output: $output"
  echo "the whole show ran silently to its end"
  exit 0
fi
[ "$case_name" = disk ] || fail "unknown case $case_name"

# 80 s: past the switch at 74 to 75 s. Meanwhile the file's size is noted
# every 10 ms ("seconds bytes"): the driver writes each chunk as soon as it has
# mixed it, so a byte of the file was mixed between the last note before it
# and the first note that has it, however far the driver has fallen behind.
python3 - "$work/sound.raw" >"$work/sizes" 2>/dev/null <<'PY' &
import os, sys, time
end = time.monotonic() + 120
while time.monotonic() < end:
    try:
        size = os.stat(sys.argv[1]).st_size
    except FileNotFoundError:
        size = 0
    print(f"{time.monotonic():.4f} {size}", flush=True)
    time.sleep(0.01)
PY
poller_pid=$!
trap 'kill "$poller_pid" 2>/dev/null; cleanup' EXIT
# The first note must come before the show's first byte.
for _ in $(seq 100); do [ -s "$work/sizes" ] && break; sleep 0.1; done
[ -s "$work/sizes" ] || fail "the size poller did not start"
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
kill "$poller_pid"
[ -s "$work/sound.raw" ] || fail "the disk driver wrote nothing"

# Where does each track first appear in the recording? Samples pass through
# the mixer unchanged, so a stretch of a track's own bytes is found exactly.
python3 - "$work/sound.raw" "$run_dir/demo6/musics/Tune1.wav" "$run_dir/demo6/musics/newtune.wav" "$work/sizes" <<'PY'
import sys
raw = open(sys.argv[1], "rb").read()
notes = [tuple(map(float, line.split())) for line in open(sys.argv[4]) if len(line.split()) == 2]
def first(wav_path):
    data = open(wav_path, "rb").read()
    data = data[data.index(b"data") + 8:]
    probe = 4410 * 4  # 0.1 s into the track, so a fade-in cannot hide it
    at = raw.find(data[probe:probe + 8192])
    return None if at < 0 else at - probe
def written(offset):
    """When the byte at offset was written: after the first, by the second."""
    return (max(t for t, size in notes if size <= offset), min(t for t, size in notes if size > offset))
first_track, second_track = first(sys.argv[2]), first(sys.argv[3])
print(f"recorded {len(raw) / 4 / 44100.0:.1f} s; in it Tune1 starts at "
      f"{None if first_track is None else first_track / 4 / 44100.0} s, newtune at "
      f"{None if second_track is None else second_track / 4 / 44100.0} s")
if first_track is None or first_track / 4 / 44100.0 > 9.0:
    sys.exit("FAIL: the first track did not start in the opening seconds")
if second_track is None:
    sys.exit("FAIL: the second track never started")
# Show time of the switch. The show's clock starts in main, just after the
# sound device opened during static initialisation and the driver wrote its
# first chunk: the file's first byte marks show time 0 (a little early).
# newtune starts with the first frame after 74 s, at the next chunk (23 ms);
# on a busy machine that frame may come a few tenths late.
(a0, b0), (a2, b2) = written(0), written(second_track)
earliest, latest = a2 - b0, b2 - a0
print(f"the switch came {earliest:.2f} to {latest:.2f} s after the sound device opened")
if latest < 73.9 or earliest > 74.8:
    sys.exit("FAIL: the second track did not start between 74 and 75 s")
PY
