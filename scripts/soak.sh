#!/usr/bin/env bash
# The soak on its own, as long as you like: the main dialog on 30,000 entries
# browsed by CLICKS clicks (default 1,000,000; scripts/test.sh runs 100,000),
# under Wine, checking the entry shown, handles and memory as it goes.
#
#   scripts/soak.sh [CLICKS]
set -euo pipefail
cd "$(dirname "$0")/.."

clicks="${1:-1000000}"
if ! [[ "$clicks" =~ ^[0-9]+$ ]] || [ "$clicks" -eq 0 ]; then
    echo "usage: $0 [CLICKS]" >&2
    exit 2
fi

scripts/install-deps.sh
export QUENDRIL_DEPS_READY=1
# shellcheck source=windows-target.sh
source scripts/windows-target.sh
# The program as its download is made, the soak beside it.
scripts/package.sh "$(windows_processor)" >/dev/null
win_dir="$(windows_build_dir)"
cmake --build "$win_dir" -j "${JOBS:-2}" --target soak_tests

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
export LANG="${QUENDRIL_LANG:-zh_CN.UTF-8}" LC_ALL="${QUENDRIL_LANG:-zh_CN.UTF-8}"
wine_env_start "$win_dir/wine-soak" --own-display --virtual-desktop
trap wine_env_stop EXIT
# Straight through Wine, not ctest: no time limit.
QUENDRIL_SOAK_CLICKS="$clicks" wine "$win_dir/tests/win/soak_tests.exe"
