#!/usr/bin/env bash
# Installs the Debian packages the show and its tests need (only those that
# are missing), then configures and builds into build/.
# Usage: scripts/setup.sh [--target T]... [extra cmake arguments]
#   Without cmake arguments build/ keeps the options it was configured with;
#   with --target only those targets are built, else everything.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/lib/need_packages.sh
need_packages build display test numeric media

targets=() cmake_arguments=()
while (($#)); do
  case $1 in
    --target) targets+=(--target "$2"); shift 2 ;;
    *) cmake_arguments+=("$1"); shift ;;
  esac
done

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${cmake_arguments[@]+"${cmake_arguments[@]}"} >/dev/null
cmake --build build -j"$(nproc)" ${targets[@]+"${targets[@]}"}
