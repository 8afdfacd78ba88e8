#!/bin/sh
# Writes the package's copyright file in Debian's machine-readable format: the
# project's MIT licence for everything, then each font's own licence from
# fonts/LICENSE-<face>.txt. A licence file already in that format keeps its
# paragraphs about the face, with "Files:" naming it; a plain licence text becomes one
# paragraph. A face without a licence file is an error.
# Usage: make_copyright.sh <LICENSE> <fonts-dir>
set -eu
license=$1
fonts=$2

# A text as the continuation lines of a field: indented, blank lines as " .".
indent() { sed -e 's/^[[:space:]]*$/./' -e 's/^/ /' "$@"; }

cat <<EOF
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: reve-brut
Comment: The program, its images and its generated music are under the MIT
 licence. Each font keeps its own licence, given below.

Files: *
Copyright: $(grep -m1 '^Copyright' "$license" | sed 's/^Copyright (c) //')
License: Expat
$(sed -n '/^Permission is hereby granted/,/^SOFTWARE\.$/p' "$license" | indent)
EOF

for face in "$fonts"/*.ttf; do
  stem=$(basename "$face" .ttf)
  text="$fonts/LICENSE-$stem.txt"
  [ -f "$text" ] || { echo "make_copyright.sh: no licence for $face ($text)" >&2; exit 1; }
  echo
  if head -n1 "$text" | grep -q '^Format:'; then
    # Keep the paragraphs about the face: not the header, not those about
    # Debian's packaging of it (debian/*). Their Files field names this face.
    awk -v face="fonts/$stem.ttf" 'BEGIN { RS = ""; ORS = "\n\n" }
      NR == 1 || /^Files:[ \t]*debian\// { next }
      {
        n = split($0, lines, "\n"); out = ""; in_files = 0
        for (i = 1; i <= n; i++) {
          if (lines[i] ~ /^Files:/) { lines[i] = "Files: " face; in_files = 1 }
          else if (in_files && lines[i] ~ /^[ \t]/) continue
          else in_files = 0
          out = out (out == "" ? "" : "\n") lines[i]
        }
        print out
      }' "$text" | sed '$d'
  else
    copyright=$(grep -i '^[[:space:]]*copyright' "$text" | sed 's/^[[:space:]]*//' | sed '2,$s/^/ /')
    name="$stem-licence"
    grep -q 'SIL OPEN FONT LICENSE' "$text" && name=OFL-1.1
    echo "Files: fonts/$stem.ttf"
    echo "Copyright: ${copyright:-see the licence text}"
    echo "License: $name"
    indent "$text"
  fi
done
