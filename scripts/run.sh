#!/usr/bin/env bash
# Quick start: installs what is missing, builds the editor, and starts it from ./run with
# a copy of the sample skin loaded. The copy is made on the first run, so that saving
# never changes the sample in skins/sample.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tessel
root=$(pwd)
if [ ! -d run/sample ]; then
    mkdir -p run
    cp -R skins/sample run/sample
    printf '[Directory]\r\nlastDir=%s\r\n' "$root/run/sample" > run/Tessel.ini
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: run it under X, for example: xvfb-run -s '-screen 0 1024x768x24' scripts/run.sh"
    exit 1
fi
cd run
exec "$root/build/tessel" "$root/run/sample"
