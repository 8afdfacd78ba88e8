#!/usr/bin/env bash
# The ES 3.00 programs draw the show as the desktop ones do. Mesa compiles
# "#version 300 es" in its 4.6 core context, so the offscreen show renders the
# same frames twice, once with each variant, and the two must match but for
# the halo and glow edges: in ES each pixel takes its quad's taps itself, so
# those edges are smooth where the desktop's are constant over a 2x2 quad.
# The frames cover every program that shares taps over the quad.
# Usage: es_looks.sh <run dir> <ES run dir> <render_frames>
set -u
run=$(cd "$1" && pwd) es_run=$(cd "$2" && pwd) render=$3
times=(5 18 45 57 70 100 140 180 240 262)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A run directory like the real one, with the ES programs in its demo6/.
mkdir -p "$work/run-es/demo6" "$work/desktop" "$work/es"
ln -s "$run/fonts" "$work/run-es/fonts"
for entry in "$run"/demo6/*/; do ln -s "${entry%/}" "$work/run-es/demo6/"; done
cp "$es_run"/demo6/*.vs "$es_run"/demo6/*.fs "$work/run-es/demo6/"

(cd "$run" && "$render" "$work/desktop" "${times[@]}") >"$work/desktop.log" 2>&1 ||
  fail "desktop render: $(cat "$work/desktop.log")"
(cd "$work/run-es" && "$render" "$work/es" "${times[@]}") >"$work/es.log" 2>&1 ||
  fail "ES render: $(cat "$work/es.log")"
# A program that fails to compile is logged and the show draws on without it.
if grep -i -B2 -A8 'error' "$work/es.log"; then fail "an ES program did not build"; fi

# Each frame is compared in 4x4-pixel cells (ffmpeg averages them), so that
# a quad's worth of edge difference counts for little and a wrong halo, glow
# or shadow, which spans many cells, for much.
status=0
for t in "${times[@]}"; do
  verdict=$(ffmpeg -loglevel error -i "$work/desktop/frame_$t.png" -i "$work/es/frame_$t.png" -filter_complex \
      "[0]scale=iw/4:ih/4:flags=area[a];[1]scale=iw/4:ih/4:flags=area[b];[a][b]blend=all_mode=difference,format=rgb24" \
      -f rawvideo - | python3 -c '
import sys
d = sys.stdin.buffer.read()
cells = [max(d[i], d[i + 1], d[i + 2]) for i in range(0, len(d), 3)]
mean = sum(cells) / len(cells)
far = sum(1 for c in cells if c > 24)
print("%s mean %.2f, %d cells off by more than 24" % ("ok" if mean <= 1.0 and far <= 100 else "FAIL", mean, far))')
  echo "t = $t s: $verdict"
  [[ $verdict == ok* ]] || status=1
done
exit $status
