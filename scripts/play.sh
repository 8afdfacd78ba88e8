#!/usr/bin/env bash
# Installs what is missing, builds, and plays the show (Escape ends it).
# Without a display it plays on a virtual one: Xvfb with Mesa's software
# renderer, told to offer OpenGL 4.6.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the show and its data; whatever else build/ is configured with stays.
scripts/setup.sh --target show

xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
source scripts/lib/private_display.sh
display_or_private playing || exit 1
cd build/run

# The show's messages go where this script's output goes (a terminal, a file,
# a pipe) and into a copy, read afterwards for the explanation below. tee -i:
# Ctrl-C is the show's to act on; tee keeps copying until the show is done.
messages=$(mktemp)
trap 'cleanup; rm -f "$messages"' EXIT
set +e
./show | tee -i "$messages"
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ] && grep -q "Failed to create GLFW window" "$messages"; then
  echo "This display's OpenGL driver offers no 4.6 core-profile context, which the show needs."
fi
exit "$status"
