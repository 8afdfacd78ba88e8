# Sourced by the scripts that build the show for another platform or ship it;
# run from the repository's root.

# native_prerequisites <target>...: builds what the native build makes for the
# others (the music, the assembled programs, the show's facts) in build/,
# keeping the options build/ was configured with.
native_prerequisites() {
  if [ -f build/CMakeCache.txt ]; then
    cmake --build build --target "$@" >/dev/null
  else
    scripts/setup.sh $(printf -- '--target %s ' "$@")
  fi
}

# system_include_links <dir> <folder>...: a folder of links to the named
# folders of /usr/include (header-only libraries), so that a cross build sees
# those and none of the host's other headers.
system_include_links() {
  local dir=$1 folder
  shift
  mkdir -p "$dir"
  for folder in "$@"; do ln -sfn "/usr/include/$folder" "$dir/$folder"; done
}

# The time every file of an archive carries: the last commit's, so that the
# same tree gives the same archive.
archive_stamp() { git log -1 --format=%ct 2>/dev/null || date +%s; }

# Debian's emcc finds its node modules and its python only through these.
emscripten_environment() { export NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3; }

# archive_licences <static libraries dir> <runtime title> <runtime copyright>:
# every licence an archive of the show carries, each under its title: the
# program's, the fonts', the libraries linked in, the compiler's runtime.
archive_licences() {
  local libraries=$1 licence
  section() { printf '\n\n%s\n%s\n\n' "$1" "$(sed 's/./-/g' <<<"$1")"; cat "$2"; }
  section "The program, its images and its music (MIT)" LICENSE
  for licence in fonts/LICENSE-*.txt; do
    section "The font $(basename "$licence" .txt | sed 's/^LICENSE-//')" "$licence"
  done
  section "GLFW" "$libraries/licences/glfw.txt"
  section "FreeType" "$libraries/licences/freetype.txt"
  section "SDL2" "$libraries/licences/sdl2.txt"
  section "SDL2_mixer" "$libraries/licences/sdl2_mixer.txt"
  section "$2" "$3"
}
