#!/usr/bin/env bash
# Builds the learner's download, build/win/quendril-VERSION-win32.zip (VERSION
# as in the top-level CMakeLists.txt), with the program, the starter
# dictionary and the read-me.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh >/dev/null
(cd build/win && cpack -G ZIP >/dev/null)
ls build/win/quendril-*-win32.zip
