#!/usr/bin/env bash
# The Windows build: show.exe's imports and resources, then show.exe under
# Wine on a private Xvfb, in one Wine prefix made first in a scratch folder.
#   tests/windows/wine_test.sh <windows run dir> <native build dir>
# - show.exe imports only Windows' own DLLs and carries its icon and version;
# - played with Mesa's 4.6 override and SDL's disk driver: a frame around 12 s
#   matches the native offscreen render (the tolerance is below), the first
#   seconds of the mix are Tune1's WAV sample for sample, and Escape ends the
#   show with status 0;
# - show.exe is a windowed (GUI-subsystem) program: no console beside it;
# - Ctrl+C in the console that started it ends it with the status of a
#   program Ctrl+C ended;
# - without the override: "Failed to create GLFW window", GLFW's WGL reason,
#   status 255; the same line through a pipe, and both on the console that
#   started it;
# - without fonts/c64.ttf, and with no sound device: the font message, one
#   line about the silent show, status 255.
# Prints one line per check; ends with status 1 when any fails.
set -uo pipefail
run_dir=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/tests/e2e/e2e_session.sh"   # $work, $DISPLAY, fail(), cleanup
source "$repo/scripts/lib/wine.sh"
trap 'wine_done; cleanup' EXIT
python=/usr/bin/python3

failures=0
check() {  # <what> <ok: 0 is yes> [detail]
  if [ "$2" -eq 0 ]; then echo "PASS: $1${3:+ ($3)}"; else echo "FAIL: $1${3:+ ($3)}"; failures=$((failures + 1)); fi
}

exe=$run_dir/show.exe
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
# Windows' own DLLs. A C++ runtime, winpthreads, SDL or GLFW among the
# imports would be missing on a machine without this build's compiler.
system_dlls=(advapi32 cfgmgr32 gdi32 hid imm32 kernel32 msvcrt ole32 oleaut32 opengl32 setupapi
             shell32 user32 version winmm)
others=$(comm -23 <(echo "$imports") <(printf '%s.dll\n' "${system_dlls[@]}" | sort))
[ -n "$imports" ] && [ -z "$others" ]
check "show.exe imports only system DLLs" $? "$(echo $imports)"

subsystem=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^Subsystem[[:space:]]*//p')
[ "${subsystem%%[[:space:]]*}" = 00000002 ]
check "show.exe is a windowed program, with no console of its own" $? "subsystem $subsystem"

version=$("$repo/scripts/lib/version.sh")
$python - "$exe" "$version" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
# The version resource keeps its strings in UTF-16, as Explorer reads them.
for text in ("FileVersion", sys.argv[2], "Rêve brut"):
    if text.encode("utf-16le") not in data:
        sys.exit(f"no {text!r}")
# The icon group: a header for seven images, 16 to 256 pixels.
if b"\x00\x00\x01\x00\x07\x00\x10\x10" not in data:
    sys.exit("no icon group")
PY
check "show.exe carries its icon and version $version" $?

# One prefix for every run; Wine's ALSA driver would complain of the missing card.
export WINEDLLOVERRIDES=winealsa.drv=d
wine_prefix "$work/prefix" >/dev/null || fail "no Wine prefix"
gl46=(MESA_GL_VERSION_OVERRIDE=4.6 MESA_GLSL_VERSION_OVERRIDE=460)
window_open() { xdotool search --onlyvisible --class show.exe >/dev/null 2>&1; }
grab() { ffmpeg -v error -y -f x11grab -video_size 1920x1080 -i "$DISPLAY" -frames:v 1 "$1"; }

echo "== played, then Escape =="
# SDL's disk driver writes the mix to a file, named by its Windows path (Z: is /).
(cd "$run_dir" && env "${gl46[@]}" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="Z:${work//\//\\}\\sound.raw" \
   timeout 120 wine show.exe >"$work/out" 2>"$work/err"; echo $? >"$work/status") &
for _ in $(seq 600); do window_open && break; sleep 0.1; done
window_open || fail "show.exe's window never opened: $(cat "$work/out" "$work/err")"
mapped=$(date +%s%N)
# The window maps about 2 s into the show's clock, later on a busy machine;
# the frame stays the same from about 10.5 to 12.5 s. Screenshots from 8 to 11 s
# after the mapping: one of them falls inside.
for after in 8000 8500 9000 9500 10000 10500 11000; do
  while (($(date +%s%N) - mapped < after * 1000000)); do sleep 0.05; done
  grab "$work/shot_$after.png"
done
for press in $(seq 20); do
  xdotool keydown Escape; sleep 0.2; xdotool keyup Escape
  for _ in $(seq 20); do [ -s "$work/status" ] && break 2; sleep 0.1; done
done
status=$(cat "$work/status" 2>/dev/null)
[ "$status" = 0 ]
check "Escape ends the show with status 0" $? "status ${status:-none} after $press presses"
(cd "$build/run" && ../hosts/recorder/render_frames "$work" 12 >/dev/null)
$python - "$work/frame_12.png" "$work"/shot_*.png <<'PY'
import sys
import numpy as np
from PIL import Image
# Per pixel, the largest channel difference from the native render. Measured
# with Wine 8, WGL on llvmpipe: a mean of 0.01, 0.01 % off. The tolerance leaves
# room for a driver's rounding, not for a wrong glyph, halo or colour.
MAX_MEAN, OFF_BY, MAX_OFF_FRACTION = 0.5, 8, 0.01
native = np.asarray(Image.open(sys.argv[1]).convert("RGB")).astype(int)
best = None
for path in sys.argv[2:]:
    shot = np.asarray(Image.open(path).convert("RGB")).astype(int)
    off = np.abs(shot - native).max(axis=2) if shot.shape == native.shape else np.full(native.shape[:2], 255)
    if best is None or off.mean() < best[0]:
        best = (off.mean(), (off > OFF_BY).mean(), path)
print(f"closest screenshot {best[2].rsplit('/', 1)[1]}: mean {best[0]:.3f}, {100 * best[1]:.2f} % off by more than {OFF_BY}")
sys.exit(0 if best[0] <= MAX_MEAN and best[1] <= MAX_OFF_FRACTION else 1)
PY
check "a frame around 12 s matches the native render" $?
$python - "$work/sound.raw" "$build/run/demo6/musics/Tune1.wav" <<'PY'
import sys
raw = open(sys.argv[1], "rb").read()
wav = open(sys.argv[2], "rb").read()
wav = wav[wav.index(b"data") + 8:]
frame, seconds = 4, 5  # 16-bit stereo at 44100 Hz
probe = 4410 * frame  # find the track by a stretch 0.1 s in
at = raw.find(wav[probe:probe + 8192])
if at < 0:
    sys.exit("Tune1 is not in the mix")
start = at - probe
length = seconds * 44100 * frame
print(f"Tune1 starts {start / frame / 44100:.2f} s into the recording of {len(raw) / frame / 44100:.1f} s")
if start < 0 or len(raw) < start + length:
    sys.exit("the recording is too short")
if raw[start:start + length] != wav[:length]:
    first = next(i for i in range(length) if raw[start + i] != wav[i])
    sys.exit(f"the mix differs from Tune1.wav {first // frame / 44100:.4f} s in")
PY
check "the first 5 s of the mix are Tune1's WAV sample for sample" $?

echo "== Alt+F4 =="
# Alt+F4 is Windows' close request (WM_CLOSE through the window's system
# menu): it ends the show with status 0 after the current frame, its window
# goes and the screen keeps the desktop's mode.
wineserver -w
mode_before=$(xrandr --current 2>/dev/null | sed -n 's/.*current \([0-9]* x [0-9]*\).*/\1/p')
(cd "$run_dir" && env "${gl46[@]}" SDL_AUDIODRIVER=dummy timeout 120 wine show.exe \
   >"$work/out" 2>"$work/err"; echo $? >"$work/status_close") &
for _ in $(seq 600); do window_open && break; sleep 0.1; done
sleep 3  # into the frame loop
for press in $(seq 20); do
  xdotool key --clearmodifiers alt+F4
  for _ in $(seq 20); do [ -s "$work/status_close" ] && break 2; sleep 0.1; done
done
status=$(cat "$work/status_close" 2>/dev/null)
[ "$status" = 0 ]
check "Alt+F4 ends the show with status 0" $? "status ${status:-none} after $press presses; $(tr -d '\r' <"$work/err" | head -n 3)"
mode_after=$(xrandr --current 2>/dev/null | sed -n 's/.*current \([0-9]* x [0-9]*\).*/\1/p')
! window_open && [ -n "$mode_after" ] && [ "$mode_after" = "$mode_before" ]
check "after Alt+F4 no window is left and the screen is in its mode" $? "$mode_before, then $mode_after"

echo "== Ctrl+C in the console it was started from =="
# show.exe is a windowed program: Windows gives it no console of its own, and
# the SIGINT that Wine makes a console program's Ctrl+C does not reach it.
# tests/windows/console_ctrl_c.c starts it from a console as cmd would, with
# no console handed over, and presses Ctrl+C in that console 3 s after the
# window opens. The show must attach to that
# console, stop at the next frame and end as a program Ctrl+C ended,
# 0xC000013A, within 10 s.
x86_64-w64-mingw32-gcc-posix -municode -O2 -Wall -Wextra -o "$work/console_ctrl_c.exe" \
  "$repo/tests/windows/console_ctrl_c.c" || fail "console_ctrl_c.c does not build"
ctrl_c_run() {
  wineserver -w  # the last run's server gone: a fresh one serves this run
  (cd "$run_dir" && env "${gl46[@]}" SDL_AUDIODRIVER=dummy timeout 120 wine "$work/console_ctrl_c.exe" GLFW30 show.exe \
     >"$work/out" 2>"$work/err")
  status=$?
}
output() { cat "$work/out" "$work/err" | tr -d '\r' | head -n 5 | sed 's/^/; /' | tr -d '\n'; }
ctrl_c_run
if ((status == 2)); then
  # The window never opened: a start that failed under Wine, which the
  # Escape run above would have caught had it been the show's; once more.
  echo "show.exe's window never opened ($(output)); once more"
  ctrl_c_run
fi
[ "$status" = $((0xC000013A & 0xFF)) ] && tr -d '\r' <"$work/out" | grep -qx 'status 0xC000013A'
check "Ctrl+C in its console ends the show within 10 s with the status of a program Ctrl+C ended" $? "status $status$(output)"

echo "== without Mesa's 4.6 override =="
(cd "$run_dir" && SDL_AUDIODRIVER=dummy timeout 60 wine show.exe >"$work/out" 2>"$work/err")
status=$?
[ "$status" = 255 ] && [ "$(tr -d '\r' <"$work/out")" = "Failed to create GLFW window" ]
check "no OpenGL 4.6: the GLFW line and status 255" $? "status $status, output: $(tr -d '\r' <"$work/out")"
grep -q '^GLFW: WGL: ' "$work/err"
check "GLFW's WGL reason on standard error" $? "$(tr -d '\r' <"$work/err" | head -n 3)"

echo "== its messages through a pipe =="
# The show's messages reach its redirected standard streams: a file (the
# checks around this one) or, here, a pipe.
# The reader is bounded too: a Wine process left behind would hold the pipe open.
piped=$(cd "$run_dir" && SDL_AUDIODRIVER=dummy timeout 60 wine show.exe 2>/dev/null | timeout 90 tr -d '\r')
[ "$piped" = "Failed to create GLFW window" ]
check "standard output through a pipe: the show's line" $? "output: $piped"

echo "== its messages on the console it was started from =="
# Nothing redirected: the show writes on its parent's console, which the
# helper reads back once the show has ended.
(cd "$run_dir" && SDL_AUDIODRIVER=dummy timeout 90 wine "$work/console_ctrl_c.exe" - show.exe \
   >"$work/out" 2>"$work/err")
status=$?
console=$(tr -d '\r' <"$work/out")
[ "$status" = 255 ] && grep -qx 'Failed to create GLFW window' <<<"$console" && grep -q '^GLFW: WGL: ' <<<"$console"
check "no OpenGL 4.6, started from a console: the GLFW line and its reason there" $? "status $status$(output)"

echo "== without fonts/c64.ttf, and no sound device =="
cp -r "$run_dir" "$work/run"
rm "$work/run/fonts/c64.ttf"
(cd "$work/run" && env "${gl46[@]}" timeout 60 wine show.exe >"$work/out" 2>"$work/err")
status=$?
[ "$status" = 255 ] && [ "$(tr -d '\r' <"$work/out")" = "ERROR TERROR failed to load font as face" ]
check "a missing font: its message and status 255" $? "status $status, output: $(tr -d '\r' <"$work/out")"
lines=$(tr -d '\r' <"$work/err" | grep -c '^No sound device (.\+): the show plays silently\.$')
[ "$lines" = 1 ]
check "no sound device: one line about the silent show" $? "$(tr -d '\r' <"$work/err")"

((failures == 0)) || { echo "$failures checks failed"; exit 1; }
echo "PASS: the Windows build under Wine"
