#!/usr/bin/env bash
# Builds the benchmark in Release and runs it. Extra arguments go to
# idiom_bench (for example --benchmark_filter=load). The generated
# dictionaries are kept in build/bench/data and reused. The summary ends with
# "load-ratio-30000: R" and, as the last line printed, "load-ratio: R" (the
# million-entry file).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build=build/bench

cmake -S . -B "$build" -DQUENDRIL_BENCH=ON -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j 2 --target idiom_bench
exec "$build/bench/idiom_bench" "$@"
