#!/usr/bin/env bash
# Every assembled program in the run directory's demo6/ passes glslangValidator,
# a strict compiler beside Mesa's, and holds no include left unexpanded.
# With "es", the programs are the OpenGL ES 3.00 variant: each must declare
# itself so, which makes glslangValidator hold it to the ES rules.
# Usage: validate_programs.sh <run dir> [es]
set -u
cd "$1/demo6" || exit 1
status=0
shopt -s nullglob
vertex=(*.vs)
fragment=(*.fs)
if [ $((${#vertex[@]} + ${#fragment[@]})) -ne 44 ]; then
  echo "FAIL: expected the 22 programs (44 files), found ${#vertex[@]} .vs and ${#fragment[@]} .fs"
  status=1
fi
if [ "${2:-}" = es ]; then
  for f in "${vertex[@]}" "${fragment[@]}"; do
    if [ "$(head -n 1 "$f")" != "#version 300 es" ]; then
      echo "FAIL: $f does not start with #version 300 es"
      status=1
    fi
  done
fi
if grep -Hn '^[[:space:]]*#[[:space:]]*include' "${vertex[@]}" "${fragment[@]}"; then
  echo "FAIL: an include was left unexpanded"
  status=1
fi
# One run per stage: it names every file and reports each error with its file.
for stage in vert frag; do
  if [ $stage = vert ]; then files=("${vertex[@]}"); else files=("${fragment[@]}"); fi
  if ! report=$(glslangValidator -S $stage "${files[@]}" 2>&1); then
    echo "FAIL: glslangValidator rejects a $stage program"
    echo "$report"
    status=1
  fi
done
exit $status
