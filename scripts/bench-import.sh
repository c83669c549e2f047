#!/usr/bin/env bash
# Builds the import benchmark in Release and runs it: idiomtool import on a
# 30,000-record idiom list as JSON and as CSV, in-process, and then the
# idiomtool program itself once on the JSON list, start to end. Extra
# arguments go to import_bench (for example --benchmark_filter=Json). The
# last lines are "import-cpu-seconds-json-30000: C" and
# "import-seconds-json-30000: S", processor and clock time of the program's
# own run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build=build/bench

cmake -S . -B "$build" -DQUENDRIL_BENCH=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target import_bench idiomtool
"$build/bench/import_bench" "$@"

data="$build/data"
TIMEFORMAT='%R %U %S'
times="$( { time "$build/tools/idiomtool" import "$data/idiom-list-30000.json" \
    "$data/imported-30000.txt" >/dev/null; } 2>&1)"
"$build/tools/idiomtool" check "$data/imported-30000.txt"
read -r real user sys <<<"$times"
printf 'import-cpu-seconds-json-30000: %s\n' "$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')"
printf 'import-seconds-json-30000: %s\n' "$real"
