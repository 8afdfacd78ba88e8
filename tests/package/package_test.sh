#!/usr/bin/env bash
# Checks the Debian package, unpacked with dpkg -x: its file list, its menu
# entry, and its launcher started from another directory on a private Xvfb:
# it plays the show (Escape gives 0), and it names its data directory when a
# file of it or the whole directory is gone, the show then failing as usual.
# Usage: package_test.sh <reve-brut .deb>
set -uo pipefail
deb=$(readlink -f "$1")
source "$(dirname "$0")/../e2e/e2e_session.sh"
export SDL_AUDIODRIVER=dummy
export_gl46

root="$work/root"
dpkg -x "$deb" "$root" || fail "dpkg -x $deb"
data=usr/share/games/reve-brut
launcher="$root/usr/games/reve-brut"

# --- file list: Debian's layout for games, the data directory apart ---------------
expected=$(sort <<LIST
usr/games/reve-brut
usr/lib/games/reve-brut/show
usr/share/applications/reve-brut.desktop
usr/share/doc/reve-brut/changelog.gz
usr/share/doc/reve-brut/copyright
usr/share/man/man6/reve-brut.6.gz
$data/data-files
$(for size in 16 24 32 48 64 128 256; do echo "usr/share/icons/hicolor/${size}x$size/apps/reve-brut.png"; done)
LIST
)
actual=$(cd "$root" && find . ! -type d ! -path "./$data/demo6/*" ! -path "./$data/fonts/*" | cut -c3- | sort)
[ "$actual" = "$expected" ] || fail "file list differs: $(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"
[ -x "$launcher" ] && [ -x "$root/usr/lib/games/reve-brut/show" ] || fail "launcher or binary not executable"
# The data directory holds exactly the files of its list, the tracks and faces among them.
present=$(cd "$root/$data" && find demo6 fonts ! -type d | sort)
[ "$present" = "$(sort "$root/$data/data-files")" ] || fail "data-files does not list the data directory"
for file in demo6/musics/Tune1.wav demo6/musics/newtune.wav fonts/Antonio-Regular.ttf fonts/c64.ttf fonts/topaz.ttf; do
  grep -qx "$file" <<<"$present" || fail "$file is not packaged"
done
zcat "$root/usr/share/man/man6/reve-brut.6.gz" | grep -q '^\.SH EXIT STATUS' || fail "manual page"

# --- menu entry: valid, and naming the launcher and the icon that are packaged -----
desktop="$root/usr/share/applications/reve-brut.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=reve-brut' "$desktop" && grep -qx 'Icon=reve-brut' "$desktop" || fail "Exec or Icon"

# --- the launcher, from a directory that holds none of the show's files -----------
mkdir "$work/elsewhere" && cd "$work/elsewhere" || fail "mkdir"

# Plays the show; Escape, held a moment as a hand does, ends it.
(timeout 120 "$launcher" >"$work/out" 2>"$work/err"; echo $? >"$work/status") &
for _ in $(seq 300); do show_window_open && break; sleep 0.1; done
show_window_open || fail "the show's window never opened (status $(cat "$work/status"), output: $(head -3 "$work/out"))"
for _ in $(seq 20); do
  xdotool keydown Escape; sleep 0.2; xdotool keyup Escape
  for _ in $(seq 10); do [ -s "$work/status" ] && break 2; sleep 0.1; done
done
[ "$(cat "$work/status")" = 0 ] || fail "status $(cat "$work/status") after Escape, expected 0"
[ ! -s "$work/out" ] || fail "the show reported missing files: $(head -3 "$work/out")"
grep -q 'reve-brut:' "$work/err" && fail "the launcher complained: $(cat "$work/err")"

# A face deleted by hand: the launcher names the directory and the file, the show
# stops with its font message and 255.
rm "$root/$data/fonts/c64.ttf"
timeout 60 "$launcher" >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 255 ] || fail "status $status without fonts/c64.ttf, expected 255"
grep -q "reve-brut: .*$root/$data.* fonts/c64.ttf" "$work/err" || fail "stderr: $(cat "$work/err")"
[ "$(cat "$work/out")" = "ERROR TERROR failed to load font as face" ] || fail "output: $(cat "$work/out")"

# The whole data directory gone: the launcher names it; the show reports what it
# cannot read and stops at the first font, with 255.
mv "$root/$data" "$work/data-moved"
timeout 60 "$launcher" >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 255 ] || fail "status $status without the data directory, expected 255"
grep -q "reve-brut: .*$root/$data is missing" "$work/err" || fail "stderr: $(cat "$work/err")"
[ "$(tail -n1 "$work/out")" = "ERROR TERROR failed to load font as face" ] || fail "output: $(cat "$work/out")"
echo "PASS: package $(basename "$deb")"
