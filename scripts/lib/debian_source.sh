# Sourced by the build scripts: debian_source <work-dir> <package[=version]>...
# unpacks each source package into <work-dir>/src/<package>-<upstream version>/.
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
  (cd "$work/src" && apt-get "${apt_opts[@]}" source -qq "$@")
}
