#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (ends with CTest's summary).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DBUILD_TESTING=ON
cd build
ctest --output-on-failure -j"$(nproc)" "$@"
