#!/usr/bin/env bash
# Builds the show for web browsers (WebAssembly, WebGL 2, Web Audio) into
# build-web/site/, a static folder any web host can serve as it is, then
# serves it on 127.0.0.1 and prints the address.
#   scripts/web.sh                 build, then serve (Ctrl+C stops the server)
#   scripts/web.sh --build-only    build only (CI)
#   scripts/web.sh --port N        serve on port N (default 8017)
# Installs what it needs; the music comes from the native build's synthesiser.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

serve=1 port=8017
while (($#)); do
  case $1 in
    --build-only) serve=0 ;;
    --port) port=$2; shift ;;
    *) echo "usage: scripts/web.sh [--build-only] [--port N]" >&2; exit 2 ;;
  esac
  shift
done

source scripts/lib/need_packages.sh
source scripts/lib/builds.sh
need_packages build media web
emscripten_environment

out=$repo/build-web
site=$out/site
mkdir -p "$out"

echo "== music, ES programs and the show's facts: made by the native build =="
native_prerequisites music_wavs demo6_programs demo6_programs_es demo6_programs_es_quad show_facts
# The tracks, their loop flags and their sample rate, as the show has them.
facts=$repo/build/facts
source "$facts/show_facts.sh"
run_dir=$repo/build/run
# The programs: the native build assembles their OpenGL ES 3.00 variants too.
es_programs=$repo/build/run-es/demo6
quad_programs=$repo/build/run-es-quad/demo6

echo "== FreeType for wasm =="
hosts/web/build_freetype.sh "$out"

echo "== show.wasm =="
# Of the system's headers only glm (header-only) is needed, through a folder of its own.
system_include_links "$out/sysinc" glm
emcmake cmake -S hosts/web -B "$out/wasm" -DSHOW_FREETYPE="$out/freetype" -DSHOW_SYSTEM_INCLUDE="$out/sysinc" >/dev/null
cmake --build "$out/wasm" -j2

echo "== site =="
rm -rf "$site.new"
mkdir -p "$site.new/demo6/images" "$site.new/music"
cp hosts/web/index.html hosts/web/page.js "$facts/show_facts.js" "$out/wasm/show.js" "$out/wasm/show.wasm" "$site.new/"
cp "$es_programs"/*.vs "$es_programs"/*.fs "$site.new/demo6/"
# Where the browser's derivatives are fine (the page checks), the programs that
# share taps across pixel quads run as on the desktop, with a quarter of the
# ES variant's taps. Only the page's check makes them safe, so they lie in a
# folder apart: those whose quad-sharing variant differs from the ES one.
mkdir -p "$site.new/demo6-quad"
for quad in "$quad_programs"/*.vs "$quad_programs"/*.fs; do
  cmp -s "$quad" "$es_programs/$(basename "$quad")" || cp "$quad" "$site.new/demo6-quad/"
done
cp demo6/images/*.png "$site.new/demo6/images/"
cp -r fonts "$site.new/fonts"

# The music, compressed. Opus in WebM first, AAC in MP4 for browsers without
# Opus. The looped track is encoded with its last `lead` frames before it and
# its first `lead` frames after it: the page cuts one period from the middle,
# so the loop's seam joins two stretches the codec coded side by side, and the
# codec's start-up delay and end padding fall outside the loop: half a second.
lead=$((sample_rate / 2))
encode_track() {  # <wav> <stem> <looped 0|1>
  local wav=$1 stem=$2 looped=$3 filter=anull frames
  frames=$(ffprobe -v error -select_streams a:0 -count_packets -show_entries stream=duration_ts -of csv=p=0 "$wav")
  if ((looped)); then
    filter="asplit=3[a][b][c];[a]atrim=start_sample=$((frames - lead)),asetpts=PTS-STARTPTS[tail];"
    filter+="[c]atrim=end_sample=$lead,asetpts=PTS-STARTPTS[head];[tail][b][head]concat=n=3:v=0:a=1"
  fi
  ffmpeg -v error -y -i "$wav" -filter_complex "$filter" -c:a libopus -b:a 112k "$site.new/music/$stem.webm"
  ffmpeg -v error -y -i "$wav" -filter_complex "$filter" -c:a aac -b:a 128k -movflags +faststart "$site.new/music/$stem.m4a"
  echo "$stem $frames"
}
music=$(for i in "${!track_paths[@]}"; do
  encode_track "$run_dir/${track_paths[i]}" "${track_stems[i]}" "${track_looped[i]}"
done)

# What the page fetches (path and size, for the progress bar), which of it goes
# into the show's file system, the quad-sharing programs that replace theirs
# where derivatives are fine, and the tracks with the paths the cues name and
# the rate each source decodes at (Opus always at 48 kHz, AAC at the WAV's).
/usr/bin/python3 - "$site.new" "$lead" "$music" "$facts/show_facts.json" <<'EOF'
import json, os, sys
site, lead, music = sys.argv[1], int(sys.argv[2]), dict(l.split() for l in sys.argv[3].splitlines())
with open(sys.argv[4]) as facts_file:
    facts = json.load(facts_file)
data = sorted(os.path.relpath(os.path.join(d, f), site)
              for top in ("demo6", "fonts") for d, _, fs in os.walk(os.path.join(site, top)) for f in fs)
tracks = []
for show_track in facts["tracks"]:
    stem, looped = show_track["stem"], show_track["looped"]
    track = {"plays": show_track["path"], "rate": facts["sampleRate"],
             "sources": [{"file": f"music/{stem}.webm", "type": 'audio/webm; codecs="opus"', "rate": 48000},
                         {"file": f"music/{stem}.m4a", "type": 'audio/mp4; codecs="mp4a.40.2"',
                          "rate": facts["sampleRate"]}]}
    if looped:
        track.update(loopFrames=int(music[stem]), leadFrames=lead)
    tracks.append(track)
quad = sorted("demo6-quad/" + f for f in os.listdir(os.path.join(site, "demo6-quad")))
files = ["show.wasm"] + data + quad + [s["file"] for t in tracks for s in t["sources"]]
manifest = {"files": [{"path": f, "bytes": os.path.getsize(os.path.join(site, f))} for f in files],
            "data": data, "quad": quad, "tracks": tracks}
with open(os.path.join(site, "files.json"), "w") as out:
    json.dump(manifest, out, indent=1)
EOF
rm -rf "$site"
mv "$site.new" "$site"
echo "site: $site ($(du -sh "$site" | cut -f1); show.wasm $(stat -c %s "$site/show.wasm") bytes)"

((serve)) || exit 0
echo "Serving the show at http://127.0.0.1:$port/ (Ctrl+C stops)"
exec /usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
