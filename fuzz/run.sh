#!/usr/bin/env bash
# Builds the profile fuzz target with clang and runs it for a number of seconds (default 600)
# on the seed corpus in fuzz/corpus; new inputs go to fuzz/corpus-work, findings to
# build-fuzz/findings. Extra arguments go to the fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTESSEL_FUZZ=ON -DBUILD_TESTING=OFF \
    -DTESSEL_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j2 --target fuzz_profile
mkdir -p fuzz/corpus-work build-fuzz/findings
exec build-fuzz/fuzz/fuzz_profile -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix=build-fuzz/findings/ -print_final_stats=1 "$@" fuzz/corpus-work fuzz/corpus
