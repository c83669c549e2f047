#!/usr/bin/env bash
# The setup program under Wine, as a learner meets it, in one install mode,
# in a fresh prefix of its own: a silent install; the files, their names,
# the shortcuts and the uninstall entry where that mode puts them; the
# program started as its shortcut starts it; an upgrade over an unchanged
# dictionary that leaves idiomtool out; a reinstall and an uninstall that
# keep a changed dictionary and remove everything else; an uninstaller
# started by hand, without its mode, finds it from its entry. In the
# current user's mode also an interactive install, every page's default
# taken, into a folder named by /D=, whose finish page starts the program.
#
#   install_test.sh MODE SETUP.exe install_probe.exe quendril.exe idiomtool.exe DATA_DIR WORK_DIR
#
# MODE "user" installs as a learner does by default (no option), "all" with
# /ALLUSERS. Later runs name no mode: the setup program finds the earlier
# installation's.
set -uo pipefail
mode="$1" setup="$2" probe_exe="$3" program="$4" tool="$5" data="$6" work="$7"
# shellcheck source-path=SCRIPTDIR source=install_lib.sh
source "$(dirname "$0")/install_lib.sh"
case "$mode" in
    user) fresh=() other=all option=/CURRENTUSER ;;
    all) fresh=(/ALLUSERS) other=user option=/ALLUSERS ;;
    *) echo "install_test.sh: MODE is user or all" >&2; exit 2 ;;
esac
# The test runs in each locale, maybe at the same time: a folder for each.
install_setup_prefix "$work-$mode-${LANG:-C}"
install_mode "$mode"
version="$(basename "$setup" | sed -E 's/^quendril-(.*)-x(64|86)-setup\.exe$/\1/')"

echo "== fresh install into $dir_win"
check "the setup program succeeds" run_setup "${fresh[@]}"
check "it installs exactly the program, idiomtool, dictionary, read-me and uninstaller, under these names" \
    same "$(files_in "$dir")" "$shipped_files"
check "the program is the one built" cmp -s "$dir/quendril.exe" "$program"
check "idiomtool is the one built" cmp -s "$dir/idiomtool.exe" "$tool"
check "the dictionary is the starter one" cmp -s "$dir/成语.txt" "$data/成语.txt"
check "the read-me is ours" cmp -s "$dir/README.txt" "$data/README.txt"
check_shortcuts
first="$(probe start "$menu_lnk")"
check "started as the Start-menu shortcut starts it, it shows a starter idiom ($first)" \
    in_starter "$first"
check "nothing is installed for the other mode" test -z "$(probe entry "$other")"

check "the uninstall entry names the program" same "$(entry_value "$mode" DisplayName)" "$name"
check "... its version" same "$(entry_value "$mode" DisplayVersion)" "$version"
check "... its publisher" same "$(entry_value "$mode" Publisher)" "Quendril"
check "... its icon" same "$(entry_value "$mode" DisplayIcon)" "$dir_win\\quendril.exe,0"
check "... its folder" same "$(entry_value "$mode" InstallLocation)" "$dir_win"
check "... its uninstaller, told its mode" same "$(entry_value "$mode" UninstallString)" \
    "\"$dir_win\\uninstall.exe\" $option"
check "... its silent uninstaller" same "$(entry_value "$mode" QuietUninstallString)" \
    "\"$dir_win\\uninstall.exe\" $option /S"
check "... no modify button" same "$(entry_value "$mode" NoModify)" "dword:1"
check "... no repair button" same "$(entry_value "$mode" NoRepair)" "dword:1"
kib="$(find "$dir" -type f -printf '%s\n' | awk '{ s += $1 } END { print int(s / 1024) }')"
size="$(entry_value "$mode" EstimatedSize)"
check "... its size in KiB (files: $kib KiB, entry: $size)" \
    test "${size#dword:}" -ge $((kib - 1)) -a "${size#dword:}" -le $((kib + 1)) -a "${size%%:*}" == dword

echo "== upgrade over a dictionary an earlier version shipped, unchanged, leaving idiomtool out"
head -n 5 "$data/成语.txt" >"$dir/成语.txt"
cp "$dir/成语.txt" "$dir/original/成语.txt"
check "the setup program succeeds" run_setup /NOIDIOMTOOL
check "the unchanged dictionary is replaced by this version's" cmp -s "$dir/成语.txt" "$data/成语.txt"
check "idiomtool, left out, is gone and the rest is there" \
    same "$(files_in "$dir")" "$shipped_without_tool"
check "the upgrade stays in this mode" test -z "$(probe entry "$other")"

echo "== reinstall over a dictionary the learner changed, idiomtool back"
# One entry, padded with (ignored) trailing spaces to the starter's size, so
# that only the bytes tell it from the shipped one.
learner="$work-$mode-${LANG:-C}/learner.txt"
printf '学而不厌 [xué ér bù yàn]学习总觉得不满足。出处：《论语·述而》。示例：无' |
    iconv -f UTF-8 -t GBK >"$learner"
truncate -s "$(stat -c %s "$data/成语.txt")" "$learner"
sed -i 's/\x0/ /g' "$learner"
cp "$learner" "$dir/成语.txt"
check "the setup program succeeds" run_setup
check "the learner's dictionary is kept" cmp -s "$dir/成语.txt" "$learner"
check "idiomtool is back" cmp -s "$dir/idiomtool.exe" "$tool"
check_shortcuts
check "this version's dictionary is beside it" cmp -s "$dir/original/成语.txt" "$data/成语.txt"
check "started from the shortcut, the program shows the learner's entry" \
    same "$(probe start "$menu_lnk")" "学而不厌"

echo "== uninstall with the learner's dictionary"
check "the entry's silent uninstaller succeeds" uninstall "$mode"
check "only the learner's dictionary is left" same "$(files_in "$dir")" "./成语.txt "
check "... unchanged" cmp -s "$dir/成语.txt" "$learner"
check "the Start-menu shortcut is gone" test ! -e "$(unix_path "$menu_lnk")"
check "the desktop shortcut is gone" test ! -e "$(unix_path "$desktop_lnk")"
check "the uninstall entry is gone" test -z "$(probe entry "$mode")"

echo "== install into a chosen folder without idiomtool, and uninstall, dictionary unchanged"
chosen_win='C:\学习\Quendril'
chosen="$(unix_path "$chosen_win")"
check "the setup program succeeds with /D=" run_setup "${fresh[@]}" /NOIDIOMTOOL "/D=$chosen_win"
check "it installs there, without idiomtool" same "$(files_in "$chosen")" "$shipped_without_tool"
check "the entry names that folder" same "$(entry_value "$mode" InstallLocation)" "$chosen_win"
uninstall_by_hand "$chosen_win\\uninstall.exe"
check "its uninstaller, started by hand without its mode, removes it" test ! -e "$chosen/quendril.exe"
check "the folder is gone" test ! -e "$chosen"
check "the shortcuts are gone" test ! -e "$(unix_path "$menu_lnk")" -a ! -e "$(unix_path "$desktop_lnk")"
check "the uninstall entry is gone" test -z "$(probe entry "$mode")"

if [ "$mode" == user ]; then
    echo "== interactive install into the folder /D= names, the program started from the finish page"
    chosen_win='C:\交互\Quendril'
    chosen="$(unix_path "$chosen_win")"
    wine "$setup" "/D=$chosen_win" &
    check "every page's default taken, the setup program ends" probe finish-setup
    wait
    check "it installs into that folder" same "$(files_in "$chosen")" "$shipped_files"
    mapfile -t started < <(probe running)
    check "the finish page starts the program in its folder: it shows a starter idiom (${started[0]:-})" \
        in_starter "${started[0]:-}"
    # Wine's processes all run with full rights, as an elevated setup
    # program's do: such a one asks the desktop's shell to start the program.
    check "... started by Explorer, as the desktop user" same "${started[1]:-}" "explorer.exe"
    check "the entry's silent uninstaller succeeds" uninstall "$mode"
    check "the folder is gone" test ! -e "$chosen"
fi

finish "installer, $mode"
