#!/usr/bin/env bash
# Builds everything and runs every test, from a bare Debian machine:
#   host unit tests; the same under AddressSanitizer + UndefinedBehaviorSanitizer;
#   bounded fuzzing; the Windows build and its tests under Wine, once in a
#   Chinese locale (ANSI code page 936) and once in an English one (1252).
set -euo pipefail
cd "$(dirname "$0")/.."

JOBS="${JOBS:-2}"
FUZZ_SECONDS="${QUENDRIL_FUZZ_SECONDS:-30}"
passed=0
failed=0

scripts/install-deps.sh

# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {
    local dir="$1" label="$2" log
    log="$(mktemp)"
    echo "== $label"
    local rc=0
    ctest --test-dir "$dir" --output-on-failure -j "$JOBS" "${@:3}" 2>&1 | tee "$log" || rc=$?
    local line
    line="$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1 || true)"
    if [ -n "$line" ]; then
        local total bad
        total="$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")"
        bad="$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")"
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    elif [ "$rc" -ne 0 ]; then
        failed=$((failed + 1))
    fi
    rm -f "$log"
}

echo "== host build"
cmake -S . -B build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/host -j "$JOBS"
run_ctest build/host "host tests"

echo "== sanitizer build"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUENDRIL_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build/asan "host tests under ASan+UBSan"

echo "== fuzzing, ${FUZZ_SECONDS}s a target"
if scripts/fuzz.sh "$FUZZ_SECONDS"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

echo "== Windows build"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j "$JOBS"

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
wine_env_start build/win --own-display
trap wine_env_stop EXIT
for pair in zh_CN.UTF-8:936 en_US.UTF-8:1252; do
    locale="${pair%%:*}"
    wineserver -k >/dev/null 2>&1 || true
    # Wine tests share one display and one prefix: run them one at a time.
    LANG="$locale" LC_ALL="$locale" QUENDRIL_EXPECT_ACP="${pair##*:}" \
        run_ctest build/win "Windows tests under Wine, $locale" -j 1
done

echo "all: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
