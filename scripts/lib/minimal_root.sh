# Sourced: minimal_root RELEASE DIR PACKAGES...
# makes DIR a fresh minimal Debian root of RELEASE (a code name, or 12 / 13)
# with nothing but PACKAGES (and what they depend on) added to
# `debootstrap --variant=minbase`. The root is made once and kept as a tar
# under ~/.cache/show-roots/, keyed by the release, the packages and the way
# it is made (minimal_root_layout below: raise it when that changes). Each
# call unpacks a fresh copy into DIR (emptied first), so a test that writes
# into its root leaves the next one untouched. Needs root (debootstrap makes
# device nodes); installs debootstrap when missing.
minimal_root() {
  local release=$1 dir=$2
  shift 2
  case $release in 12) release=bookworm ;; 13) release=trixie ;; esac
  local packages key cache tarball mirror
  packages=$(printf '%s\n' "$@" | sort -u | paste -sd, -)
  local minimal_root_layout=1
  key=$(printf '%s\n' "$release" "$packages" "$minimal_root_layout" | sha256sum | cut -c1-12)
  cache=${XDG_CACHE_HOME:-$HOME/.cache}/show-roots
  tarball=$cache/$release-minbase-$key.tar
  if [ ! -f "$tarball" ]; then
    source "$(dirname "${BASH_SOURCE[0]}")/need_packages.sh"
    need_packages root || return 1
    mirror=$(debian_mirror)
    mkdir -p "$cache"
    local build
    build=$(mktemp -d "$cache/$release-minbase.XXXXXX")
    echo "Making a minimal $release root with ${packages:-nothing more} (once; cached in $tarball)" >&2
    if ! debootstrap --variant=minbase ${packages:+--include="$packages"} "$release" "$build/root" "$mirror" \
         > "$build/debootstrap.log" 2>&1; then
      tail -n 20 "$build/debootstrap.log" >&2
      rm -rf "$build"
      return 1
    fi
    # Nothing of the download is needed to run.
    rm -rf "$build/root/var/cache/apt/archives/"*.deb "$build/root/var/lib/apt/lists/"*
    # Written whole and then renamed: a run cut short leaves no tar that a
    # later run would take as cached.
    tar -C "$build/root" --numeric-owner -cf "$build/root.tar" . && mv "$build/root.tar" "$tarball"
    local made=$?
    rm -rf "$build"
    ((made == 0)) || return 1
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  tar -C "$dir" --numeric-owner -xf "$tarball"
}

# The Debian mirror the roots come from: SHOW_ROOT_MIRROR, else the one the
# system itself uses, else Debian's own.
debian_mirror() {
  local mirror=${SHOW_ROOT_MIRROR:-}
  [ -n "$mirror" ] || mirror=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\/debian\)[[:space:]]*$/\1/p' \
                                 /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
  echo "${mirror:-http://deb.debian.org/debian}"
}
