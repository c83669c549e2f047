#!/usr/bin/env bash
# Makes the README's screenshots, docs/main-dialog.png and docs/about-box.png,
# docs/find.png (Find over the main dialog, with a pinyin typed),
# docs/main-dialog-long-entry.png on an entry whose pronunciation is too long
# for 25 points, and docs/main-dialog-144dpi.png at 150 %: the program on the
# starter dictionary under Wine on a private X server.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
scripts/build-windows.sh

shots="$root/build/shots"
rm -rf "$shots"
mkdir -p "$root/docs"

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
wine_env_start build/desktop --own-display --virtual-desktop
trap wine_env_stop EXIT
wine_env_show_starter "$shots"

poke=(wine "$root/$(windows_build_dir)/scripts/poke/quendril_poke.exe")

# Cuts a window out of the screen, by the rectangle the program reports.
capture() {
    local window="$1" out="$2" rect
    rect="$("${poke[@]}" rect "$window" | tr -d '\r')"
    read -r w h x y <<<"$rect"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
    echo "saved $out (${w}x${h})"
}
capture main "$root/docs/main-dialog.png"
"${poke[@]}" about
capture about "$root/docs/about-box.png"

# The starter dictionary's longest pronunciation, alone in a dictionary.
wineserver -k
long="$shots/long-entry"
mkdir -p "$long"
grep -aF "$(printf '醉翁之意不在酒 [' | iconv -f UTF-8 -t GBK)" data/成语.txt | head -1 >"$long/成语.txt"
(cd "$long" && exec wine "$root/$(windows_build_dir)/ui/quendril.exe") &
"${poke[@]}" wait
capture main "$root/docs/main-dialog-long-entry.png"

# Find over the main dialog, on the starter dictionary.
wineserver -k
wine_env_show_starter "$shots/find"
"${poke[@]}" find shan
capture main "$root/docs/find.png"

# At 150 % (144 dpi) the dialog needs a larger screen: a prefix and an X server
# of their own.
wine_env_stop
Xvfb_pid=""
n=99
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1400x1100x24 -nolisten tcp >/dev/null 2>&1 &
Xvfb_pid=$!
trap 'wine_env_stop; kill "$Xvfb_pid" 2>/dev/null || true' EXIT
export DISPLAY=":$n"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
wine_env_start build/desktop-144dpi --virtual-desktop
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Quendril /d 1400x1100 /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wine_env_show_starter "$shots/144dpi"
capture main "$root/docs/main-dialog-144dpi.png"
