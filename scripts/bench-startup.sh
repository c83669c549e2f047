#!/usr/bin/env bash
# Start-up benchmark of the Windows program under Wine: the time from starting
# it until its first entry shows, on the starter dictionary and on generated
# ones of 30,000 and 1,000,000 entries, next to a bare dialog program (the
# floor). Builds into build/win-startup, in Release. Extra arguments go to
# startup_bench (for example --runs 31). The last line printed is
# "startup-ratio: R", the 30,000-entry median over the floor's.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
build=build/win-startup

scripts/install-deps.sh
# shellcheck source=windows-target.sh
source scripts/windows-target.sh
cmake --no-warn-unused-cli -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$(windows_toolchain)" -DCMAKE_BUILD_TYPE=Release \
    >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target quendril startup_floor startup_bench

# Wine reaches a Unix path through its Z: drive.
winpath() { printf 'Z:%s' "$(tr / '\\' <<<"$1")"; }

# The generated dictionaries (over 200 MB) live only as long as the run.
data="$(mktemp -d "${TMPDIR:-/tmp}/quendril-startup.XXXXXX")"
mkdir -p "$data/starter"
cp "$root/data/成语.txt" "$data/starter/"

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
cleanup() {
    # Only ever stop this script's own Wine prefix: others run beside it.
    if [ "${WINEPREFIX:-}" = "$root/$build/wineprefix" ]; then
        wine_env_stop
    fi
    rm -rf "$data"
}
trap cleanup EXIT
# A UTF-8 locale, so Wine can name the Chinese file names on disk.
export LANG="${QUENDRIL_LANG:-zh_CN.UTF-8}" LC_ALL="${QUENDRIL_LANG:-zh_CN.UTF-8}"
wine_env_start "$build" --own-display
# Starts wineserver and the prefix's services before anything is timed.
wine cmd /c exit >/dev/null 2>&1 || true

wine "$root/$build/bench/startup/startup_bench.exe" \
    --floor "$(winpath "$root/$build/bench/startup/startup_floor.exe")" \
    --program "$(winpath "$root/$build/ui/quendril.exe")" \
    --data "$(winpath "$data")" \
    "$@"
