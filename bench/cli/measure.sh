#!/usr/bin/env bash
# Whole-process time of the shell commands beside "tessel --version": --check of the sample
# skin and --render of one of its views, each run in turn (so that the load of the machine
# falls on all three alike); median and fastest run, and the ratio of the medians.
#   bench/cli/measure.sh [build folder] [runs]      (defaults: build, 50)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(realpath -m "${1:-$root/build}")
runs=${2:-50}

command -v python3 >/dev/null || { echo "measure.sh: python3 is missing" >&2; exit 1; }
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target tessel >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "Shell commands, $runs runs each, $(nproc) cores; build: $build"
python3 - "$build/tessel" "$root/skins/sample" "$out" "$runs" <<'PY'
import statistics, subprocess, sys, time

tessel, sample, out, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
commands = {
    "--version": [tessel, "--version"],
    "--check": [tessel, "--check", sample],
    "--render": [tessel, "--render", sample, "--view", "1", "-o", f"{out}/view.png"],
}
times = {name: [] for name in commands}
for _ in range(runs):
    for name, command in commands.items():
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times[name].append((time.perf_counter() - start) * 1000)
base = statistics.median(times["--version"])
print(f"{'command':<10} {'median':>9} {'fastest':>9} {'x --version':>12}")
for name, values in times.items():
    median = statistics.median(values)
    print(f"{name:<10} {median:7.1f} ms {min(values):6.1f} ms {median / base:11.2f}x")
PY
