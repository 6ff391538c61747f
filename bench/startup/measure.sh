#!/usr/bin/env bash
# Start-up cost of the editor beside a bare Qt window (bare.cpp), both under one Xvfb of
# their own: median time from launch to the first painted frame, and peak memory.
#   bench/startup/measure.sh [build folder] [runs]      (defaults: build, 20)
# Builds the two programs in the build folder first if needed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(realpath -m "${1:-$root/build}")
runs=${2:-20}

for tool in Xvfb python3 /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "measure.sh: $tool is missing (scripts/deps.sh)" >&2; exit 1; }
done
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DTESSEL_BENCHMARKS=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target tessel bench_startup_bare >/dev/null
bare=$(find "$build" -name bench_startup_bare -type f -perm -u+x | head -n1)
tessel=$build/tessel
if [ ! -x "$tessel" ] || [ -z "$bare" ]; then
    echo "measure.sh: programs not built in $build" >&2
    exit 1
fi

# Xvfb names the display it found free on a pipe.
display_file=$(mktemp)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -f "$display_file"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.05
done
display=$(tr -d '[:space:]' <"$display_file")
[ -n "$display" ] || { echo "measure.sh: Xvfb did not start" >&2; exit 1; }

echo "Start-up under Xvfb :$display, $(nproc) cores; build: $build"
python3 "$here/firstframe.py" --display "$display" --runs "$runs" \
    "bare=$bare" "tessel=$tessel"
echo "Goal: tessel at most 1.20x the bare window on both."
