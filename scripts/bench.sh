#!/usr/bin/env bash
# Builds the benchmark in Release and runs it. Extra arguments go to
# idiom_bench (for example --benchmark_filter=load). The generated
# dictionaries are kept in build/bench/data and reused; the last line printed
# is "load-ratio: R".
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build=build/bench

cmake -S . -B "$build" -DQUENDRIL_BENCH=ON -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j 2 --target idiom_bench
exec "$build/bench/idiom_bench" "$@"
