#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, stage by stage, with
# each stage's duration:
#   the benches and tools built once with the tests off (so they never come
#     to lean on the tests);
#   the unit and recorded-GL tests, the real-GL tests on a private Xvfb and
#     end-to-end runs of the show;
#   the unit and recorded-GL tests again under AddressSanitizer and UBSan, and
#     the whole show and the recorder stopped by Ctrl+C under them with
#     LeakSanitizer;
#   the Debian package, checked unpacked;
#   the browser build in headless Chromium (ANGLE on Mesa and SwiftShader);
#   the Windows build, cross-compiled and checked under Wine;
#   the portable Linux archive, played in a minimal Debian 12 root.
# scripts/test.sh --quick runs the unit and recorded-GL tests alone.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
case ${1:-} in
  "") ;;
  --quick) quick=1 ;;
  *) echo "usage: scripts/test.sh [--quick]" >&2; exit 2 ;;
esac

# stage <title> <command>...: runs one stage and says how long it took.
stage() {
  local title=$1 started=$SECONDS
  shift
  echo "== $title =="
  "$@"
  echo "== $title: $((SECONDS - started)) s =="
}

stage "build" scripts/setup.sh -DSHOW_TESTS=ON -DSHOW_BENCHMARKS=ON
if ((quick)); then
  stage "unit and recorded-GL tests" ctest --test-dir build --output-on-failure -j2 -L unit
  exit 0
fi

standalone() {
  # Unoptimised: only whether it builds counts here.
  cmake -S . -B build-standalone -DCMAKE_BUILD_TYPE=None -DSHOW_TESTS=OFF -DSHOW_BENCHMARKS=ON >/dev/null
  cmake --build build-standalone -j"$(nproc)"
}
stage "the benches and tools without the tests" standalone

stage "unit, recorded-GL, real-GL and end-to-end tests" ctest --test-dir build --output-on-failure -j2

sanitized() {
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSHOW_SANITIZE=ON -DSHOW_BENCHMARKS=OFF >/dev/null
  cmake --build build-sanitize -j"$(nproc)" --target unit_tests sound_engine_tests run_data show record_tests
  ctest --test-dir build-sanitize --output-on-failure -j2 -L 'unit|sanitize'
}
stage "unit and recorded-GL tests, the whole show and the stopped recorder, with AddressSanitizer and UBSan" sanitized

package() {
  scripts/package.sh
  tests/package/package_test.sh build/packages/reve-brut_*_"$(dpkg --print-architecture)".deb
}
stage "the Debian package" package

source scripts/lib/need_packages.sh
browser() {
  scripts/web.sh --build-only
  need_packages browser numeric
  tests/web/browser_test.py build-web/site build
}
stage "the browser build, in headless Chromium" browser

windows() {
  scripts/windows.sh --build-only
  need_packages wine display media numeric windows  # windows: the test's console helper
  tests/windows/wine_test.sh build-windows/run build
}
stage "the Windows build, under Wine" windows

linux_archive() {
  scripts/linux.sh
  tests/linux/portable_test.sh build-linux/reve-brut-"$(scripts/lib/version.sh)"-linux-x86_64.tar.gz build
}
stage "the portable Linux archive, in a minimal Debian 12 root" linux_archive
