#!/usr/bin/env bash
# The downloads are reproducible: scripts/package.sh, run twice on the last
# commit, in two fresh clones in different folders, at different times, in
# different time zones, with different umasks and in different locales (C,
# and GBK, which is not UTF-8), gives the same bytes: all four downloads,
# SHA256SUMS and both builds' programs. A difference is shown by file and
# first differing offset. The checksums it writes check out with sha256sum
# -c; each build's program has the header of a current Windows program for
# its processor, and a manifest that names it; each setup program asks
# Windows for no administrator rights of its own.
#
# The clones build side by side where there are processors for both (four
# or more), else one after the other.
#
#   reproducible_test.sh [WORK_DIR]     (default build/reproducible)
set -uo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
work="${1:-$repo/build/reproducible}"
rm -rf "$work"
mkdir -p "$work"
# Both build this commit, whatever is committed while the first one runs.
commit="$(git -C "$repo" rev-parse HEAD)"

# build NAME FOLDER TZ UMASK LOCALE: a fresh clone in FOLDER, its packages made
build() {
    local name="$1" folder="$2" zone="$3" mask="$4" locale="$5"
    echo "== $name: ${commit:0:12} cloned in $folder, TZ=$zone, umask $mask, LC_ALL=$locale," \
        "$(date -u +%H:%M:%S)"
    git clone -q --no-checkout "$repo" "$folder" && git -C "$folder" checkout -q "$commit" &&
        (cd "$folder" && umask "$mask" && LANG="$locale" LC_ALL="$locale" TZ="$zone" \
            scripts/package.sh >"$folder.log" 2>&1) || { tail -20 "$folder.log"; false; }
}
first="$work/one"
second="$work/the second clone/deeper"
mkdir -p "$(dirname "$second")"
if [ "$(nproc)" -ge 4 ]; then
    build first "$first" UTC 022 C &
    build second "$second" Asia/Shanghai 077 zh_CN.GBK || { echo "FAIL: the second build"; exit 1; }
    wait $! || { echo "FAIL: the first build"; exit 1; }
else
    build first "$first" UTC 022 C || { echo "FAIL: the first build"; exit 1; }
    build second "$second" Asia/Shanghai 077 zh_CN.GBK || { echo "FAIL: the second build"; exit 1; }
fi

failures=0
# offset_of_difference A B: the first offset (from 0) where A and B differ
offset_of_difference() {
    local out
    out="$(cmp -- "$1" "$2" 2>&1)"
    case "$out" in
        *"differ: byte "*) out="${out#*differ: byte }"; echo $((${out%%,*} - 1)) ;;
        *"EOF on "*) echo "$(stat -c %s "$1" "$2" | sort -n | head -1) (one ends there)" ;;
        *) echo "? ($out)" ;;
    esac
}
cd "$first/build" || exit 1
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' win-x64/CMakeCache.txt)"
for file in win-x64/ui/quendril.exe win-x64/tools/idiomtool.exe win-x86/ui/quendril.exe \
    win-x86/tools/idiomtool.exe "downloads/quendril-$version-x64-setup.exe" \
    "downloads/quendril-$version-x64.zip" "downloads/quendril-$version-x86-setup.exe" \
    "downloads/quendril-$version-x86.zip" downloads/SHA256SUMS; do
    if [ ! -f "$file" ] || [ ! -f "$second/build/$file" ]; then
        echo "FAIL: $file was not made in both builds"
        failures=$((failures + 1))
    elif cmp -s "$file" "$second/build/$file"; then
        echo "ok: $file is the same in both ($(stat -c %s "$file") bytes, sha256 $(sha256sum <"$file" | cut -c1-64))"
    else
        echo "FAIL: $file differs, first at offset $(offset_of_difference "$file" "$second/build/$file")"
        failures=$((failures + 1))
    fi
done

# has WHAT TEXT PATTERN: counts a failure unless TEXT has a line matching PATTERN
has() {
    if grep -Eq "$3" <<<"$2"; then echo "ok: $1 has $3"; else
        echo "FAIL: $1 lacks $3"
        failures=$((failures + 1))
    fi
}
# Each build's program is linked as a current Windows program of its own
# processor (subsystem 6.1, aware of remote-desktop servers, ASLR and DEP),
# and the program's manifest names that processor: one that names another
# is a side-by-side error when Windows starts it. Each setup program is of
# the same processor, and its manifest asks for no rights (asInvoker).
for processor in x64 x86; do
    if [ "$processor" = x64 ]; then
        objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 magic=020b manifest=amd64
    else
        objdump=i686-w64-mingw32-objdump format=pei-i386 magic=010b manifest=x86
    fi
    header="$($objdump -p "win-$processor/ui/quendril.exe")"
    for want in "file format $format\$" "Magic[[:space:]]+$magic" \
        'MajorSubsystemVersion[[:space:]]+6$' 'MinorSubsystemVersion[[:space:]]+1$' \
        TERMINAL_SERVICE_AWARE DYNAMIC_BASE NX_COMPAT; do
        has "win-$processor/ui/quendril.exe's header" "$header" "$want"
    done
    # idiomtool, a console program, is of the same processor.
    has "win-$processor/tools/idiomtool.exe's header" \
        "$($objdump -p "win-$processor/tools/idiomtool.exe")" "Magic[[:space:]]+$magic"
    has "win-$processor/ui/quendril.exe's manifest" \
        "$(grep -ao '<assemblyIdentity type="win32" name="Quendril[^>]*' "win-$processor/ui/quendril.exe")" \
        "processorArchitecture=\"$manifest\""
    setup="downloads/quendril-$version-$processor-setup.exe"
    has "$setup's header" "$($objdump -p "$setup")" "file format $format\$"
    has "$setup's manifest" "$(grep -ao '<requestedExecutionLevel[^>]*' "$setup")" 'level="asInvoker"'
done
if (cd downloads && sha256sum -c SHA256SUMS); then echo "ok: sha256sum -c SHA256SUMS"; else
    echo "FAIL: sha256sum -c SHA256SUMS"
    failures=$((failures + 1))
fi
echo "reproducible packages: $failures failed"
[ "$failures" -eq 0 ]
