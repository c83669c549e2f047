#!/usr/bin/env bash
# Builds the learner's downloads into build/win (VERSION as in the top-level
# CMakeLists.txt): quendril-VERSION-win32.zip with the program, idiomtool,
# the starter dictionary and the read-me; quendril-VERSION-setup.exe, a setup
# program that installs them for the current user or for all users; and
# SHA256SUMS, their checksums.
#
# The same commit gives the same bytes, in any folder, on any day: the one
# time in them is SOURCE_DATE_EPOCH, the last commit's time unless it is set.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
export SOURCE_DATE_EPOCH
# The downloads are the 32-bit build: a build folder configured for another
# (the x86-64 test build, scripts/windows-target.sh) is made afresh.
if [ -f build/win/CMakeCache.txt ] &&
    ! grep -q '^CMAKE_TOOLCHAIN_FILE:.*/mingw-i686\.cmake$' build/win/CMakeCache.txt; then
    rm -rf build/win
fi
cmake -S . -B build/win --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win/CMakeCache.txt)"
setup="quendril-$version-setup.exe"
zip="quendril-$version-win32.zip"
# Made again, so that none carries a time from an earlier build in this folder.
rm -f build/win/ui/quendril.exe build/win/tools/idiomtool.exe "build/win/$setup" "build/win/$zip"
cmake --build build/win -j "${JOBS:-2}" --target setup zip >/dev/null
(cd build/win && sha256sum "$setup" "$zip" >SHA256SUMS)
ls "build/win/$setup" "build/win/$zip" build/win/SHA256SUMS
