#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default
# 30). The seed corpus is copied into the build tree first, so the inputs the
# fuzzer adds never land in the repository. Exits non-zero when any target
# crashes; the crashing input is kept under build/fuzz/artifacts/.
#
#   scripts/fuzz.sh          # a quick pass
#   scripts/fuzz.sh 3600     # an hour per target
set -euo pipefail

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: $0 [SECONDS]" >&2
    exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build=build/fuzz

cmake -S . -B "$build" -DQUENDRIL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j 2 --target fuzz_entry fuzz_load fuzz_import fuzz_find

# target:max_len. Entries are single lines; the loader wants many of them,
# an idiom list a few records, and a lookup a text and a short list.
targets=(fuzz_entry:4096 fuzz_load:65536 fuzz_import:8192 fuzz_find:8192)

failed=()
for entry in "${targets[@]}"; do
    target="${entry%%:*}"
    max_len="${entry##*:}"
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    # A fresh copy of the seeds, and no crash files left from an earlier run.
    rm -rf "$corpus" "$artifacts"
    mkdir -p "$corpus" "$artifacts"
    cp -R "fuzz/corpus/$target/." "$corpus/"

    echo "== $target: ${seconds}s, max_len $max_len"
    status=0
    "$build/fuzz/$target" "$corpus" \
        -dict=fuzz/gbk.dict \
        -max_total_time="$seconds" \
        -max_len="$max_len" \
        -rss_limit_mb=2048 \
        -timeout=30 \
        -print_final_stats=1 \
        -artifact_prefix="$artifacts/" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "== $target FAILED (exit $status); inputs kept in $artifacts:" >&2
        ls -1 "$artifacts" >&2 || true
        failed+=("$target")
    else
        echo "== $target: no failure"
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: failures in ${failed[*]}" >&2
    exit 1
fi
echo "fuzz: all targets ran ${seconds}s without failure"
