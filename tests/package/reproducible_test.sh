#!/usr/bin/env bash
# The downloads are reproducible: scripts/package.sh, run twice on the last
# commit, in two fresh clones in different folders, at different times, in
# different time zones and with different umasks, gives the same bytes. A
# difference is shown by file and first differing offset. The checksums it
# writes check out with sha256sum -c, and the program it ships has the header
# of a current Windows program.
#
#   reproducible_test.sh [WORK_DIR]     (default build/reproducible)
set -uo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
work="${1:-$repo/build/reproducible}"
rm -rf "$work"
mkdir -p "$work"
# Both build this commit, whatever is committed while the first one runs.
commit="$(git -C "$repo" rev-parse HEAD)"

# build NAME FOLDER TZ UMASK: a fresh clone in FOLDER, its packages made
build() {
    local name="$1" folder="$2" zone="$3" mask="$4"
    echo "== $name: ${commit:0:12} cloned in $folder, TZ=$zone, umask $mask, $(date -u +%H:%M:%S)"
    git clone -q --no-checkout "$repo" "$folder" && git -C "$folder" checkout -q "$commit" &&
        (cd "$folder" && umask "$mask" && TZ="$zone" scripts/package.sh >/dev/null)
}
first="$work/one"
second="$work/the second clone/deeper"
build first "$first" UTC 022 || { echo "FAIL: the first build"; exit 1; }
build second "$second" Asia/Shanghai 077 || { echo "FAIL: the second build"; exit 1; }

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
cd "$first/build/win" || exit 1
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' CMakeCache.txt)"
for file in ui/quendril.exe tools/idiomtool.exe "quendril-$version-win32.zip" \
    "quendril-$version-setup.exe" SHA256SUMS; do
    if [ ! -f "$file" ] || [ ! -f "$second/build/win/$file" ]; then
        echo "FAIL: $file was not made in both builds"
        failures=$((failures + 1))
    elif cmp -s "$file" "$second/build/win/$file"; then
        echo "ok: $file is the same in both ($(stat -c %s "$file") bytes, sha256 $(sha256sum <"$file" | cut -c1-64))"
    else
        echo "FAIL: $file differs, first at offset $(offset_of_difference "$file" "$second/build/win/$file")"
        failures=$((failures + 1))
    fi
done
# The program that ships is linked as a current Windows program: subsystem
# 6.1, aware of remote-desktop servers, ASLR and DEP. (The tests under Wine
# read the header of the build they run on, which may be the x86-64 one.)
header="$(i686-w64-mingw32-objdump -p ui/quendril.exe)"
for want in 'Magic[[:space:]]+010b' 'MajorSubsystemVersion[[:space:]]+6$' \
    'MinorSubsystemVersion[[:space:]]+1$' TERMINAL_SERVICE_AWARE DYNAMIC_BASE NX_COMPAT; do
    if grep -Eq "$want" <<<"$header"; then echo "ok: the program's header has $want"; else
        echo "FAIL: the program's header lacks $want"
        failures=$((failures + 1))
    fi
done
if sha256sum -c SHA256SUMS; then echo "ok: sha256sum -c SHA256SUMS"; else
    echo "FAIL: sha256sum -c SHA256SUMS"
    failures=$((failures + 1))
fi
echo "reproducible packages: $failures failed"
[ "$failures" -eq 0 ]
