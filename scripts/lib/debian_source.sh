# Sourced by the build scripts: debian_source <work-dir> <package[=version]>...
# unpacks each source package into <work-dir>/src/<package>-<upstream version>/.
# A version that cannot be fetched gives way to another that the source index
# offers (with a warning); when none can be, it says so and returns 1.
# The sources come through a private deb-src list under <work-dir>, made from the
# system's own "deb" entries and passed to apt as options, so nothing under /etc
# changes and no root is needed.
debian_source() {
  local work=$1 f
  shift
  mkdir -p "$work/apt/sources.list.d" "$work/apt/lists/partial" "$work/src"

  # The private source list: every "deb" entry of the system's lists as "deb-src".
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' /etc/apt/sources.list \
      > "$work/apt/sources.list"
  else
    : > "$work/apt/sources.list"
  fi
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed 's/^Types:.*/Types: deb-src/' "$f" > "$work/apt/sources.list.d/$(basename "$f")"
  done
  for f in /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' "$f" \
      > "$work/apt/sources.list.d/$(basename "$f")"
  done

  local apt_opts=(
    -o "Dir::Etc::SourceList=$work/apt/sources.list"
    -o "Dir::Etc::SourceParts=$work/apt/sources.list.d"
    -o "Dir::State::Lists=$work/apt/lists"
    # Keep the package caches private too: the system's describe the system's lists.
    -o "Dir::Cache::pkgcache="
    -o "Dir::Cache::srcpkgcache="
    # The download sandbox user could not write into a build folder owned by us.
    -o "APT::Sandbox::User=$(id -un)"
  )
  echo "Fetching Debian source packages: $*"
  # A list other than Debian's may carry no sources; that is no reason to stop
  # while Debian's still give the packages.
  apt-get "${apt_opts[@]}" update -qq || echo "warning: some source lists could not be read" >&2
  local request
  for request in "$@"; do
    _debian_source_one "$work" "$request" || return 1
  done
}

# Fetches one <package[=version]>. When that version cannot be fetched (a
# mirror without the file its index names answers 404), tries the other
# versions the source index offers, newest first; when none comes, says which
# package and version, what the index offers and what to try.
_debian_source_one() {
  local work=$1 request=$2 package version offered=() tried=() v
  package=${request%%=*}
  version=""
  [[ $request != *=* ]] || version=${request#*=}
  (cd "$work/src" && apt-get "${apt_opts[@]}" source -qq "$request") && return 0
  tried+=("${version:-the newest}")

  mapfile -t offered < <(apt-cache "${apt_opts[@]}" showsrc "$package" 2>/dev/null \
    | sed -n 's/^Version: //p' | sort -u | sort -rV)
  for v in ${offered[@]+"${offered[@]}"}; do
    [ "$v" != "$version" ] || continue
    echo "warning: $package $v, which the source index also offers, instead" >&2
    if (cd "$work/src" && apt-get "${apt_opts[@]}" source -qq "$package=$v"); then
      echo "warning: built from the source of $package $v, not ${version:-the newest}" >&2
      return 0
    fi
    tried+=("$v")
  done

  local lists
  lists=$(cat "$work/apt/sources.list" "$work/apt/sources.list.d"/* 2>/dev/null \
    | sed -n 's/^deb-src[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?//p; s/^URIs:[[:space:]]*//p' | sort -u | tr '\n' ' ')
  {
    echo "error: could not fetch the Debian source package $package${version:+ $version} (apt says why above)."
    echo "  Tried: ${tried[*]}."
    echo "  The source index offers: ${offered[*]:-no version of it}. Sources from: ${lists:-no list}"
    echo "  To try:"
    echo "  - later, or after 'apt-get update': a mirror can lag behind the index it publishes;"
    echo "  - another mirror, in /etc/apt/sources.list or /etc/apt/sources.list.d/;"
    echo "  - Debian's archive of every version: https://snapshot.debian.org/package/$package/${version:-}"
    echo "    lists the files and the archive's dated URL, which can serve as a deb-src entry."
  } >&2
  return 1
}
