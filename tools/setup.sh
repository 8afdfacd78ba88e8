#!/usr/bin/env bash
# Installs the Debian packages the show and its tests need (only those that
# are missing), then configures and builds into build/.
# Usage: tools/setup.sh [--target T]... [extra cmake arguments]
#   Without cmake arguments build/ keeps the options it was configured with;
#   with --target only those targets are built, else everything.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  libglfw3-dev libgl-dev libfreetype-dev libstb-dev libglm-dev libsdl2-mixer-dev libasound2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri xdotool faketime x11-xserver-utils glslang-tools
  ffmpeg python3 python3-pil
)
source tools/need_packages.sh
need_packages "${packages[@]}"

targets=() cmake_arguments=()
while (($#)); do
  case $1 in
    --target) targets+=(--target "$2"); shift 2 ;;
    *) cmake_arguments+=("$1"); shift ;;
  esac
done

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${cmake_arguments[@]+"${cmake_arguments[@]}"} >/dev/null
cmake --build build -j"$(nproc)" ${targets[@]+"${targets[@]}"}
