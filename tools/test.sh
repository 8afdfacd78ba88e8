#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit and recorded-GL
# tests, real-GL tests on a private Xvfb, end-to-end runs of the show; then
# the unit and recorded-GL tests again under AddressSanitizer and UBSan, and
# the whole show and the recorder stopped by Ctrl+C under them with
# LeakSanitizer; then builds the Debian package and checks it unpacked; then
# builds the browser build and checks it in headless Chromium (ANGLE on Mesa
# and SwiftShader); then cross-builds for Windows and checks show.exe under
# Wine; then builds the portable Linux archive and plays it in a minimal
# Debian 12 root. Before the tests run, the benches and tools build once
# with the tests off.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh -DSHOW_TESTS=ON -DSHOW_BENCHMARKS=ON

echo "== the benches and tools without the tests =="
# Unoptimised: only whether it builds counts here.
cmake -S . -B build-standalone -DCMAKE_BUILD_TYPE=None -DSHOW_TESTS=OFF -DSHOW_BENCHMARKS=ON >/dev/null
cmake --build build-standalone -j"$(nproc)"

(cd build && ctest --output-on-failure -j2)

echo "== unit and recorded-GL tests, the whole show and the stopped recorder, with AddressSanitizer and UBSan =="
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSHOW_SANITIZE=ON -DSHOW_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j"$(nproc)" --target unit_tests sound_engine_tests run_data show record_tests
(cd build-sanitize && ctest --output-on-failure -j2 -L 'unit|sanitize')

echo "== the Debian package =="
tools/package.sh
tests/package/package_test.sh build/packages/reve-brut_*_"$(dpkg --print-architecture)".deb

echo "== the browser build, in headless Chromium =="
tools/web.sh --build-only
source tools/need_packages.sh
need_packages chromium chromium-driver python3-selenium python3-numpy python3-pil
tests/web/browser_test.py build-web/site build

echo "== the Windows build, under Wine =="
tools/windows.sh --build-only
need_packages wine wine64 xvfb xauth xdotool ffmpeg python3-numpy python3-pil
tests/windows/wine_test.sh build-windows/run build

echo "== the portable Linux archive, in a minimal Debian 12 root =="
tools/linux.sh
tests/linux/portable_test.sh build-linux/reve-brut-"$(tools/version.sh)"-linux-x86_64.tar.gz build
