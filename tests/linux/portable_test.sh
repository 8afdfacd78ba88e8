#!/usr/bin/env bash
# The portable Linux archive in a minimal Debian 12 root: debootstrap's
# minbase with nothing added but Xvfb, xauth, xdotool, Mesa's GL drivers and
# libX11 (no GLFW, SDL2 or FreeType development or runtime packages of the
# show's own; Xvfb brings a FreeType of its own, which the show must not load).
#   tests/linux/portable_test.sh <reve-brut-...-linux-x86_64.tar.gz> <native build dir>
# - show asks only for glibc's libraries, libGL/libOpenGL/libGLX and libX11,
#   and for no glibc symbol newer than 2.34;
# - unpacked in the root and played there on the root's own Xvfb (Mesa's 4.6
#   override, no sound device): a frame around 12 s matches the native
#   offscreen render, no GLFW, SDL2 or FreeType library is loaded from the
#   root, and Escape ends the show with status 0.
# The root is made once and cached (scripts/lib/minimal_root.sh). Needs root:
# it runs in a mount namespace of its own, where /proc, /sys and /dev are
# mounted into the root and vanish with it.
# Prints one line per check; ends with status 1 when any fails.
set -uo pipefail
if [ -z "${PORTABLE_TEST_NAMESPACE:-}" ]; then
  PORTABLE_TEST_NAMESPACE=1 exec unshare --mount --propagation private "$0" "$@"
fi
archive=$(readlink -f "$1")
build=$(cd "$2" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)
python=/usr/bin/python3
source "$repo/scripts/lib/need_packages.sh"
source "$repo/scripts/lib/minimal_root.sh"
need_packages build media numeric root >/dev/null || exit 1

work=$(mktemp -d)
root=$work/root
xvfb_pid="" show_pid=""
cleanup() {
  [ -z "$show_pid" ] || kill "$show_pid" 2>/dev/null
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  umount -R "$root/proc" "$root/sys" "$root/dev" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
failures=0
check() {  # <what> <ok: 0 is yes> [detail]
  if [ "$2" -eq 0 ]; then echo "PASS: $1${3:+ ($3)}"; else echo "FAIL: $1${3:+ ($3)}"; failures=$((failures + 1)); fi
}

name=$(basename "$archive" .tar.gz)
mkdir -p "$work/unpacked"
tar -C "$work/unpacked" -xzf "$archive" || fail "cannot unpack $archive"
exe=$work/unpacked/$name/show
[ -x "$exe" ] || fail "no $name/show in the archive"

needed=$(readelf -d "$exe" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort)
others=$(grep -Ev '^(libc|libm|libdl|libpthread|librt|ld-linux-x86-64|libGL|libOpenGL|libGLX|libX11)\.so\.[0-9]+$' \
           <<<"$needed")
[ -n "$needed" ] && [ -z "$others" ]
check "show needs only glibc, GL and X11 libraries" $? "$(echo $needed)"
newest=$(objdump -T "$exe" | grep -o 'GLIBC_2\.[0-9]*' | sort -uV | tail -n 1)
[ -n "$newest" ] && [ "$(printf '%s\n' "$newest" GLIBC_2.34 | sort -V | tail -n 1)" = GLIBC_2.34 ]
check "no glibc symbol newer than 2.34" $? "newest $newest"

minimal_root bookworm "$root" xvfb xauth xdotool libgl1-mesa-dri libglx-mesa0 libgl1 libx11-6 \
  || fail "no minimal Debian 12 root"
mount -t proc proc "$root/proc" && mount --rbind /sys "$root/sys" && mount --rbind /dev "$root/dev" \
  || fail "cannot mount /proc, /sys and /dev into the root"
mv "$work/unpacked/$name" "$root/opt/"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root "$@"; }

# The root's own X server on a display nobody else uses (the server picks it).
exec {from_server}< <(exec chroot "$root" /usr/bin/Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp \
                        3>&1 >/dev/null 2>&1)
xvfb_pid=$!
read -r -t 30 -u "$from_server" number || number=""
exec {from_server}<&-
[ -n "$number" ] || fail "the root's Xvfb did not start"
display=:$number
window_open() { in_root DISPLAY=$display xdotool search --onlyvisible --classname glfw-application >/dev/null 2>&1; }

echo "== played in the root, then Escape =="
(in_root DISPLAY=$display MESA_GL_VERSION_OVERRIDE=4.6 MESA_GLSL_VERSION_OVERRIDE=460 SDL_AUDIODRIVER=dummy \
   sh -c "cd /opt/$name && exec timeout 120 ./show" >"$work/out" 2>"$work/err"; echo $? >"$work/status") &
show_pid=$!
for _ in $(seq 600); do window_open && break; sleep 0.1; done
window_open || fail "the show's window never opened: $(cat "$work/out" "$work/err")"
mapped=$(date +%s%N)
# The libraries the show has loaded, by the process that owns the window
# (the root shares the process numbers of the machine).
show=$(in_root DISPLAY=$display xdotool search --onlyvisible --classname glfw-application getwindowpid 2>/dev/null |
         head -n 1)
loaded=$(grep -o '/[^ ]*\.so[.0-9]*$' "/proc/$show/maps" 2>/dev/null | sort -u)
[ -n "$loaded" ] && ! grep -Eq 'lib(glfw|SDL2|freetype)' <<<"$loaded"
check "no GLFW, SDL2 or FreeType library of the system's is loaded" $? \
  "$(grep -Eo 'lib(glfw|SDL2|freetype|GLX_mesa|X11)[^/]*$' <<<"$loaded" | sort -u | tr '\n' ' ')"
# The window maps about 2 s into the show's clock, later on a busy machine;
# the frame stays the same from about 10.5 to 12.5 s.
for after in 8000 8500 9000 9500 10000 10500 11000; do
  while (($(date +%s%N) - mapped < after * 1000000)); do sleep 0.05; done
  ffmpeg -v error -y -f x11grab -video_size 1920x1080 -i "$display" -frames:v 1 "$work/shot_$after.png"
done
for press in $(seq 20); do
  in_root DISPLAY=$display xdotool key Escape
  for _ in $(seq 20); do [ -s "$work/status" ] && break 2; sleep 0.1; done
done
status=$(cat "$work/status" 2>/dev/null)
show_pid=""
[ "$status" = 0 ]
check "Escape ends the show with status 0" $? "status ${status:-none} after $press presses; $(head -c 300 "$work/err")"
(cd "$build/run" && ../hosts/recorder/render_frames "$work" 12 >/dev/null)
$python - "$work/frame_12.png" "$work"/shot_*.png <<'PY'
import sys
import numpy as np
from PIL import Image
# Per pixel, the largest channel difference from the native render; the same
# Mesa draws both, so only the moment of the screenshot may differ.
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

((failures == 0)) || { echo "$failures checks failed"; exit 1; }
echo "PASS: the portable Linux archive in a minimal Debian 12 root"
