#!/usr/bin/env bash
# Builds the learner's downloads into build/win (VERSION as in the top-level
# CMakeLists.txt): quendril-VERSION-win32.zip with the program, the starter
# dictionary and the read-me, and quendril-VERSION-setup.exe, a setup program
# that installs them for the current user.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh >/dev/null
cmake --build build/win -j "${JOBS:-2}" --target setup >/dev/null
(cd build/win && cpack -G ZIP >/dev/null)
ls build/win/quendril-*-win32.zip build/win/quendril-*-setup.exe
