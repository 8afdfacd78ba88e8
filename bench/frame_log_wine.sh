#!/usr/bin/env bash
# Plays the whole show in real time natively and under Wine, one after the
# other on the same private Xvfb (Mesa llvmpipe), logging every presented
# frame of each, and prints frame_log_table's table of each and, per stretch
# of the timeline, the Windows build's median and p90 against the native ones.
#   bench/frame_log_wine.sh <native build dir> [rounds] [log dir]
# Needs scripts/windows.sh --build-only first; builds show_frame_log.exe, the
# Windows bench build, whose linker wraps the buffer swap as frame_log.sh's
# preloaded shim does. Rounds alternate native and Wine (2 rounds: native,
# Wine, native, Wine), so that a machine's changing load falls on both; the
# comparison takes each stretch's median over the rounds. A timing tool, not a
# test: it asserts nothing.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
rounds=${2:-1}
logs=${3:-$repo/build-windows/frame_logs}
mkdir -p "$logs"
logs=$(cd "$logs" && pwd)
[ -f "$repo/build-windows/exe/CMakeCache.txt" ] || { echo "run scripts/windows.sh --build-only first" >&2; exit 1; }
cmake -S "$repo/hosts/windows" -B "$repo/build-windows/exe" -DSHOW_FRAME_LOG=ON >/dev/null
cmake --build "$repo/build-windows/exe" --target show_frame_log -j"$(nproc)" >/dev/null

work=$(mktemp -d)
xvfb_pid=""
source "$repo/scripts/lib/private_display.sh"
source "$repo/scripts/lib/wine.sh"
trap 'wine_done; [ -z "$xvfb_pid" ] || kill "$xvfb_pid"; rm -rf "$work"' EXIT
start_private_display || { echo "Xvfb did not start" >&2; exit 1; }
export_gl46
export WINEDLLOVERRIDES=winealsa.drv=d
wine_prefix "$work/prefix" >/dev/null
cp -r "$repo/build-windows/run" "$work/run"
cp "$repo/build-windows/exe/show_frame_log.exe" "$work/run/"

# The machine's load before and after each run goes beside the logs: on a
# shared machine it says how far to trust a difference.
load() { echo "$1 $(cut -d' ' -f1-3 /proc/loadavg)" >>"$logs/load.txt"; }
: >"$logs/load.txt"
for round in $(seq "$rounds"); do
  echo "round $round of $rounds: native" >&2
  load "native_$round before"
  (cd "$build/run" && SHOW_FRAME_LOG=$logs/native_$round.txt \
     LD_PRELOAD=$build/bench/libframe_log_shim.so ./show >/dev/null 2>&1)
  load "native_$round after"
  echo "round $round of $rounds: Wine" >&2
  (cd "$work/run" && SHOW_FRAME_LOG=frame_log.txt wine show_frame_log.exe >/dev/null 2>&1)
  cp "$work/run/frame_log.txt" "$logs/wine_$round.txt"
  load "wine_$round after"
done

for side in native wine; do
  echo "== $side, round 1 =="
  "$build/bench/frame_log_table" "$logs/${side}_1.txt"
done
echo "== per stretch over $rounds round(s): Wine against native (ms) =="
cat "$logs/load.txt" | sed 's/^/load average /'

/usr/bin/python3 - "$build/bench/frame_log_table" "$logs" "$rounds" <<'PY'
import re, statistics, subprocess, sys
table, logs, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
row = re.compile(r"^\s*([\d.]+) - ([\d.]+)\s+(\d+)\s+([\d.]+)\s+([\d.]+)")
whole = re.compile(r"^whole show: \d+ frames, median ([\d.]+) ms, p90 ([\d.]+) ms")
def rows(path):
    """{(lo, hi): (median, p90)} per stretch, and ("whole", "show") for all frames."""
    text = subprocess.run([table, path], check=True, capture_output=True, text=True).stdout
    found = {(m[1], m[2]): (float(m[4]), float(m[5])) for m in map(row.match, text.splitlines()) if m}
    found.update({("whole", "show"): (float(m[1]), float(m[2]))
                  for m in map(whole.match, text.splitlines()) if m})
    return found
def over_rounds(side):
    per_round = [rows(f"{logs}/{side}_{r}.txt") for r in range(1, rounds + 1)]
    return {k: tuple(statistics.median(r[k][i] for r in per_round if k in r) for i in (0, 1))
            for k in per_round[0]}
native, wine = over_rounds("native"), over_rounds("wine")
print(f"{'stretch (s)':<17} {'native':>7} {'Wine':>7} {'ratio':>6}   {'p90 nat':>7} {'Wine':>7} {'ratio':>6}")
worst = 0.0
for key in native:
    if key not in wine or native[key][0] == 0:
        continue
    (nm, np90), (wm, wp90) = native[key], wine[key]
    if key[0] != "whole":
        worst = max(worst, wm / nm)
    print(f"{key[0]:>7} - {key[1]:<7} {nm:7.1f} {wm:7.1f} {wm / nm:6.2f}   {np90:7.1f} {wp90:7.1f} {wp90 / np90:6.2f}")
print(f"largest median ratio of a stretch: {worst:.2f}")
PY
