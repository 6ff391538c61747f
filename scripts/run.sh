#!/usr/bin/env bash
# Quick start: installs what is missing, builds, and starts the editor from ./run,
# whose Tessel.ini names the sample skin shipped in skins/sample.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
root=$(pwd)
mkdir -p run
if [ ! -f run/Tessel.ini ]; then
    printf '[Directory]\r\nlastDir=%s\r\n' "$root/skins/sample" > run/Tessel.ini
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: run it under X, for example: xvfb-run -s '-screen 0 1024x768x24' scripts/run.sh"
    exit 1
fi
cd run
exec "$root/build/tessel"
