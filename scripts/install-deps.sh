#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the packaging and
# scripts/run.sh need. Idempotent: when everything is present it only checks
# and returns.
#
# A package index that fails to download (a mirror re-syncing, say) is
# retried, then reported and passed over: only a needed package that cannot
# be installed stops the script, and the message names it and the indexes
# that failed. The i386 architecture and wine32 are installed only where this
# kernel starts 32-bit programs, in a step of their own whose failure is
# reported in one line and stops nothing else.
set -euo pipefail

# scripts/required-packages.txt is the one list: the package test checks
# every program the scripts run against it.
here="$(cd "$(dirname "$0")" && pwd)"
mapfile -t PKGS < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$here/required-packages.txt")
WINE32=wine32:i386

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

say() { echo "install-deps: $*" >&2; }

# True when this kernel starts a 32-bit x86 program: a 93-byte static i386
# ELF that only exits 0. Kernels built without IA-32 emulation, or booted with
# it off, refuse it ("Exec format error"), and then Wine's 32-bit loader
# cannot run either.
runs_32bit_programs() {
    local probe rc=0
    probe="$(mktemp)" || return 1
    local elf='\177ELF\001\001\001\000\000\000\000\000\000\000\000\000'
    elf+='\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000'
    elf+='\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000'
    elf+='\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010'
    elf+='\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000'
    elf+='\270\001\000\000\000\061\333\315\200'
    # shellcheck disable=SC2059 # the format is the program's bytes
    printf "$elf" >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || rc=1
    rm -f "$probe"
    return "$rc"
}

# missing PKG...: prints those not installed.
missing() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            echo "$p"
    done
}

# Wine maps Windows file names to the Unix locale's character set: without
# these locales Chinese file names cannot be reached at all.
ensure_locales() {
    local need=""
    locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$' || need=1
    locale -a 2>/dev/null | grep -qi '^en_US.utf8$' || need=1
    # Not UTF-8: the packages are built in it too, to show that no name in
    # them depends on the builder's locale.
    locale -a 2>/dev/null | grep -qi '^zh_CN.gbk$' || need=1
    [ -z "$need" ] && return 0
    local l
    for l in "zh_CN.UTF-8 UTF-8" "en_US.UTF-8 UTF-8" "zh_CN.GBK GBK"; do
        grep -qx "$l" /etc/locale.gen 2>/dev/null || echo "$l" | $SUDO tee -a /etc/locale.gen >/dev/null
    done
    $SUDO locale-gen >/dev/null
}

failed_indexes=""
# failed_indexes_of OUTPUT: one line per package index that apt-get update
# could not fetch. apt names each twice ("Err:N" with the index, then "Failed
# to fetch" with its address): the Err lines are used, the addresses only
# when there are none.
failed_indexes_of() {
    local errs
    errs="$(sed -nE 's/^Err:[0-9]+ +//p' <<<"$1")"
    [ -n "$errs" ] || errs="$(sed -nE 's/^[EW]: Failed to fetch +([^ ]+).*/\1/p' <<<"$1")"
    sort -u <<<"$errs" | sed '/^$/d'
}

# Three tries with a pause; what still fails is remembered and reported.
update_indexes() {
    local try out rc
    for try in 1 2 3; do
        rc=0
        out="$($SUDO apt-get update -q 2>&1)" || rc=$?
        failed_indexes="$(failed_indexes_of "$out")"
        [ "$rc" -ne 0 ] && [ -z "$failed_indexes" ] && failed_indexes="(apt-get update: exit $rc)"
        [ -z "$failed_indexes" ] && return 0
        [ "$try" -lt 3 ] && sleep $((try * 5))
    done
    say "package indexes that failed three times; going on without them:"
    sed 's/^/  /' <<<"$failed_indexes" >&2
}

# install PKG...: installs them, or names those that cannot be installed.
install() {
    $SUDO apt-get install -y -qq --no-install-recommends "$@" </dev/null && return 0
    local p bad=()
    for p in "$@"; do
        $SUDO apt-get install -s -qq --no-install-recommends "$p" >/dev/null 2>&1 || bad+=("$p")
    done
    say "cannot install: ${bad[*]:-(see the message above)}"
    [ -z "$failed_indexes" ] || say "failed indexes: $(paste -sd';' <<<"$failed_indexes" | sed 's/;/; /g')"
    return 1
}

want32=""
if runs_32bit_programs; then want32=1; fi
mapfile -t need < <(missing "${PKGS[@]}")
need32=()
# A failed wine32 install is tried again after a day, not on every run: every
# script starts with this one, and each try costs an index update.
wine32_failed="${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/quendril/wine32-failed"
if [ -n "$want32" ]; then
    mapfile -t need32 < <(missing "$WINE32")
    if [ ${#need32[@]} -gt 0 ] && [ -n "$(find "$wine32_failed" -mmin -1440 2>/dev/null)" ]; then
        say "$WINE32 could not be installed at $(date -r "$wine32_failed" '+%F %H:%M');" \
            "tried again a day later (delete $wine32_failed to try now)"
        need32=()
    fi
fi

if [ ${#need[@]} -eq 0 ] && [ ${#need32[@]} -eq 0 ]; then
    ensure_locales
    exit 0
fi

if [ -n "$want32" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 ||
        say "could not add the i386 architecture; the 32-bit Windows tests will not run here"
fi
update_indexes
if [ ${#need[@]} -gt 0 ]; then
    say "installing ${need[*]}"
    install "${need[@]}"
fi
if [ ${#need32[@]} -gt 0 ]; then
    # Only the 32-bit Windows tests need it: its failure ends nothing.
    if $SUDO apt-get install -y -qq --no-install-recommends "$WINE32" </dev/null >/dev/null 2>&1; then
        rm -f "$wine32_failed"
    else
        say "could not install $WINE32; the Windows tests will use the x86-64 build"
        mkdir -p "$(dirname "$wine32_failed")" 2>/dev/null || true
        touch "$wine32_failed" 2>/dev/null || true
    fi
fi
ensure_locales
