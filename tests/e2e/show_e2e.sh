#!/usr/bin/env bash
# End-to-end runs of the real show binary on a private Xvfb.
# Usage: show_e2e.sh <run-dir> <case>
#   no-gl46        without Mesa's 4.6 override: "Failed to create GLFW window", status 255
#   escape         Escape sent with xdotool ends the show with status 0 at once
#   whole-show     under a clock running 8x fast the show ends by itself with status 0
#   missing-demo6  without demo6/ the read failures are printed and the show still runs
#   missing-font   without fonts/c64.ttf and one image, start-up prints the image message, then
#                  the font message at the c64 step, and ends with status 255
set -uo pipefail
run_dir=$(cd "$1" && pwd)
case_name=$2
source "$(dirname "$0")/private_display.sh"
gl46() { MESA_GL_VERSION_OVERRIDE=4.6 MESA_GLSL_VERSION_OVERRIDE=460 "$@"; }
# No sound device in tests: the show must run silently.
export SDL_AUDIODRIVER=dummy

# Whether a GLFW window is mapped on the display.
show_window_open() { xdotool search --onlyvisible --classname glfw-application >/dev/null 2>&1; }

# Copies the run directory into $work/run, leaving out the given paths.
copy_run_dir() {
  cp -r "$run_dir" "$work/run"
  for gone in "$@"; do rm -rf "${work:?}/run/$gone"; done
}

case "$case_name" in
  no-gl46)
    output=$(cd "$run_dir" && timeout 60 ./show)
    status=$?
    [ "$status" -eq 255 ] || fail "status $status, expected 255"
    [ "$output" = "Failed to create GLFW window" ] || fail "output: $output"
    ;;

  escape)
    (cd "$run_dir" && gl46 timeout 120 ./show >"$work/out"; echo $? >"$work/status") &
    # Wait until the show draws frames (its window is mapped), then press Escape.
    for _ in $(seq 300); do
      show_window_open && break
      sleep 0.1
    done
    show_window_open || fail "the show's window never opened"
    # Press Escape, held for a moment as a hand does (the show reads the key's
    # state once a frame, and a software-rendered frame can outlast a synthetic
    # tap); press again while start-up may still be running.
    for press in $(seq 20); do
      pressed=$(date +%s.%N)
      xdotool keydown Escape
      sleep 0.2
      xdotool keyup Escape
      for _ in $(seq 10); do [ -s "$work/status" ] && break 2; sleep 0.1; done
    done
    ended=$(date +%s.%N)
    [ -s "$work/status" ] || fail "the show did not end after 20 presses of Escape"
    status=$(cat "$work/status")
    [ "$status" -eq 0 ] || fail "status $status, expected 0"
    echo "ended $(awk "BEGIN { print $ended - $pressed }") s after press $press of Escape"
    ;;

  whole-show)
    start=$(date +%s)
    (cd "$run_dir" && gl46 faketime -f '+0 x8' timeout 200 ./show >"$work/out")
    status=$?
    elapsed=$(($(date +%s) - start))
    [ "$status" -eq 0 ] || fail "status $status, expected 0 (output: $(cat "$work/out"))"
    # 295 show-seconds at 8x last about 37 s of wall time.
    [ "$elapsed" -ge 30 ] || fail "ended after only $elapsed s"
    echo "ended by itself after $elapsed s (295 show-seconds at 8x)"
    ;;

  missing-demo6)
    copy_run_dir demo6
    (cd "$work/run" && gl46 faketime -f '+0 x100' timeout 60 ./show >"$work/out")
    status=$?
    [ "$status" -eq 0 ] || fail "status $status, expected 0"
    reads=$(grep -c '^ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ$' "$work/out")
    [ "$reads" -eq 22 ] || fail "$reads read messages, expected 22"
    images=$(grep -c '^Texture failed to load at path: demo6/images/' "$work/out")
    [ "$images" -eq 8 ] || fail "$images image messages, expected 8"
    ;;

  missing-font)
    copy_run_dir fonts/c64.ttf demo6/images/mais.png
    output=$(cd "$work/run" && gl46 timeout 60 ./show)
    status=$?
    [ "$status" -eq 255 ] || fail "status $status, expected 255"
    expected=$'Texture failed to load at path: demo6/images/mais.png\nERROR TERROR failed to load font as face'
    [ "$output" = "$expected" ] || fail "output: $output"
    # The fullscreen window is gone with the process: no window remains on the display.
    ! show_window_open || fail "a window is still open"
    ;;

  *) fail "unknown case $case_name" ;;
esac
echo "PASS: $case_name"
