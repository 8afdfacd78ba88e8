#!/usr/bin/env bash
# Plays the whole show in real time, exactly as shipped, on a private
# fullscreen Xvfb with Mesa's software renderer, logs every presented frame
# through a preloaded wrapper around the buffer swap, then prints the table
# per stretch of the timeline.
#   bench/frame_log.sh <build dir> [log file]
set -euo pipefail
build=$(cd "$1" && pwd)
log=${2:-$build/frame_log.txt}
case $log in /*) ;; *) log=$PWD/$log ;; esac
. "$(dirname "$0")/../scripts/lib/private_display.sh"
start_private_display || { echo "Xvfb did not start" >&2; exit 1; }
trap 'kill "$xvfb_pid"' EXIT
export_gl46
cd "$build/run"
SHOW_FRAME_LOG=$log LD_PRELOAD=$build/bench/libframe_log_shim.so ./show >/dev/null
"$build/bench/frame_log_table" "$log"
