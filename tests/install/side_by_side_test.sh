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
# (/D= is given unquoted, as it must be: folders without spaces.)
old_win='C:\旧\Quendril' new_win='C:\新\Quendril'
old="$(unix_path "$old_win")" new="$(unix_path "$new_win")"
check "for all users, into the old folder" run_setup /ALLUSERS "/D=$old_win"
check "for all users again, into a new folder" run_setup /ALLUSERS "/D=$new_win"
check "for the current user" run_setup /CURRENTUSER
uninstall_by_hand "$old_win\\uninstall.exe"
check "the old uninstaller removes its own files" test ! -e "$old/quendril.exe"
check "... and leaves the installation for all users whole" same "$(files_in "$new")" "$shipped_files"
check "... its entry" same "$(entry_value all InstallLocation)" "$new_win"
install_mode all
check "... and its Start-menu shortcut" test -f "$(unix_path "$menu_lnk")"
check_whole user
check "the uninstaller for all succeeds" uninstall all
check_gone all
check "... from the new folder" test ! -e "$new"
check "the uninstaller for user succeeds" uninstall user
check_gone user

finish "installers side by side"
