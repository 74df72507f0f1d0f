#!/usr/bin/env bash
# Builds the Debian package of the viewer, norq-ais and norq-sim from this checkout:
# installs the Debian packages the build needs, makes the world chart and gazetteer
# files when they are missing (a few minutes, once), builds in build-package/ for the
# prefix /usr (linked with full RELRO, as Debian links its programs), makes the .deb
# with CPack and checks it (scripts/check-package.sh).
# Usage: scripts/package.sh [--no-check | --chroot]
#   --chroot  also installs it on a clean Debian 12 (scripts/check-package-chroot.sh)
# The package is left in build-package/ and its path printed last.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build gui docs package
scripts/make-chart-data.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_INSTALL_PREFIX=/usr -DNORQ_GUI=ON -DNORQ_DOCS=ON -DNORQ_TESTS=OFF \
    -DNORQ_BENCH=OFF -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro -Wl,-z,now" "${launcher[@]}" \
    >/dev/null
cmake --build build-package -j"$(nproc)"
rm -f build-package/norq-ais-viewer_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/norq-ais-viewer_*.deb)

if [[ "${1:-}" != "--no-check" ]]; then
    scripts/check-package.sh "$deb"
fi
if [[ "${1:-}" == "--chroot" ]]; then
    scripts/check-package-chroot.sh "$deb"
fi
echo "$deb"
