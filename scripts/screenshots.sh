#!/usr/bin/env bash
# Makes the README's screenshots, docs/main-dialog.png and docs/about-box.png:
# the program on the starter dictionary under Wine on a private X server.
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

poke=(wine "$root/build/win/scripts/poke/quendril_poke.exe")

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
