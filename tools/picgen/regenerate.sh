#!/usr/bin/env bash
# Builds picgen on its own and redraws every picture of the window into resources/pictures.
# Usage: tools/picgen/regenerate.sh [build folder]   (default: build-picgen in the repository)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
build="${1:-$repo/build-picgen}"

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target picgen -j2
QT_QPA_PLATFORM=offscreen "$build/picgen" "$repo/resources/pictures"
echo "Pictures written to $repo/resources/pictures"
