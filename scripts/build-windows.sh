#!/usr/bin/env bash
# Builds the Windows program this machine runs, as its download is made
# (scripts/package.sh, in scripts/windows-target.sh's build folder), and the
# run scripts' helper beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
# First: which build Wine runs here depends on what gets installed (wine32).
scripts/install-deps.sh
# shellcheck source=windows-target.sh
source scripts/windows-target.sh
QUENDRIL_DEPS_READY=1 scripts/package.sh "$(windows_processor)" >/dev/null
cmake --build "$(windows_build_dir)" -j "${JOBS:-2}" --target quendril_poke
