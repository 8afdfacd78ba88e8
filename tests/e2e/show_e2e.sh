#!/usr/bin/env bash
# End-to-end runs of the real show binary on a private Xvfb.
# Usage: show_e2e.sh <run-dir> <case>
#   no-gl46        without Mesa's 4.6 override: "Failed to create GLFW window", status 255,
#                  and GLX's reason on standard error
#   escape         Escape sent with xdotool ends the show with status 0 at once
#   escape-tap     a tap of Escape (press and release at once) in the heaviest stretch
#                  (about 264 s, clock 8x) ends the show with status 0
#   sigint         SIGINT ends the show within a second, after glfwTerminate, by SIGINT
#   sigterm        started as a background job (SIGINT ignored): SIGINT leaves it playing;
#                  SIGTERM ends it within a second, after glfwTerminate, by SIGTERM
#   no-sound       no sound device: not a word from ALSA, one line about the sound
#   play-to-file   scripts/play.sh > file 2>&1 keeps every line, and its status
#   whole-show     under a clock running 8x fast the show ends by itself with status 0
#   missing-demo6  without demo6/ the read failures are printed and the show still runs
#   missing-font   without fonts/c64.ttf and one image, start-up prints the image message, then
#                  the font message at the c64 step, and ends with status 255
set -uo pipefail
run_dir=$(cd "$1" && pwd)
case_name=$2
source "$(dirname "$0")/e2e_session.sh"
gl46() { MESA_GL_VERSION_OVERRIDE=4.6 MESA_GLSL_VERSION_OVERRIDE=460 "$@"; }
# No sound device in tests: the show must run silently.
export SDL_AUDIODRIVER=dummy

# Sleeps $1 seconds without starting a process (the waits below count time).
mkfifo "$work/never"
exec {never_fd}<>"$work/never"
nap() { read -r -t "$1" -u "$never_fd" || true; }

# Milliseconds since the epoch-nanosecond stamp $1.
ms_since() { echo $((($(date +%s%N) - $1) / 1000000)); }

# Starts the show in the background with the 4.6 override; $show_pid is the
# show itself. Extra arguments go before ./show (env options, say).
start_show() {
  saver_at_start=$(saver_timeout)
  (cd "$run_dir" && export MESA_GL_VERSION_OVERRIDE=4.6 MESA_GLSL_VERSION_OVERRIDE=460 &&
     exec "$@" ./show >"$work/out" 2>"$work/err") &
  show_pid=$!
}

wait_for_window() {
  for _ in $(seq 300); do
    show_window_open && return
    sleep 0.1
  done
  fail "the show's window never opened"
}

# The screen saver timeout. GLFW turns the screen saver off for a fullscreen
# window and only glfwTerminate turns it back on: the X server keeps the
# setting when a client just disappears (while another client keeps the
# server from resetting).
saver_timeout() { xset q | awk '/timeout:/ { print $2 }'; }

# Sends signal $1 to the show, which must already play, and checks that it
# ends within a second, by that signal, with the screen saver given back.
stop_by_signal() {
  local sig=$1 expected_status=$2 saver_before=$saver_at_start sent
  sleep 3  # past start-up, into the frame loop
  [ "$(saver_timeout)" = 0 ] || fail "the fullscreen window did not turn the screen saver off"
  sent=$(date +%s%N)
  kill -"$sig" "$show_pid"
  while kill -0 "$show_pid" 2>/dev/null && [ "$(ms_since "$sent")" -lt 1000 ]; do nap 0.01; done
  local took_ms
  took_ms=$(ms_since "$sent")
  kill -0 "$show_pid" 2>/dev/null && fail "the show still plays 1 s after SIG$sig"
  wait "$show_pid"
  local status=$?
  show_pid=""
  [ "$status" -eq "$expected_status" ] || fail "status $status after SIG$sig, expected $expected_status"
  [ "$(saver_timeout)" = "$saver_before" ] ||
    fail "screen saver timeout $(saver_timeout), expected $saver_before: glfwTerminate did not run"
  [ ! -s "$work/out" ] || fail "output: $(cat "$work/out")"
  [ ! -s "$work/err" ] || fail "standard error: $(cat "$work/err")"
  echo "SIG$sig ended the show after $took_ms ms, status $status, screen saver back at $saver_before s"
}

# Copies the run directory into $work/run, leaving out the given paths.
copy_run_dir() {
  cp -r "$run_dir" "$work/run"
  for gone in "$@"; do rm -rf "${work:?}/run/$gone"; done
}

case "$case_name" in
  no-gl46)
    output=$(cd "$run_dir" && timeout 60 ./show 2>"$work/err")
    status=$?
    [ "$status" -eq 255 ] || fail "status $status, expected 255"
    [ "$output" = "Failed to create GLFW window" ] || fail "output: $output"
    # Mesa without the override: GLX turns the 4.6 request down.
    grep -q '^GLFW: GLX: ' "$work/err" || fail "no GLX reason on stderr: $(cat "$work/err")"
    ;;

  escape)
    (cd "$run_dir" && gl46 timeout 120 ./show >"$work/out"; echo $? >"$work/status") &
    # Wait until the show draws frames (its window is mapped), then press Escape.
    for _ in $(seq 300); do
      show_window_open && break
      sleep 0.1
    done
    show_window_open || fail "the show's window never opened"
    # Press Escape, held for a moment as a hand does (a bare tap is the
    # escape-tap case); press again while start-up may still be running.
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

  escape-tap)
    launched=$(date +%s%N)
    (cd "$run_dir" && gl46 faketime -f '+0 x8' ./show >"$work/out"; echo $? >"$work/status") &
    wait_for_window
    # 32.5 s of wall time at 8x: about 260 show-seconds, in the closing
    # greetings where a software frame takes longest. Left alone, the show
    # ends by itself at 295 show-seconds, 36.9 s after launch.
    while [ "$(ms_since "$launched")" -lt 32500 ]; do nap 0.1; done
    [ ! -s "$work/status" ] || fail "the show ended before the tap"
    tapped=$(date +%s%N)
    xdotool keydown Escape keyup Escape
    while [ ! -s "$work/status" ] && [ "$(ms_since "$tapped")" -lt 30000 ]; do nap 0.02; done
    [ -s "$work/status" ] || fail "the show still plays 30 s after a tap of Escape"
    ended_ms=$(ms_since "$launched")
    status=$(cat "$work/status")
    [ "$status" -eq 0 ] || fail "status $status, expected 0"
    [ "$ended_ms" -lt 36500 ] || fail "the show ended by itself at 295 s ($ended_ms ms after launch): the tap was lost"
    echo "ended $(ms_since "$tapped") ms after a tap of Escape"
    ;;

  sigint)
    # A keyboard's Ctrl-C reaches a foreground show: SIGINT at its default.
    xprop -root -spy >/dev/null 2>&1 &
    start_show env --default-signal=INT
    wait_for_window
    stop_by_signal INT 130
    ;;

  sigterm)
    # Started as a background job of a shell without job control: SIGINT is
    # ignored, and stays so.
    xprop -root -spy >/dev/null 2>&1 &
    start_show env --ignore-signal=INT
    wait_for_window
    kill -INT "$show_pid"
    sleep 1
    kill -0 "$show_pid" 2>/dev/null || fail "SIGINT, ignored at start, ended the show"
    stop_by_signal TERM 143
    ;;

  no-sound)
    # ALSA's own default device, on a card that does not exist.
    output=$(cd "$run_dir" && SDL_AUDIODRIVER=alsa ALSA_CARD=no-such-card timeout 60 ./show 2>"$work/err")
    ! grep -q 'ALSA lib' "$work/err" || fail "ALSA spoke: $(cat "$work/err")"
    lines=$(grep -c '^No sound device (.\+): the show plays silently\.$' "$work/err")
    [ "$lines" -eq 1 ] || fail "$lines lines about the sound, expected 1: $(cat "$work/err")"
    grep -q '^No sound device (ALSA: ' "$work/err" || fail "no ALSA reason: $(cat "$work/err")"
    [ "$output" = "Failed to create GLFW window" ] || fail "output: $output"
    ;;

  play-to-file)
    # scripts/play.sh in a tree of its own whose build step does nothing and whose
    # run directory is this one. No 4.6 context here: the show fails at once.
    mkdir -p "$work/tree/scripts/lib" "$work/tree/build"
    cp "$(dirname "$0")/../../scripts/play.sh" "$work/tree/scripts/"
    cp "$(dirname "$0")/../../scripts/lib/private_display.sh" "$work/tree/scripts/lib/"
    printf '#!/bin/sh\n' >"$work/tree/scripts/setup.sh"
    chmod +x "$work/tree/scripts/setup.sh"
    ln -s "$run_dir" "$work/tree/build/run"
    "$work/tree/scripts/play.sh" >"$work/log" 2>&1
    status=$?
    [ "$status" -eq 255 ] || fail "status $status, expected 255"
    for line in '^Failed to create GLFW window$' '^GLFW: GLX: ' \
                "^This display's OpenGL driver offers no 4.6 core-profile context"; do
      grep -q "$line" "$work/log" || fail "the log lacks $line: $(cat "$work/log")"
    done
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
