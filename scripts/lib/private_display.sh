#!/usr/bin/env bash
# A private X server for software-rendered GL, started the one way the
# scripts and the C++ harness share: Xvfb, 1920x1080x24, no TCP, on a display
# nobody else uses (the server picks a free one itself: -displayfd).
#
# Run, it becomes the server (same process id: a kill of that id stops it)
# and writes the display's number and a newline on standard output.
# Sourced, it defines start_private_display, which runs it in the background,
# exports DISPLAY and sets xvfb_pid; it returns 1 when no server came up.
# Run, it needs nothing on the PATH but Xvfb.

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  # Its chatter about displays already taken is of no use to anyone.
  exec Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>&1 >/dev/null 2>&1
fi

private_display_script=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/private_display.sh

start_private_display() {
  local number="" from_server
  exec {from_server}< <(exec "$private_display_script")
  xvfb_pid=$!
  read -r -t 30 -u "$from_server" number || number=""
  exec {from_server}<&-
  [ -n "$number" ] || return 1
  export DISPLAY=":$number"
}

# Makes Mesa's software renderer offer the OpenGL 4.6 core context the show
# asks for (llvmpipe offers 4.5 otherwise).
export_gl46() { export MESA_GL_VERSION_OVERRIDE=4.6 MESA_GLSL_VERSION_OVERRIDE=460; }

# display_or_private <what it does>: keeps the display DISPLAY names; without
# one, says so and starts a private one with the 4.6 override. Returns 1 when
# no server came up. The caller stops $xvfb_pid (empty with a display of its own).
display_or_private() {
  xvfb_pid=""
  [ -z "${DISPLAY:-}" ] || return 0
  echo "No display: $1 on a virtual display (Xvfb + Mesa llvmpipe with its OpenGL 4.6 override)."
  start_private_display || { echo "Xvfb did not start." >&2; return 1; }
  export_gl46
}
