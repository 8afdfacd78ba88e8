#!/usr/bin/env bash
# The GLSL assembler expands includes once each, and stops with the file and
# line on an include that is missing or that leads back to itself.
# Usage: assembler_errors.sh <assemble_glsl>
set -u
assembler=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir "$work/lib"
assemble() { "$assembler" "$work/$1" "$work/out" 2>&1; }

printf '#version 460 core\n#include "lib/a.glsl"\n#include "lib/b.glsl"\nvoid main() {}\n' >"$work/p.fs"
printf '#include "b.glsl"\nfloat a() { return b(); }\n' >"$work/lib/a.glsl"
printf 'float b() { return 1.0; }\n' >"$work/lib/b.glsl"
assemble p.fs >/dev/null || fail "a valid program did not assemble"
expected=$'#version 460 core\nfloat b() { return 1.0; }\nfloat a() { return b(); }\nvoid main() {}'
[ "$(cat "$work/out")" = "$expected" ] || fail "unexpected assembly: $(cat "$work/out")"

# An include not beside its file is looked for in INCLUDE_DIR; one beside it wins.
mkdir "$work/generated"
printf 'const float kG = 2.0;\n' >"$work/generated/g.glsl"
printf 'const float kG = 3.0;\n' >"$work/lib/g.glsl"
printf '#include "g.glsl"\nfloat b() { return kG; }\n' >"$work/lib/b.glsl"
printf '#include "g.glsl"\nvoid main() {}\n' >"$work/q.fs"
"$assembler" --include-dir "$work/generated" "$work/q.fs" "$work/out" >/dev/null 2>&1 ||
  fail "an include from INCLUDE_DIR did not assemble"
[ "$(cat "$work/out")" = $'const float kG = 2.0;\nvoid main() {}' ] || fail "INCLUDE_DIR: $(cat "$work/out")"
"$assembler" --include-dir "$work/generated" "$work/lib/b.glsl" "$work/out" >/dev/null 2>&1 ||
  fail "an include beside its file did not assemble"
[ "$(head -1 "$work/out")" = 'const float kG = 3.0;' ] || fail "INCLUDE_DIR came first: $(cat "$work/out")"
rm "$work/lib/g.glsl"

printf 'float b() { return 1.0; }\n#include "missing.glsl"\n' >"$work/lib/b.glsl"
out=$(assemble p.fs) && fail "a missing include assembled"
grep -q "lib/b.glsl:2: included file \"missing.glsl\" not found" <<<"$out" || fail "missing include: $out"

printf '#include "a.glsl"\n' >"$work/lib/b.glsl"
out=$(assemble p.fs) && fail "an include cycle assembled"
grep -q "lib/b.glsl:1: \"a.glsl\" includes itself" <<<"$out" || fail "cycle: $out"

printf 'x\n#include "self.fs"\n' >"$work/self.fs"
out=$(assemble self.fs) && fail "a file including itself assembled"
grep -q "self.fs:2: \"self.fs\" includes itself" <<<"$out" || fail "self include: $out"
echo "ok"
