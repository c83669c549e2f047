#!/usr/bin/env bash
# Builds the Windows program (and the run scripts' helper) into build/win.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# shellcheck source=windows-target.sh
source scripts/windows-target.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$(windows_toolchain)" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j "${JOBS:-2}" --target quendril
cmake --build build/win -j "${JOBS:-2}" --target quendril_poke
