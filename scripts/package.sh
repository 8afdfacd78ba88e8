#!/usr/bin/env bash
# Builds the Debian package build/packages/reve-brut_<version>_<arch>.deb:
# installs what is missing, builds in Release with Debian's hardening flags in
# build-package/ (beside the everyday build/), runs CPack, then lintian, whose
# warnings are shown and whose errors fail the script.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/need_packages.sh
need_packages build sources package

# Debian's compiler and linker flags, without -g: the packaged binary is stripped.
debian_flags() {
  DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CFLAGS_MAINT_STRIP=-g DEB_CXXFLAGS_MAINT_STRIP=-g \
    dpkg-buildflags --get "$1"
}
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DSHOW_TESTS=OFF -DSHOW_BENCHMARKS=OFF \
  -DCMAKE_C_FLAGS="$(debian_flags CPPFLAGS) $(debian_flags CFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(debian_flags CPPFLAGS) $(debian_flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(debian_flags LDFLAGS)" >/dev/null
cmake --build build-package -j"$(nproc)"

# CPack builds everything first, then packages the install of it.
rm -f build-package/packages/*.deb
(cd build-package && cpack -B "$PWD/packages" >/dev/null)
mkdir -p build/packages
for deb in build-package/packages/*.deb; do
  cp "$deb" build/packages/
  deb="build/packages/$(basename "$deb")"
  echo "== lintian $deb =="
  lintian --fail-on error "$deb"
  echo "Built $deb"
done
