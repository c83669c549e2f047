#!/usr/bin/env bash
# Builds the learner's download: build/win/quendril-1.0.0.1-win32.zip with the
# program, the starter dictionary and the read-me.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh >/dev/null
(cd build/win && cpack -G ZIP >/dev/null)
ls build/win/quendril-*-win32.zip
