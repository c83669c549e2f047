#!/usr/bin/env bash
# The setup program under Wine, as a learner meets it: a silent install into a
# fresh prefix of its own; the files, their names, the shortcuts and the
# uninstall entry; the program started as its shortcut starts it; an upgrade
# over an unchanged dictionary; a reinstall and an uninstall that keep a
# changed one and remove everything else.
#
#   install_test.sh SETUP.exe install_probe.exe quendril.exe DATA_DIR WORK_DIR
set -uo pipefail
setup="$1" probe_exe="$2" program="$3" data="$4" work="$5"
# The test runs in each locale, maybe at the same time: a folder for each.
work="$work-${LANG:-C}"

failures=0
check() {  # check DESCRIPTION COMMAND...: runs COMMAND, counts a failure
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what" >&2; failures=$((failures + 1)); fi
}
same() { [ "$1" == "$2" ] || { echo "  got:      $1" >&2; echo "  expected: $2" >&2; false; }; }

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

probe() { wine "$probe_exe" "$@" | tr -d '\r'; }
unix_path() { winepath -u "$1" 2>/dev/null | sed 's:/$::'; }
run_setup() {
    wine "$setup" /S "$@"
    local rc=$?
    wineserver -w
    return $rc
}
uninstall() {
    probe uninstall
    local rc=$?
    wineserver -w  # the uninstaller finishes in a copy of itself
    return $rc
}
files_in() { (cd "$1" 2>/dev/null && find . -type f | LC_ALL=C sort | tr '\n' ' '); }
entry_value() { probe entry | sed -n "s/^$1=//p"; }
# An idiom of the starter dictionary?
in_starter() { [ -n "$1" ] && iconv -f GBK -t UTF-8 "$data/成语.txt" | grep "^$1 " >/dev/null; }

mapfile -t folders < <(probe folders)
name="Quendril成语学习软件"
dir_win="${folders[0]}\\Quendril"
menu_lnk="${folders[1]}\\$name.lnk"
desktop_lnk="${folders[2]}\\$name.lnk"
dir="$(unix_path "$dir_win")"
version="$(basename "$setup" | sed -E 's/^quendril-(.*)-setup\.exe$/\1/')"
shipped_files="./README.txt ./original/成语.txt ./quendril.exe ./uninstall.exe ./成语.txt "

check_shortcuts() {
    local lnk link
    for lnk in "$menu_lnk" "$desktop_lnk"; do
        mapfile -t link < <(probe shortcut "$lnk")
        check "shortcut $lnk points at the program" same "${link[0]:-}" "$dir_win\\quendril.exe"
        check "... and starts it in the install folder" same "${link[1]:-}" "$dir_win"
    done
}

echo "== fresh install into $dir_win"
check "the setup program succeeds" run_setup
check "it installs exactly the program, dictionary, read-me and uninstaller, under these names" \
    same "$(files_in "$dir")" "$shipped_files"
check "the program is the one built" cmp -s "$dir/quendril.exe" "$program"
check "the dictionary is the starter one" cmp -s "$dir/成语.txt" "$data/成语.txt"
check "the read-me is ours" cmp -s "$dir/README.txt" "$data/README.txt"
check_shortcuts
first="$(probe start "$menu_lnk")"
check "started as the Start-menu shortcut starts it, it shows a starter idiom ($first)" \
    in_starter "$first"

check "the uninstall entry names the program" same "$(entry_value DisplayName)" "$name"
check "... its version" same "$(entry_value DisplayVersion)" "$version"
check "... its publisher" same "$(entry_value Publisher)" "Quendril"
check "... its icon" same "$(entry_value DisplayIcon)" "$dir_win\\quendril.exe,0"
check "... its folder" same "$(entry_value InstallLocation)" "$dir_win"
check "... its uninstaller" same "$(entry_value UninstallString)" "\"$dir_win\\uninstall.exe\""
check "... its silent uninstaller" same "$(entry_value QuietUninstallString)" \
    "\"$dir_win\\uninstall.exe\" /S"
check "... no modify button" same "$(entry_value NoModify)" "dword:1"
check "... no repair button" same "$(entry_value NoRepair)" "dword:1"
kib="$(find "$dir" -type f -printf '%s\n' | awk '{ s += $1 } END { print int(s / 1024) }')"
size="$(entry_value EstimatedSize)"
check "... its size in KiB (files: $kib KiB, entry: $size)" \
    test "${size#dword:}" -ge $((kib - 1)) -a "${size#dword:}" -le $((kib + 1)) -a "${size%%:*}" == dword

echo "== upgrade over a dictionary an earlier version shipped, unchanged"
head -n 5 "$data/成语.txt" >"$dir/成语.txt"
cp "$dir/成语.txt" "$dir/original/成语.txt"
check "the setup program succeeds" run_setup
check "the unchanged dictionary is replaced by this version's" cmp -s "$dir/成语.txt" "$data/成语.txt"

echo "== reinstall over a dictionary the learner changed"
# One entry, padded with (ignored) trailing spaces to the starter's size, so
# that only the bytes tell it from the shipped one.
learner="$work/learner.txt"
printf '学而不厌 [xué ér bù yàn]学习总觉得不满足。出处：《论语·述而》。示例：无' |
    iconv -f UTF-8 -t GBK >"$learner"
truncate -s "$(stat -c %s "$data/成语.txt")" "$learner"
sed -i 's/\x0/ /g' "$learner"
cp "$learner" "$dir/成语.txt"
check "the setup program succeeds" run_setup
check "the learner's dictionary is kept" cmp -s "$dir/成语.txt" "$learner"
check_shortcuts
check "this version's dictionary is beside it" cmp -s "$dir/original/成语.txt" "$data/成语.txt"
check "started from the shortcut, the program shows the learner's entry" \
    same "$(probe start "$menu_lnk")" "学而不厌"

echo "== uninstall with the learner's dictionary"
check "the entry's silent uninstaller succeeds" uninstall
check "only the learner's dictionary is left" same "$(files_in "$dir")" "./成语.txt "
check "... unchanged" cmp -s "$dir/成语.txt" "$learner"
check "the Start-menu shortcut is gone" test ! -e "$(unix_path "$menu_lnk")"
check "the desktop shortcut is gone" test ! -e "$(unix_path "$desktop_lnk")"
check "the uninstall entry is gone" test -z "$(probe entry)"

echo "== install into a chosen folder and uninstall, dictionary unchanged"
chosen_win='C:\学习\Quendril'
chosen="$(unix_path "$chosen_win")"
check "the setup program succeeds with /D=" run_setup "/D=$chosen_win"
check "it installs there" same "$(files_in "$chosen")" "$shipped_files"
check "the entry names that folder" same "$(entry_value InstallLocation)" "$chosen_win"
check "the entry's silent uninstaller succeeds" uninstall
check "the folder is gone" test ! -e "$chosen"
check "the shortcuts are gone" test ! -e "$(unix_path "$menu_lnk")" -a ! -e "$(unix_path "$desktop_lnk")"
check "the uninstall entry is gone" test -z "$(probe entry)"

wineserver -k >/dev/null 2>&1
echo "installer: $failures failed"
[ "$failures" -eq 0 ]
