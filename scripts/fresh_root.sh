#!/usr/bin/env bash
# Runs a command of this checkout in a fresh, minimal root of a Debian release,
# as on a new machine: the release check for Debian 12 and 13.
#   scripts/fresh_root.sh RELEASE COMMAND...
#   scripts/fresh_root.sh trixie scripts/test.sh
#   scripts/fresh_root.sh bookworm scripts/setup.sh
# The root is made once with debootstrap --variant=minbase and kept as a
# tarball under ~/.cache/show-roots/ (scripts/lib/minimal_root.sh); every run
# unpacks a new copy of it,
# copies the checkout in (its tracked files and those git does not ignore)
# as /show, binds /proc, /sys and /dev, and runs COMMAND there as root, in
# /show, with a plain environment: no XDG_RUNTIME_DIR, no DISPLAY, nothing the
# host set. The root's downloaded .debs are kept beside the tarball, so a
# second run installs without downloading again.
# Environment:
#   SHOW_ROOT_MIRROR  the Debian mirror (default: http://deb.debian.org/debian)
#   SHOW_ROOT_KEEP=1  keep the used root (its path is printed) instead of removing it
# Needs root (debootstrap and chroot); installs debootstrap when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

if (($# < 2)); then
  echo "usage: scripts/fresh_root.sh RELEASE COMMAND...   (RELEASE: bookworm, trixie, ...)" >&2
  exit 2
fi
release=$1
shift
[ "$(id -u)" -eq 0 ] || { echo "error: making and entering a root needs root (sudo scripts/fresh_root.sh ...)" >&2; exit 1; }

source scripts/lib/need_packages.sh
source scripts/lib/minimal_root.sh
need_packages root

cache=${XDG_CACHE_HOME:-$HOME/.cache}/show-roots
debs=$cache/$release-debs
mkdir -p "$cache" "$debs"

root=$(mktemp -d "$cache/$release.run.XXXXXX")
chmod 755 "$root"  # as / is: apt's own user must get in
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -l "${mounted[i]}" 2>/dev/null || true
  done
  if [ "${SHOW_ROOT_KEEP:-0}" = 1 ]; then
    echo "the root is kept: $root"
  else
    rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT
bind() {  # <host path> <path in the root>
  mkdir -p "$root$2"
  mount --bind "$1" "$root$2"
  mounted+=("$root$2")
}

echo "== a fresh $release root: $root =="
minimal_root "$release" "$root"
# What a fresh installation lists: the release, its updates and its security fixes.
mirror=$(debian_mirror)
printf 'deb %s %s main\n' "$mirror" "$release" "$mirror" "$release-updates" \
  "${mirror%/debian}/debian-security" "$release-security" > "$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The checkout as a user would have it: a clone of its commit (git history
# included), with the working tree's changes and new files copied over it;
# none of its build folders.
git clone -q --no-local "$repo" "$root/show"
git -C "$root/show" checkout -q --detach "$(git rev-parse HEAD)"
while IFS= read -r -d '' f; do
  if [ -e "$f" ] || [ -L "$f" ]; then cp --parents -P "$f" "$root/show"; else rm -f "$root/show/$f"; fi
done < <(git ls-files -z --modified --others --exclude-standard)

bind /proc /proc
bind /sys /sys
bind /dev /dev
for m in /dev/pts /dev/shm; do
  ! mountpoint -q "$m" || bind "$m" "$m"
done
bind "$debs" /var/cache/apt/archives

echo "== in the $release root: $* =="
set +e
chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c 'cd /show && exec "$@"' fresh_root "$@"
status=$?
set -e
echo "== $release: '$*' ended with status $status =="
exit "$status"
