#!/usr/bin/env bash
# Every program and file that the build, the tests, the packaging and
# scripts/run.sh use, beyond what every Debian system has, comes from a
# package in the list scripts/install-deps.sh installs; and every package in
# that list is there for one of them. So a machine where something was
# installed by hand cannot hide a gap in the list, and taking a package out of
# the list fails this test on any machine.
#
# Programs are looked up on the system's own PATH, not the caller's: one in
# /usr/local, a home folder or a Python version manager does not count. A
# program or file counts as coming from a listed package when that package,
# or one that it plainly depends on (a dependency with no alternative), owns
# it or one of the symbolic links that lead to it (dpkg -S). The
# dependencies count only for a package that owns none of these files itself,
# one that only pulls in another (python3, imagemagick): the MinGW g++
# depends on its gcc, but both are listed, so neither can go unnoticed.
#
#   packages_test.sh [LIST]     (default scripts/required-packages.txt)
set -uo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
list="${1:-$repo/scripts/required-packages.txt}"
system_path=/usr/sbin:/usr/bin:/sbin:/bin

# The one list of what is used, by whom; the MinGW tools, the programs CMake
# looks for and clang's runtime libraries are added below from their sources.
needed=(
    cmake ctest make g++ git                  # the host build, ctest
    /usr/src/googletest/CMakeLists.txt        # GoogleTest, built from source
    /usr/include/benchmark/benchmark.h        # bench/
    /usr/include/nlohmann/json.hpp            # tools/
    /usr/include/utf8proc.h                   # tools/: NFC on Linux
    clang clang++                             # scripts/fuzz.sh
    python3                                   # packaging, the hostile corpus, the ZIP test
    wine wineboot wineserver /usr/lib/wine/wine64 # scripts/wine-env.sh
    Xvfb import                               # private displays, screenshots
    xdotool convert                           # installer-screenshot.sh, make_icon.py
    7z unzip                                  # the ZIP test
    locale-gen                                # scripts/install-deps.sh's locales
    /usr/share/fonts/truetype/arphic/uming.ttc    # the Wine prefix's Song face
    /usr/share/fonts/truetype/wqy/wqy-microhei.ttc # make_icon.py's face
    clang-format                              # the house style
)

# The MinGW compilers, resource compiler and objdump of every processor the
# toolchain files name.
processors="$(sed -nE 's/^set\(QUENDRIL_MINGW_PROCESSOR ([a-z0-9_]+)\)/\1/p' "$repo"/cmake/mingw-*.cmake)"
tools="$(sed -nE 's/^set\(CMAKE_[A-Z]+_COMPILER \$\{triple\}-([^)]+)\)/\1/p' \
    "$repo/cmake/mingw-toolchain.cmake") objdump"
if [ -z "$processors" ] || [ "$tools" = " objdump" ]; then
    echo "FAIL: no MinGW processor or compiler found in cmake/mingw-*.cmake"
    exit 1
fi
for processor in $processors; do
    for tool in $tools; do needed+=("$processor-w64-mingw32-$tool"); done
done
# What CMake's find_program looks for (makensis, say).
mapfile -t -O "${#needed[@]}" needed < <(find "$repo" -path "$repo/build*" -prune -o \
    \( -name CMakeLists.txt -o -name '*.cmake' \) -print0 |
    xargs -0 sed -nE 's/.*find_program\([A-Za-z_]+ ([A-Za-z0-9_.+-]+)\).*/\1/p' | sort -u)
# clang's fuzzing and sanitizer runtime, where clang itself looks for it.
for runtime in fuzzer asan ubsan_standalone; do
    needed+=("$(PATH="$system_path" clang++ -print-file-name="libclang_rt.$runtime-$(uname -m).a" 2>/dev/null ||
        echo "libclang_rt.$runtime.a")")
done

mapfile -t listed < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' -e 's/[[:space:]]//g' "$list")
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# chain PATH: PATH and every file its symbolic links lead through.
chain() {
    local file="$1" target
    for _ in 1 2 3 4 5 6 7 8; do
        echo "$file"
        [ -L "$file" ] || return 0
        target="$(readlink "$file")"
        case "$target" in /*) file="$target" ;; *) file="$(dirname "$file")/$target" ;; esac
    done
}

# Each needed item's file and the chain of files behind it, as "ITEM FILE".
declare -A chain_of=()
for item in "${needed[@]}"; do
    if [[ "$item" == /* ]]; then file="$item"; else
        file="$(PATH="$system_path" command -v "$item" || true)"
    fi
    if [ -z "$file" ] || [ ! -e "$file" ]; then
        fail "$item is not installed (on $system_path)"
        continue
    fi
    chain_of["$item"]="$(chain "$file")"
done

# Owners of every file in the chains: "PACKAGE FILE" lines.
declare -A owners=()
while IFS= read -r line; do
    case "$line" in "diversion by"* | "") continue ;; esac
    packages="${line%%: /*}"
    path="/${line#*: /}"
    for package in ${packages//,/ }; do
        owners["$path"]+="${package%%:*} "
    done
done < <(printf '%s\n' "${chain_of[@]}" | sort -u | xargs -d '\n' -r dpkg -S 2>/dev/null)

# What each listed package stands for: itself, and when it owns none of
# those files itself (python3, imagemagick), its plain dependencies too.
declare -A covers=()
owning=" ${owners[*]} "
while read -r package depends; do
    covers["$package"]="$package"
    [[ "$owning" == *" $package "* ]] && continue
    IFS=',' read -ra groups <<<"$depends"
    for group in "${groups[@]}"; do
        [[ "$group" == *"|"* ]] && continue
        group="${group%%(*}"
        group="${group// /}"
        [ -n "$group" ] && covers["$package"]+=" ${group%%:*}"
    done
done < <(dpkg-query -W -f='${Package} ${Pre-Depends}, ${Depends}\n' "${listed[@]}" 2>/dev/null)

declare -A used=()
for item in "${!chain_of[@]}"; do
    found="" all=""
    while read -r file; do
        for owner in ${owners["$file"]:-}; do
            [[ " $all " == *" $owner "* ]] || all+="${all:+ }$owner"
            for package in "${listed[@]}"; do
                if [[ " ${covers[$package]:-$package} " == *" $owner "* ]]; then
                    found=1
                    used["$package"]=1
                fi
            done
        done
    done <<<"${chain_of[$item]}"
    if [ -z "$found" ]; then
        fail "$item ($(head -1 <<<"${chain_of[$item]}")) comes from ${all:-no package}," \
            "not in $(basename "$list")"
    fi
done
for package in "${listed[@]}"; do
    [ -n "${used[$package]:-}" ] ||
        fail "$package is in $(basename "$list"), but nothing checked here comes from it"
done

echo "packages: ${#needed[@]} programs and files checked against ${#listed[@]} packages," \
    "$failures failed"
[ "$failures" -eq 0 ]
