#!/usr/bin/env bash
# The README's two commands on a machine where nothing is installed: a fresh
# Debian 12 (debootstrap --variant=minbase, the host's package sources) in
# build/fresh-machine/root, this checkout's last commit cloned into it, and
# scripts/run.sh then scripts/test.sh run there by chroot, as root, with
# nothing of this shell's environment but HOME, PATH and TERM.
#
# Each command's status and time is printed as it ends and again at the end.
# The screenshot run.sh saves and every log are kept in build/fresh-machine;
# the Debian tree is removed afterwards (QUENDRIL_KEEP_FRESH=1 keeps it).
# Takes about half an hour; needs root and the network. Not part of CI.
# shellcheck disable=SC2317 # the steps' functions are called through step
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
out="$repo/build/fresh-machine"
root="$out/root"
logs="$out/logs"
suite=bookworm

if [ "$(id -u)" -ne 0 ]; then
    echo "fresh-machine: run as root (debootstrap, mount and chroot need it)" >&2
    exit 2
fi

# mounts_under DIR: the mount points at or below DIR, deepest first.
mounts_under() {
    awk -v d="$1" '$2 == d || index($2, d "/") == 1 { print $2 }' /proc/mounts | sort -r
}

# Processes running inside the tree (a Wine server, an X server) end before
# its mounts go: they would hold them.
stop_processes_inside() {
    local proc
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] && kill -9 "${proc#/proc/}" 2>/dev/null
    done
    return 0
}

unmount_all() {
    stop_processes_inside
    local point
    for point in $(mounts_under "$root"); do
        umount "$point" 2>/dev/null || umount -l "$point" || true
    done
}

# remove_tree: deletes the Debian tree, never while anything is mounted in it.
remove_tree() {
    [ -d "$root" ] || return 0
    if [ -n "$(mounts_under "$root")" ]; then
        echo "fresh-machine: $root still has mounts; not removed" >&2
        return 1
    fi
    rm -rf --one-file-system "$root"
}

declare -a summary=()
# step NAME COMMAND...: runs COMMAND, its output shown and kept in
# $logs/NAME.log, then prints its status and time. Returns its status.
step() {
    local name="$1" start rc=0
    shift
    echo "== fresh-machine: $name"
    start="$(date +%s)"
    # Waited for in the background: a signal's trap then runs at once, not
    # when the command is done (apt and dpkg in the tree ignore Ctrl-C).
    { "$@" 2>&1 | tee "$logs/$name.log"; } &
    wait "$!" || rc=$? # pipefail: the command's status
    local line
    line="$(printf '%-16s status %3d  %5d s' "$name" "$rc" "$(($(date +%s) - start))")"
    summary+=("$line")
    echo "== fresh-machine: $line"
    return "$rc"
}

# inside COMMAND: runs COMMAND in the clone inside the tree, as a new user
# would: a login's HOME, PATH and TERM and nothing else.
inside() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "cd /root/quendril && $1"
}

# The first suite's address in the host's sources: debootstrap's mirror.
host_mirror() {
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk -v s="$suite" '
            /^URIs:/ { uri = $2 }
            /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == s) found = 1 }
            /^$/ { if (found && uri) { print uri; exit } found = 0; uri = "" }
            END { if (found && uri) print uri }' "$file"
    done | head -1
}

make_tree() {
    command -v debootstrap >/dev/null ||
        { apt-get install -y -qq --no-install-recommends debootstrap </dev/null; }
    local mirror
    mirror="$(host_mirror)"
    mirror="${mirror:-http://deb.debian.org/debian}"
    echo "debootstrap --variant=minbase $suite from $mirror"
    debootstrap --variant=minbase "$suite" "$root" "$mirror" >/dev/null &&
        copy_host_sources
}

# The host's package sources (and what they are signed with), its name
# resolution, in place of debootstrap's one-line sources.list.
copy_host_sources() {
    rm -f "$root/etc/apt/sources.list"
    local file key
    [ ! -f /etc/apt/sources.list ] || cp /etc/apt/sources.list "$root/etc/apt/"
    for file in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        cp "$file" "$root/etc/apt/sources.list.d/"
        for key in $(sed -nE 's/^Signed-By: *(\/[^ ]+)$/\1/p; s/.*signed-by=(\/[^] ]+).*/\1/p' "$file"); do
            [ -f "$key" ] && [ ! -e "$root$key" ] && mkdir -p "$root$(dirname "$key")" &&
                cp "$key" "$root$key"
        done
    done
    ls "$root/etc/apt/sources.list.d/"
    cp /etc/resolv.conf /etc/hosts "$root/etc/"
}

# proc, sys, dev and dev/pts as on the host, and a tmpfs of its own on
# dev/shm (bound, the host's /dev would show its bare folder there).
mount_all() {
    mount -t proc proc "$root/proc" &&
        mount --bind /sys "$root/sys" &&
        mount --bind /dev "$root/dev" &&
        mount --bind /dev/pts "$root/dev/pts" &&
        mount -t tmpfs shm "$root/dev/shm"
}

clone_checkout() {
    local commit branch
    commit="$(git -C "$repo" rev-parse HEAD)"
    branch="$(git -C "$repo" rev-parse --abbrev-ref HEAD)"
    [ "$branch" != HEAD ] || branch=fresh
    echo "cloning $branch at ${commit:0:12} into /root/quendril"
    git clone -q --no-checkout "$repo" "$root/root/quendril" &&
        git -C "$root/root/quendril" checkout -q -B "$branch" "$commit"
}

# Keeps what a reader of the run wants: the screenshot and the test logs.
keep_results() {
    local clone="$root/root/quendril"
    [ ! -f "$clone/build/run/screenshot.png" ] || cp "$clone/build/run/screenshot.png" "$out/"
    [ ! -d "$clone/build/test-logs" ] || cp -r "$clone/build/test-logs" "$out/"
}

finish() {
    local rc=$?
    keep_results || true
    unmount_all
    if [ "${QUENDRIL_KEEP_FRESH:-}" != 1 ]; then remove_tree || true; fi
    echo "== fresh-machine: summary"
    local line
    for line in "${summary[@]}"; do echo "   $line"; done
    echo "   logs: $logs"
    [ ! -f "$out/screenshot.png" ] || echo "   screenshot: $out/screenshot.png"
    exit "$rc"
}

unmount_all
remove_tree
rm -rf "$out"
mkdir -p "$logs"
trap finish EXIT
trap 'exit 130' INT TERM

begun="$(date +%s)"
step debootstrap make_tree
step mount mount_all
step clone clone_checkout
status=0
step run.sh inside scripts/run.sh || status=1
step test.sh inside scripts/test.sh || status=1
summary+=("$(printf '%-16s status %3d  %5d s' all "$status" "$(($(date +%s) - begun))")")
exit "$status"
