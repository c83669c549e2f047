#!/usr/bin/env bash
# Builds the program if needed and starts it under Wine in a folder holding
# the starter dictionary, or the dictionary given (scripts/run.sh FILE). On
# your display when there is one; otherwise on a private X server, where it
# saves a screenshot and says where.
set -euo pipefail
dictionary="$(realpath "${1:-$(dirname "$0")/../data/成语.txt}")"
cd "$(dirname "$0")/.."
root="$(pwd)"
scripts/build-windows.sh

run_dir="$root/build/run"

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
export LANG="${QUENDRIL_LANG:-zh_CN.UTF-8}" LC_ALL="${QUENDRIL_LANG:-zh_CN.UTF-8}"
if [ -n "${DISPLAY:-}" ]; then
    wine_env_start "$(windows_build_dir)"
    mkdir -p "$run_dir"
    cp "$dictionary" "$run_dir/成语.txt"
    cd "$run_dir"
    wine "$root/$(windows_build_dir)/ui/quendril.exe"
    exit 0
fi

wine_env_start build/desktop --own-display --virtual-desktop
trap wine_env_stop EXIT
wine_env_show_starter "$run_dir" "$dictionary"
shot="$run_dir/screenshot.png"
import -window root "$shot"
echo "No display: the program ran on a private X server ($DISPLAY)."
echo "Screenshot: $shot"
