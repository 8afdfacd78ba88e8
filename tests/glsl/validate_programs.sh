#!/usr/bin/env bash
# Every assembled program in the run directory's demo6/ passes glslangValidator,
# a strict compiler beside Mesa's, and holds no include left unexpanded.
# Usage: validate_programs.sh <run dir>
set -u
cd "$1/demo6" || exit 1
status=0
count=0
for program in *.vs *.fs; do
  case $program in *.vs) stage=vert ;; *) stage=frag ;; esac
  count=$((count + 1))
  if grep -n '^[[:space:]]*#[[:space:]]*include' "$program"; then
    echo "FAIL: $program keeps an include"
    status=1
  fi
  if ! report=$(glslangValidator -S "$stage" "$program" 2>&1); then
    echo "FAIL: $program"
    echo "$report"
    status=1
  fi
done
[ "$count" -eq 44 ] || { echo "FAIL: expected 22 programs (44 files), found $count files"; status=1; }
exit $status
