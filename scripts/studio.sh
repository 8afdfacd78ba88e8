#!/usr/bin/env bash
# Installs what is missing, builds, and starts the studio: the show in a
# window with a transport, an overlay and live reload of the sources in this
# repository (see README, "Work on the show"). Escape or closing the window ends it.
# Usage: scripts/studio.sh [--at SECONDS] [--loop FROM:TO]
# Without a display it draws on a private Xvfb with Mesa's software renderer
# (told to offer OpenGL 4.6), which only its S key and scripts can look at.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Only the studio and the show's data; whatever else build/ is configured with stays.
"$root/scripts/setup.sh" --target studio >&2
cd "$root/build/run"
exec ./studio "$@"
