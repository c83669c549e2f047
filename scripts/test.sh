#!/usr/bin/env bash
# Builds everything and runs every test, from a bare Debian machine:
#   host unit tests; the same under AddressSanitizer + UndefinedBehaviorSanitizer;
#   bounded fuzzing; the Windows build and its tests under Wine, in a Chinese
#   locale (ANSI code page 936) and in an English one (1252); the downloads
#   built twice from the last commit and compared.
#
# Four lanes run side by side: the host build and tests, then the downloads'
# reproducibility; the same tests under the sanitizers; fuzzing (its own clang
# build, then each target in turn); and the Windows build followed by its
# tests, which gets the processors first (it is the longest). The Windows
# tests run in six runs at the same time, each on an X server of its own: the
# tests in the Chinese locale, the same in the English one, and the tests
# whose point does not depend on the code page (ctest label cp-independent),
# once, in the Chinese locale; each of these three in a Wine prefix of its
# own, one test at a time. The tests that make Wine prefixes of their own
# (label own-prefix: the setup program's, the high-DPI one) need only the X
# server, and spend most of their time waiting for Wine to start and stop:
# they run in three runs more, one for each of those, beside the others. Each
# Wine prefix shows its windows in a virtual desktop, where taking a window
# down costs nothing: with bare X windows and no window manager, Wine waits
# about 2 s for every one.
#
# A stage's output is shown when the stage is done (build/test-logs keeps it).
# At the end: each stage's time, then the last line, which counts what passed
# and failed.
set -euo pipefail
cd "$(dirname "$0")/.."

JOBS="${JOBS:-2}"
FUZZ_SECONDS="${QUENDRIL_FUZZ_SECONDS:-30}"
logs=build/test-logs
rm -rf "$logs"
mkdir -p "$logs"

scripts/install-deps.sh
# The scripts called below (scripts/package.sh) need not check again.
export QUENDRIL_DEPS_READY=1
begun="$(date +%s)"

# Stage commands chain their steps with &&: a stage runs where a failure must
# not end the script, which leaves `set -e` out of force in them.

# stage ID TITLE KIND COMMAND...: runs COMMAND with its output in $logs/ID.log,
# then shows that output. KIND says what the stage adds to the totals: "ctest"
# the counts of the ctest run in its output, "check" one pass or one failure,
# "build" a failure only. Returns COMMAND's status.
stage() {
    local id="$1" title="$2" kind="$3" start rc=0
    shift 3
    echo "$title" >"$logs/$id.title"
    start="$(date +%s)"
    "$@" >"$logs/$id.log" 2>&1 || rc=$?
    echo "$(($(date +%s) - start))" >"$logs/$id.time"
    local passed=0 failed=0 line
    case "$kind" in
        ctest)
            line="$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' \
                "$logs/$id.log" | tail -1 || true)"
            if [ -n "$line" ]; then
                local total
                total="$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")"
                failed="$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")"
                passed=$((total - failed))
            elif [ "$rc" -ne 0 ]; then
                failed=1
            fi
            ;;
        check) if [ "$rc" -eq 0 ]; then passed=1; else failed=1; fi ;;
        build) if [ "$rc" -ne 0 ]; then failed=1; fi ;;
    esac
    echo "$passed $failed" >"$logs/$id.count"
    # One stage's output at a time, whichever lane finished it.
    {
        flock 9
        echo "== $title: $(cat "$logs/$id.time") s, status $rc"
        cat "$logs/$id.log"
    } 9>"$logs/.output-lock"
    return "$rc"
}

host_build() {
    # Optimised as before, without the debug information that made a sixth of
    # the compile time: the sanitizer build, which has it, is the one whose
    # reports need it.
    cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        >/dev/null &&
        cmake --build build/host -j "$JOBS"
}

sanitizer_build() {
    cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUENDRIL_SANITIZE=ON >/dev/null &&
        cmake --build build/asan -j "$JOBS"
}

# The Windows build the tests run: the download of this machine's processor,
# made by scripts/package.sh itself, and the tests built beside it in the same
# folder, so that the tests run the download's very bytes.
# shellcheck source=windows-target.sh
source scripts/windows-target.sh
win_dir="$(windows_build_dir)"

windows_build() {
    # The hostile dictionaries are written here, once: the locales' runs,
    # side by side, only read them.
    echo "Windows build: $win_dir ($(windows_toolchain))"
    [ "$(windows_processor)" = x86 ] ||
        echo "this machine runs no 32-bit programs: the tests run on the x64 download"
    JOBS="$JOBS" scripts/package.sh "$(windows_processor)" &&
        cmake --build "$win_dir" -j "$JOBS" &&
        ctest --test-dir "$win_dir" -R '^hostile_corpus$' --output-on-failure
}

# The Wine state of one run of the Windows tests: its prefix, X server and
# stand-in browser's log.
wine_dir() { echo "$win_dir/wine-$1"; }
wine_runs=(zh en cp)

# One prefix is made; the others are copies (it holds no path of its own).
wine_prefixes() (
    # shellcheck source=wine-env.sh
    source scripts/wine-env.sh
    local first="${wine_runs[0]}" run
    wine_env_start "$(wine_dir "$first")" --own-display --virtual-desktop && wineserver -w &&
        wine_env_stop || return 1
    for run in "${wine_runs[@]:1}"; do
        [ -f "$(wine_dir "$run")/wineprefix/system.reg" ] && continue
        mkdir -p "$(wine_dir "$run")" &&
            cp -a "$(wine_dir "$first")/wineprefix" "$(wine_dir "$run")/" || return 1
    done
)

# wine_tests RUN LOCALE ACP [CTEST OPTION...]: RUN is one of wine_runs (a
# prefix of its own) or else a run of the tests labelled own-prefix (only an
# X server).
wine_tests() (
    local run="$1" locale="$2" acp="$3" where=(--no-prefix)
    shift 3
    [[ " ${wine_runs[*]} " != *" $run "* ]] || where=(--virtual-desktop)
    # shellcheck source=wine-env.sh
    source scripts/wine-env.sh
    export LANG="$locale" LC_ALL="$locale" QUENDRIL_EXPECT_ACP="$acp"
    trap wine_env_stop EXIT
    # One test at a time in a run: the hostile tests watch every window of
    # the desktop. A test that hangs ends as a failure after 10 minutes
    # unless it sets a time limit of its own.
    wine_env_start "$(wine_dir "$run")" --own-display "${where[@]}" &&
        ctest --test-dir "$win_dir" --output-on-failure -j 1 --timeout 600 "$@"
)

host_lane() {
    stage packages "package list" check tests/setup/packages_test.sh || true
    if stage host-build "host build" build host_build; then
        stage host-tests "host tests" ctest \
            ctest --test-dir build/host --output-on-failure -j "$JOBS" || true
    fi
    # Two fresh clones of the last commit, their downloads compared byte for byte.
    stage reproducible "reproducible packages" check tests/package/reproducible_test.sh || true
}

sanitizer_lane() {
    if stage asan-build "sanitizer build" build sanitizer_build; then
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
            stage asan-tests "host tests under ASan+UBSan" ctest \
            ctest --test-dir build/asan --output-on-failure -j "$JOBS" || true
    fi
}

windows_lane() {
    # The prefixes need no build: they are made while it runs.
    stage prefixes "Wine prefixes" build wine_prefixes &
    local prefixes=$! ready=0
    stage win-build "Windows build" build windows_build || ready=1
    wait "$prefixes" || ready=1
    [ "$ready" -eq 0 ] || return 0
    local runs=()
    stage wine-zh "Windows tests under Wine, zh_CN.UTF-8" ctest \
        wine_tests zh zh_CN.UTF-8 936 -LE 'cp-independent|own-prefix' &
    runs+=($!)
    stage wine-en "Windows tests under Wine, en_US.UTF-8" ctest \
        wine_tests en en_US.UTF-8 1252 -LE 'cp-independent|own-prefix' &
    runs+=($!)
    stage wine-cp "Windows tests under Wine, cp-independent, zh_CN.UTF-8" ctest \
        wine_tests cp zh_CN.UTF-8 936 -L cp-independent -LE own-prefix &
    runs+=($!)
    stage wine-own-zh "Windows tests in prefixes of their own, zh_CN.UTF-8" ctest \
        wine_tests own-zh zh_CN.UTF-8 936 -L own-prefix -LE cp-independent &
    runs+=($!)
    stage wine-own-en "Windows tests in prefixes of their own, en_US.UTF-8" ctest \
        wine_tests own-en en_US.UTF-8 1252 -L own-prefix -LE cp-independent &
    runs+=($!)
    stage wine-own-cp "Windows tests in prefixes of their own, cp-independent, zh_CN.UTF-8" \
        ctest wine_tests own-cp zh_CN.UTF-8 936 -L own-prefix -L cp-independent &
    runs+=($!)
    local run
    for run in "${runs[@]}"; do wait "$run" || true; done
}

# The Windows lane is the longest: the others yield the processors to it.
windows_lane &
windows=$!
(
    renice -n 10 -p "$BASHPID" >/dev/null
    stage fuzz "fuzzing, ${FUZZ_SECONDS}s a target" check scripts/fuzz.sh "$FUZZ_SECONDS"
) &
fuzz=$!
(
    renice -n 10 -p "$BASHPID" >/dev/null
    sanitizer_lane
) &
sanitizer=$!
(
    renice -n 10 -p "$BASHPID" >/dev/null
    host_lane
)
wait "$windows" || true
wait "$fuzz" || true
wait "$sanitizer" || true

passed=0
failed=0
echo "== stage times"
for id in packages host-build host-tests asan-build asan-tests reproducible fuzz prefixes win-build \
    wine-zh wine-en wine-cp wine-own-zh wine-own-en wine-own-cp; do
    [ -f "$logs/$id.time" ] || continue
    printf '%6s s  %s\n' "$(cat "$logs/$id.time")" "$(cat "$logs/$id.title")"
    read -r p f <"$logs/$id.count"
    passed=$((passed + p))
    failed=$((failed + f))
done
printf '%6s s  %s\n' "$(($(date +%s) - begun))" "all, side by side"
echo "all: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
