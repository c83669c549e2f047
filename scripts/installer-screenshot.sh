#!/usr/bin/env bash
# Makes docs/installer.png, the README's picture of the setup program's first
# page: the setup program under Wine, in a virtual desktop on a private X
# server, cut to its window.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
scripts/package.sh >/dev/null
setup="$(ls "$root"/build/win/quendril-*-setup.exe)"

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
rm -rf build/installer-shot  # a fresh prefix: nothing installed, no icons on its desktop
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
wine_env_start build/installer-shot --own-display --virtual-desktop
trap wine_env_stop EXIT

wine "$setup" &
# The welcome page is up when the screen stops changing, well after the
# desktop itself has appeared.
previous=""
for _ in $(seq 60); do
    sleep 1
    current="$(import -window root rgb:- 2>/dev/null | md5sum)"
    if [ "$current" == "$previous" ] && [ "$(import -window root -trim -format '%w' info: 2>/dev/null)" -lt 1000 ]; then
        break
    fi
    previous="$current"
done
mkdir -p "$root/docs"
# The desktop around the window is one colour: trim cuts the window out.
import -window root -trim +repage "$root/docs/installer.png"
echo "saved $root/docs/installer.png"
