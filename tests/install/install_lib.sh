# shellcheck shell=bash disable=SC2034,SC2154  # the callers set and use these variables
# What the setup program's tests share, sourced by them: the checks, a fresh
# Wine prefix of the test's own, the setup program and the probe run in it.
#
# The prefix keeps one Wine session, with a persistent wineserver, from its
# creation to the test's end: each check waits for the processes it started
# (the probe waits for an uninstaller and the copy it goes on in), never for
# the wineserver to end, so no check pays for a session's start.
#
#   install_setup_prefix WORK_DIR   makes the prefix and goes to a folder
#                                   with no dictionary in it
#   install_mode MODE               where MODE ("user" or "all") installs:
#                                   sets dir_win, dir, menu_lnk, desktop_lnk
# The caller sets setup, probe_exe and data first.

failures=0
check() {  # check DESCRIPTION COMMAND...: runs COMMAND, counts a failure
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what" >&2; failures=$((failures + 1)); fi
}
same() { [ "$1" == "$2" ] || { echo "  got:      $1" >&2; echo "  expected: $2" >&2; false; }; }
finish() {
    wineserver -k >/dev/null 2>&1
    echo "$1: $failures failed"
    [ "$failures" -eq 0 ]
}

install_setup_prefix() {
    local work="$1"
    rm -rf "$work"
    mkdir -p "$work/home" "$work/elsewhere"
    # The prefix's Desktop and Documents link into HOME: keep them in here.
    export HOME="$work/home"
    export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
    # No Mono or Gecko, and no menu entries made for the host's own desktop.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Nothing here to find: a program started in this folder shows no entry.
    cd "$work/elsewhere" || exit 1
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # The test's one session: a server that stays, and its processes started
    # before anything is checked.
    wineserver -p
    wineboot >/dev/null 2>&1
}

probe() {  # a probe that ends abnormally (exit code above 1) says so
    wine "$probe_exe" "$@" | tr -d '\r'
    local rc="${PIPESTATUS[0]}"
    [ "$rc" -le 1 ] || echo "  (install_probe $1: exit code $rc)" >&2
    return "$rc"
}
unix_path() { winepath -u "$1" 2>/dev/null | sed 's:/$::'; }
run_setup() { wine "$setup" /S "$@"; }  # run_setup OPTION...: a silent install
uninstall() { probe uninstall "$1"; }     # uninstall MODE: that entry's silent uninstaller
# uninstall_by_hand WINDOWS_PATH: an uninstaller started by its path, without its mode
uninstall_by_hand() { probe run-uninstaller "$1"; }
files_in() { (cd "$1" 2>/dev/null && find . -type f | LC_ALL=C sort | tr '\n' ' '); }
entry_value() { probe entry "$1" | sed -n "s/^$2=//p"; }
# An idiom of the starter dictionary?
in_starter() { [ -n "$1" ] && iconv -f GBK -t UTF-8 "$data/成语.txt" | grep "^$1 " >/dev/null; }

name="Quendril成语学习软件"
shipped_files="./README.txt ./idiomtool.exe ./original/成语.txt ./quendril.exe ./uninstall.exe ./成语.txt "
shipped_without_tool="./README.txt ./original/成语.txt ./quendril.exe ./uninstall.exe ./成语.txt "

install_mode() {
    local folders
    mapfile -t folders < <(probe folders "$1")
    dir_win="${folders[0]}\\Quendril"
    menu_lnk="${folders[1]}\\$name.lnk"
    desktop_lnk="${folders[2]}\\$name.lnk"
    dir="$(unix_path "$dir_win")"
}

check_shortcuts() {
    local lnk link
    for lnk in "$menu_lnk" "$desktop_lnk"; do
        mapfile -t link < <(probe shortcut "$lnk")
        check "shortcut $lnk points at the program" same "${link[0]:-}" "$dir_win\\quendril.exe"
        check "... and starts it in the install folder" same "${link[1]:-}" "$dir_win"
    done
}
