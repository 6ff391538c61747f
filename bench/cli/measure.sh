#!/usr/bin/env bash
# Whole-process time of the shell commands beside "tessel --version": --check of the sample
# skin and --render of one of its views, each run in turn (so that the load of the machine
# falls on all alike): median and fastest wall-clock time, median CPU time (user and system,
# less disturbed by a busy machine), and the ratios of the medians to --version. The last
# row is a yardstick: a bare Qt label grabbed into a PNG file (bare.cpp) with Qt's defaults
# (the system's fonts, Qt's own PNG writer), what a picture drawn by widgets costs plainly.
#   bench/cli/measure.sh [build folder] [runs]      (defaults: build, 50)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(realpath -m "${1:-$root/build}")
runs=${2:-50}

command -v python3 >/dev/null || { echo "measure.sh: python3 is missing" >&2; exit 1; }
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DTESSEL_BENCHMARKS=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target tessel bench_cli_bare >/dev/null
bare=$(find "$build" -name bench_cli_bare -type f -perm -u+x | head -n1)
if [ -z "$bare" ]; then
    echo "measure.sh: bench_cli_bare not built in $build (TESSEL_BENCHMARKS=OFF?)" >&2
    exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "Shell commands, $runs runs each, $(nproc) cores; build: $build"
python3 - "$build/tessel" "$root/skins/sample" "$out" "$runs" "$bare" <<'PY'
import os, statistics, subprocess, sys, time

tessel, sample, out, runs, bare = sys.argv[1:4] + [int(sys.argv[4]), sys.argv[5]]
commands = {
    "--version": [tessel, "--version"],
    "--check": [tessel, "--check", sample],
    "--render": [tessel, "--render", sample, "--view", "1", "-o", f"{out}/view.png"],
    "bare": [bare, f"{out}/bare.png"],
}
wall = {name: [] for name in commands}
cpu = {name: [] for name in commands}
for _ in range(runs):
    for name, command in commands.items():
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, _, usage = os.wait4(child.pid, 0)
        wall[name].append((time.perf_counter() - start) * 1000)
        cpu[name].append((usage.ru_utime + usage.ru_stime) * 1000)
base_wall = statistics.median(wall["--version"])
base_cpu = statistics.median(cpu["--version"])
print(f"{'command':<10} {'wall median':>12} {'fastest':>9} {'x --version':>12}"
      f" {'CPU median':>11} {'x --version':>12}")
for name in commands:
    w, c = statistics.median(wall[name]), statistics.median(cpu[name])
    print(f"{name:<10} {w:9.1f} ms {min(wall[name]):6.1f} ms {w / base_wall:11.2f}x"
          f" {c:8.1f} ms {c / base_cpu:11.2f}x")
PY
