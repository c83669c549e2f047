#!/usr/bin/env bash
# Builds the learner's four downloads into build/downloads (VERSION as in the
# top-level CMakeLists.txt), two from each Windows build:
#   quendril-VERSION-x64-setup.exe, quendril-VERSION-x64.zip   64-bit Windows
#       (the x86-64 build, in build/win-x64)
#   quendril-VERSION-x86-setup.exe, quendril-VERSION-x86.zip   32-bit Windows
#       (the i686 build, in build/win-x86)
# Each ZIP holds the program, idiomtool, the starter dictionary and the
# read-me; each setup program installs them for the current user or for all
# users. SHA256SUMS holds the checksums of all four.
#
#   scripts/package.sh            both builds, and build/downloads
#   scripts/package.sh x64|x86    that build's two, in its build folder only
#                                 (scripts/test.sh makes the one it tests so)
#
# The same commit gives the same bytes, in any folder, on any day, in any
# locale: the one time in them is SOURCE_DATE_EPOCH, the last commit's time
# unless it is set.
set -euo pipefail
cd "$(dirname "$0")/.."
# A caller that has just run it says so (QUENDRIL_DEPS_READY=1).
[ -n "${QUENDRIL_DEPS_READY:-}" ] || scripts/install-deps.sh
# shellcheck source=windows-target.sh
source scripts/windows-target.sh
SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
export SOURCE_DATE_EPOCH

processors=("$@")
[ "${#processors[@]}" -gt 0 ] || processors=(x64 x86)
downloads=()
for processor in "${processors[@]}"; do
    case "$processor" in
        x64 | x86) ;;
        *) echo "usage: $0 [x64|x86]..." >&2; exit 2 ;;
    esac
    dir="$(windows_build_dir "$processor")"
    cmake -S . -B "$dir" --no-warn-unused-cli \
        -DCMAKE_TOOLCHAIN_FILE="$(windows_toolchain "$processor")" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")"
    setup="$dir/quendril-$version-$processor-setup.exe"
    zip="$dir/quendril-$version-$processor.zip"
    # Made again, so that none carries a time from an earlier build in this folder.
    rm -f "$dir/ui/quendril.exe" "$dir/tools/idiomtool.exe" "$setup" "$zip"
    cmake --build "$dir" -j "${JOBS:-2}" --target setup zip >/dev/null
    downloads+=("$setup" "$zip")
done
if [ "$#" -gt 0 ]; then
    ls "${downloads[@]}"
    exit 0
fi
rm -rf build/downloads
mkdir -p build/downloads
cp "${downloads[@]}" build/downloads/
names=()
for file in "${downloads[@]}"; do names+=("$(basename "$file")"); done
# In the order above, whatever the locale's collation.
(cd build/downloads && sha256sum -- "${names[@]}" >SHA256SUMS && ls -l -- "${names[@]}" SHA256SUMS)
