#!/usr/bin/env bash
# Builds the Windows program (and the run scripts' helper) into build/win.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j "${JOBS:-2}" --target quendril
cmake --build build/win -j "${JOBS:-2}" --target quendril_poke
