#!/usr/bin/env bash
# The C++ GLSL assembler writes every program of the show in all three
# variants byte for byte as the CMake script it replaced did.
# Usage: assembler_reference.sh <assemble_glsl> <reference_assembler.cmake> <demo6 dir> <generated include dir>
set -u
assembler=$1 reference=$2 sources=$3 generated=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=0
for source in "$sources"/*.vs "$sources"/*.fs; do
  for variant in desktop es es-quad; do
    "$assembler" --variant "$variant" --include-dir "$generated" "$source" "$work/new" ||
      { echo "FAIL: $source ($variant) did not assemble"; exit 1; }
    cmake -DIN="$source" -DOUT="$work/old" -DVARIANT="$variant" -DINCLUDE_DIR="$generated" -P "$reference" ||
      { echo "FAIL: the reference refused $source ($variant)"; exit 1; }
    cmp "$work/old" "$work/new" || { echo "FAIL: $source ($variant) differs"; exit 1; }
    count=$((count + 1))
  done
done
[ "$count" -ge 60 ] || { echo "FAIL: only $count programs compared"; exit 1; }
echo "ok: $count assembled programs identical"
