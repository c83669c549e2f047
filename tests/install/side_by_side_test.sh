#!/usr/bin/env bash
# Both install modes in one fresh Wine prefix: the current user's and the one
# for all users side by side; each one's uninstaller removes its own and
# leaves the other whole, whichever goes first. An old uninstaller left in
# another folder, started by hand, removes its own files and nothing of
# either installation.
#
#   side_by_side_test.sh SETUP.exe install_probe.exe DATA_DIR WORK_DIR
set -uo pipefail
setup="$1" probe_exe="$2" data="$3" work="$4"
# shellcheck source-path=SCRIPTDIR source=install_lib.sh
source "$(dirname "$0")/install_lib.sh"
install_setup_prefix "$work-${LANG:-C}"

# check_whole MODE: that mode's installation is all there.
check_whole() {
    install_mode "$1"
    check "$1: the files are all there" same "$(files_in "$dir")" "$shipped_files"
    check "$1: the Start-menu shortcut is there" test -f "$(unix_path "$menu_lnk")"
    check "$1: the desktop shortcut is there" test -f "$(unix_path "$desktop_lnk")"
    check "$1: the entry names its folder" same "$(entry_value "$1" InstallLocation)" "$dir_win"
    check_shortcuts
}
# check_gone MODE
check_gone() {
    install_mode "$1"
    check "$1: the folder is gone" test ! -e "$dir"
    check "$1: the shortcuts are gone" \
        test ! -e "$(unix_path "$menu_lnk")" -a ! -e "$(unix_path "$desktop_lnk")"
    check "$1: the entry is gone" test -z "$(probe entry "$1")"
}

for first in all user; do
    echo "== both installed, the one for $first removed first"
    check "for all users" run_setup /ALLUSERS
    check "for the current user, beside it" run_setup /CURRENTUSER
    check_whole all
    check_whole user
    [ "$first" == all ] && second=user || second=all
    check "the uninstaller for $first succeeds" uninstall "$first"
    check_gone "$first"
    check_whole "$second"
    check "the uninstaller for $second succeeds" uninstall "$second"
    check_gone "$second"
done

echo "== an old uninstaller left behind when the installation for all users moved"
old_win='C:\旧\Quendril'
old="$(unix_path "$old_win")"
check "for all users, into the old folder" run_setup /ALLUSERS "/D=$old_win"
check "for all users again, into the usual folder" run_setup /ALLUSERS "/D=$(probe folders all | head -1)\\Quendril"
check "for the current user" run_setup /CURRENTUSER
wine "$old_win\\uninstall.exe" /S  # by its Windows path, as Explorer starts it
wineserver -w
check "the old uninstaller removes its own files" test ! -e "$old/quendril.exe"
check_whole all
check_whole user
for mode in all user; do
    check "the uninstaller for $mode succeeds" uninstall "$mode"
    check_gone "$mode"
done

finish "installers side by side"
