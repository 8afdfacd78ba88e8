#!/usr/bin/env bash
# The studio's live reload, driven by a script of keys on a private Xvfb: a
# program that does not compile, one with a missing include, a picture that
# does not decode and a font FreeType refuses all leave the frame exactly as
# it was, each with a message that says where; a program that compiles then
# takes over. Also checks that a seek shows on the frame it is made in.
# Usage: studio_reload.sh <studio> <repository>   (run from the run directory)
set -u
studio=$1 repo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; [ -f "$work/log" ] && cat "$work/log"; exit 1; }

# The studio watches a copy of the sources: the test never touches the repository's.
mkdir "$work/src"
cp -r "$repo/demo6" "$repo/fonts" "$work/src/"
target=$work/src/demo6/demo6ptC1.fs  # draws the greetings at 215 s
sed '8i this is not GLSL;' "$target" >"$work/broken.fs"
sed 's|#include "lib/caption.glsl"|#include "lib/no_such_module.glsl"|' "$target" >"$work/missing.fs"
grep -q no_such_module "$work/missing.fs" || fail "the program no longer includes lib/caption.glsl"
# The fixed program paints its letters magenta.
sed '/^void main() {/,$d' "$target" >"$work/fixed.fs"
printf 'void main() {\n    color = vec4(1.0, 0.0, 1.0, coverage(texel));\n}\n' >>"$work/fixed.fs"
printf 'not a picture, not a font\n' >"$work/garbage"

cat >"$work/script" <<SCRIPT
key space                # paused: every frame the same
frames 2
png $work/before.png
replace $work/broken.fs $target
await reload
frames 1
png $work/broken.png
replace $work/missing.fs $target
await reload
replace $work/garbage $work/src/demo6/images/nonsensical1.png
await reload
replace $work/garbage $work/src/fonts/c64.ttf
await reload
frames 1
png $work/refused.png
replace $work/fixed.fs $target
await reload
frames 1
png $work/fixed.png
key right
frames 1
quit
SCRIPT

(unset DISPLAY; SDL_AUDIODRIVER=dummy timeout 300 "$studio" --at 215 --source "$work/src" \
  --script "$work/script" --log "$work/log" >"$work/out" 2>&1) || { cat "$work/out"; fail "the studio failed"; }

cmp -s "$work/before.png" "$work/broken.png" || fail "a program that does not compile changed the frame"
cmp -s "$work/before.png" "$work/refused.png" || fail "a refused program, picture or font changed the frame"
grep -q 'demo6ptC1: demo6/demo6ptC1.fs:8:[0-9]*: .*the old program stays' "$work/log" || fail "no file and line for the compile error"
grep -q 'demo6/demo6ptC1.fs:2: included file "lib/no_such_module.glsl" not found' "$work/log" || fail "no file and line for the missing include"
grep -q 'nonsensical1.png: does not decode; the old picture stays' "$work/log" || fail "the broken picture went unreported"
grep -q 'c64.ttf: FreeType refuses it; the old atlas stays' "$work/log" || fail "the broken font went unreported"
grep -q 'demo6ptC1: rebuilt' "$work/log" || fail "the fixed program was not rebuilt"
/usr/bin/python3 - "$work/before.png" "$work/fixed.png" <<'PY' || fail "the fixed program did not take over"
import sys
from PIL import Image
def magenta(path):
    return sum(1 for r, g, b, *_ in Image.open(path).getdata() if r > 240 and g < 16 and b > 240)
before, after = magenta(sys.argv[1]), magenta(sys.argv[2])
print(f"magenta pixels: {before} before, {after} after")
sys.exit(0 if before == 0 and after > 1000 else 1)
PY
# The seek lands on the frame it was made in.
seek=$(grep -m1 ' seek 216.00' "$work/log" | cut -d' ' -f2)
shown=$(grep -m1 ' show t=216.00' "$work/log" | cut -d' ' -f2)
[ -n "$seek" ] && [ "$seek" = "$shown" ] || fail "the seek showed on frame ${shown:-never}, made on frame ${seek:-never}"
grep 'on screen' "$work/log"
echo "ok"
