#!/usr/bin/env bash
# Builds the benchmark in Release and runs it. Extra arguments go to
# idiom_bench (for example --benchmark_filter=load). The generated
# dictionaries are kept in build/bench/data and reused. The last three lines
# printed are "load-ratio-30000: R" (load over raw read, 30,000 entries),
# "fgets-ratio-30000: R" (fgets with a string per line over load) and
# "load-ratio-fresh: R" (load over a read into a fresh buffer of the file's
# size, 1,000,000 entries), each the median of rounds that time the two ways
# back to back.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build=build/bench

cmake -S . -B "$build" -DQUENDRIL_BENCH=ON -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j 2 --target idiom_bench
exec "$build/bench/idiom_bench" "$@"
