#!/usr/bin/env bash
# The assembler's ES 3.00 variant: the version line and precision header, the
# GL_ES switches resolved by the assembler for either variant (the desktop
# text keeps no trace of them), and the errors it stops on; and the ES
# validation really rejects a program that breaks the ES rules.
# Usage: es_variant.sh <assemble_glsl> <validate_programs.sh> <ES run dir>
set -u
assembler=$1 validate=$2 es_run=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir "$work/lib"
assemble() { "$assembler" ${2:+--variant $2} "$work/$1" "$work/out" 2>&1; }

# A module with both kinds of switch, an ordinary #if inside one (passed on),
# and an include only the desktop branch reaches (skipped by the ES variant).
printf '#version 460 core\nuniform samplerCube sky;\n#include "lib/m.glsl"\nvoid main() {}\n' >"$work/p.fs"
cat >"$work/lib/m.glsl" <<'GLSL'
float shared() { return 1.0; }
#ifndef GL_ES
#include "desktop.glsl"
float f() { return fine(); }
#else
#if KEEP
float kept() { return 2.0; }
#endif
float f() { return 3.0; }
#endif
#ifdef GL_ES // a comment may follow
float esOnly() { return 4.0; }
#endif
GLSL
printf 'float fine() { return dFdxFine(1.0); }\n' >"$work/lib/desktop.glsl"

assemble p.fs >/dev/null || fail "the desktop variant did not assemble"
expected=$'#version 460 core\nuniform samplerCube sky;\nfloat shared() { return 1.0; }\nfloat fine() { return dFdxFine(1.0); }\nfloat f() { return fine(); }\nvoid main() {}'
[ "$(cat "$work/out")" = "$expected" ] || fail "desktop variant: $(cat "$work/out")"

# The quad-sharing ES variant: the desktop branch under the ES header, its
# fine derivatives written as ES 3.00's plain ones.
assemble p.fs es-quad >/dev/null || fail "the quad-sharing ES variant did not assemble"
expected=$'#version 300 es\nprecision highp float;\nprecision highp int;\nprecision highp sampler2D;\nprecision highp samplerCube;\nuniform samplerCube sky;\nfloat shared() { return 1.0; }\nfloat fine() { return dFdx(1.0); }\nfloat f() { return fine(); }\nvoid main() {}'
[ "$(cat "$work/out")" = "$expected" ] || fail "quad-sharing ES variant: $(cat "$work/out")"

rm "$work/lib/desktop.glsl"
assemble p.fs es >/dev/null || fail "the ES variant followed an include of the desktop branch"
expected=$'#version 300 es\nprecision highp float;\nprecision highp int;\nprecision highp sampler2D;\nprecision highp samplerCube;\nuniform samplerCube sky;\nfloat shared() { return 1.0; }\n#if KEEP\nfloat kept() { return 2.0; }\n#endif\nfloat f() { return 3.0; }\nfloat esOnly() { return 4.0; }\nvoid main() {}'
[ "$(cat "$work/out")" = "$expected" ] || fail "ES variant: $(cat "$work/out")"

# Assembling must stop, and say why.
refused() {  # <what> <message> <program> [variant]
  local out
  out=$(assemble "$3" "${4:-}") && fail "$1 assembled"
  grep -q "$2" <<<"$out" || fail "$1: $out"
}
refused "an unknown variant" 'the variant is desktop, es or es-quad, not "web"' p.fs web

printf 'float a;\n#ifdef GL_ES\nfloat b;\n' >"$work/lib/m.glsl"
refused "an unclosed switch" 'lib/m.glsl:3: an #if is not closed' p.fs

printf '#ifdef GL_ES\n#elif X\n#endif\n' >"$work/lib/m.glsl"
refused "#elif in a switch" 'lib/m.glsl:2: #elif in a GL_ES switch' p.fs es

printf 'float a;\n#endif\n' >"$work/lib/m.glsl"
refused "a stray #endif" 'lib/m.glsl:2: #endif without an #if' p.fs

printf '#version 330\nvoid main() {}\n' >"$work/old.fs"
refused "an ES variant of another version" 'needs "#version 460 core"' old.fs es

# The ES validation fails on a program that uses what ES 3.00 lacks, and on
# one that is not marked as ES at all (it would be checked as desktop GLSL).
cp -r "$es_run/demo6" "$work/demo6"
"$validate" "$work" es >/dev/null || fail "the built ES programs do not validate"
sed -i '$a float fine(float v) { return dFdxFine(v); }' "$work/demo6/demo6pt1.fs"
out=$("$validate" "$work" es) && fail "dFdxFine passed the ES validation"
grep -q 'dFdxFine' <<<"$out" || fail "dFdxFine: $out"
cp "$es_run/demo6/demo6pt1.fs" "$work/demo6/demo6pt1.fs"
sed -i '1s/.*/#version 460 core/' "$work/demo6/demo6pt4.fs"
out=$("$validate" "$work" es) && fail "a desktop program passed the ES validation"
grep -q 'demo6pt4.fs does not start with #version 300 es' <<<"$out" || fail "desktop in ES: $out"
echo "ok"
