#!/usr/bin/env bash
# Start-up cost of the editor beside a bare Qt window (bare.cpp), both under one Xvfb of
# their own: median time from launch to the first painted frame, and peak memory.
#   bench/startup/measure.sh [build folder] [runs] [earlier build folder]
#                                                        (defaults: build, 20, none)
# Builds the two programs in the build folder first if needed. With an earlier build
# (of another version, built already), its editor takes turns with this one as "before".
# firstframe_instructions.py counts the instructions to the first frame under callgrind.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(realpath -m "${1:-$root/build}")
runs=${2:-20}
before=${3:+$(realpath -m "$3")/tessel}
if [ -n "$before" ] && [ ! -x "$before" ]; then
    echo "measure.sh: no editor in ${3}" >&2
    exit 1
fi

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

source "$root/scripts/lib/xvfb.sh"
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
start_xvfb || { echo "measure.sh: Xvfb did not start" >&2; exit 1; }
display=$xvfb_display

echo "Start-up under Xvfb :$display, $(nproc) cores; build: $build"
# "lists": the editor with the element list and the problem list open from the start.
lists_settings=$(mktemp)
printf '[Ansicht]\r\nElementliste=1\r\nProblemliste=1\r\n' > "$lists_settings"
programs=("bare=$bare" "tessel=$tessel" "lists=$tessel")
[ -n "$before" ] && programs+=("before=$before")
python3 "$here/firstframe.py" --display "$display" --runs "$runs" \
    --settings "lists=$lists_settings" "${programs[@]}"
rm -f "$lists_settings"
echo "Goal: tessel at most 1.10x the bare window on all three; with both lists open at most 1.3x."
