#!/usr/bin/env bash
# Builds the Debian package of Tessel: a release build of the editor in a folder of its
# own, then CPack. Prints the package's control data and file list, and last its path.
#   scripts/package.sh [build folder]        (default: build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}

scripts/deps.sh
# Only the editor goes into the package: installing need not build the tests and tools.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTESSEL_BENCHMARKS=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target tessel tessel_desktop_files
rm -f "$build"/packages/tessel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)

debs=("$build"/packages/tessel_*.deb)
[ -f "${debs[0]}" ] || { echo "package.sh: CPack made no package" >&2; exit 1; }
dpkg-deb --info "${debs[0]}"
dpkg-deb --contents "${debs[0]}"
realpath "${debs[0]}"
