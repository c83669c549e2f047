#!/usr/bin/env bash
# Runs a Windows program in a Wine prefix of its own under FOLDER, made on the
# first run (with the test prefix's font set-up), for a test that changes
# settings of the whole prefix. Needs only an X display (it starts one if
# DISPLAY is not set).
#   in_own_prefix.sh FOLDER PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
folder="$1"
shift
# shellcheck source=../../scripts/wine-env.sh
source "$(dirname "$0")/../../scripts/wine-env.sh"
wine_env_start "$folder"
trap wine_env_stop EXIT
wine "$@"
