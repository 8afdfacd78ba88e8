# Sourced by the end-to-end scripts: a scratch folder ($work), a private Xvfb
# on a display nobody else uses ($DISPLAY), fail(), and a cleanup that stops
# the show ($show_pid, when set) and the server by their process ids, and
# show_window_open.
work=$(mktemp -d)
xvfb_pid=""
show_pid=""
cleanup() {
  [ -n "$show_pid" ] && kill "$show_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/private_display.sh"
start_private_display || fail "Xvfb did not start"

# Whether a GLFW window is mapped on the private display.
show_window_open() { xdotool search --onlyvisible --classname glfw-application >/dev/null 2>&1; }
