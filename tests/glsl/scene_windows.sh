#!/usr/bin/env bash
# The scene programs take their windows from timeline.glsl, never as numbers
# of their own: in every sceneEnvelope(t, start, end) of demo6/, the start is
# 0.0 (a clock that starts with the window) or a name, and the end is a name.
# A literal window would silently drift from the chain's when the timeline
# changes. Usage: scene_windows.sh <demo6 dir>
set -u
cd "$1" || exit 1
calls=$(grep -ho 'sceneEnvelope([^)]*)' ./*.vs ./*.fs | grep -v 'sceneEnvelope(float')
[ -n "$calls" ] || { echo "FAIL: no scene program calls sceneEnvelope()"; exit 1; }
bad=$(grep -vE '^sceneEnvelope\([A-Za-z_][A-Za-z0-9_]*, (0\.0|k[A-Za-z0-9_]+(\[[0-9]+\])?), k[A-Za-z0-9_]+(\[[0-9]+\])?\)$' <<<"$calls")
if [ -n "$bad" ]; then
  echo "FAIL: a scene window written as a literal instead of a name from timeline.glsl:"
  echo "$bad"
  exit 1
fi
echo "$(wc -l <<<"$calls") scene windows, all from timeline.glsl"
