#!/usr/bin/env bash
# Makes the README's pictures of the setup program: docs/installer.png, its
# first page, and docs/installer-mode.png, the page that chooses between
# installing for oneself and for all users. The setup program is the download
# this machine runs (scripts/windows-target.sh: the x64 one where Wine runs no
# 32-bit programs; the x86 one comes from the same script and shows the same
# pages). It runs under Wine, in a virtual desktop on a private X server; each
# picture is cut to its window.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
# First: which build Wine runs here depends on what gets installed (wine32).
scripts/install-deps.sh
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
QUENDRIL_DEPS_READY=1 scripts/package.sh "$(windows_processor)" >/dev/null
setup="$(ls "$root/$(windows_build_dir)"/quendril-*-setup.exe)"
echo "setup program: $setup"
rm -rf build/installer-shot  # a fresh prefix: nothing installed, no icons on its desktop
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
wine_env_start build/installer-shot --own-display --virtual-desktop
trap wine_env_stop EXIT

# wait_for_page: a page is up when the screen stops changing (the first one
# well after the desktop itself has appeared).
wait_for_page() {
    local previous="" current
    for _ in $(seq 60); do
        sleep 1
        current="$(import -window root rgb:- 2>/dev/null | md5sum)"
        if [ "$current" == "$previous" ] &&
            [ "$(import -window root -trim -format '%w' info: 2>/dev/null)" -lt 1000 ]; then
            return
        fi
        previous="$current"
    done
}
# save NAME: the desktop around the window is one colour, which trim cuts off.
save() {
    import -window root -trim +repage "$root/docs/$1"
    echo "saved $root/docs/$1"
}

mkdir -p "$root/docs"
wine "$setup" &
wait_for_page
save installer.png
xdotool key Return  # 下一步 (Next), the welcome page's default button
wait_for_page
save installer-mode.png
