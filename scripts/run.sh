#!/usr/bin/env bash
# Quick start: installs what is missing, builds the editor, and starts it from ./run with
# a copy of the sample skin loaded. The copy is made on the first run, so that saving
# never changes the sample in skins/sample. The build's progress goes to build/build.log;
# its end is shown only when the build fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
mkdir -p build
log=build/build.log
echo "Building Tessel (progress in $log) ..."
if ! { cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
    cmake --build build -j"$(nproc)" --target tessel; } >"$log" 2>&1; then
    echo "The build failed. The end of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
fi
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
