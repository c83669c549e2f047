# Sourced by the scripts that run Windows programs here: a private Wine
# prefix, a private X display when needed, and a stand-in web browser.
#
#   wine_env_start BUILD_DIR [--own-display] [--virtual-desktop] [--no-prefix]
#   wine_env_stop
#
# Exports WINEPREFIX, DISPLAY, QUENDRIL_URL_LOG (addresses handed to the
# browser end up there, one a line). With --no-prefix, for programs that
# make Wine prefixes of their own, no prefix is made or named.

# shellcheck source=windows-target.sh
source "$(dirname "${BASH_SOURCE[0]}")/windows-target.sh"

_wine_env_xvfb_pid=""

wine_env_start() {
    local build_dir="$1" own_display="" virtual_desktop="" prefix=1
    shift
    for option in "$@"; do
        case "$option" in
            --own-display) own_display=1 ;;
            --virtual-desktop) virtual_desktop=1 ;;
            --no-prefix) prefix="" ;;
        esac
    done
    mkdir -p "$build_dir"
    build_dir="$(cd "$build_dir" && pwd)"
    if [ -n "$prefix" ]; then export WINEPREFIX="$build_dir/wineprefix"; else unset WINEPREFIX; fi
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko installers: there is no network, and nothing needs them.
    export WINEDLLOVERRIDES="mscoree,mshtml="

    if [ -n "$own_display" ] || [ -z "${DISPLAY:-}" ]; then
        # Xvfb takes the first free display itself and writes its number once
        # it accepts clients, so runs side by side never pick the same one.
        local number_file="$build_dir/xvfb-display"
        : >"$number_file"
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
        _wine_env_xvfb_pid=$!
        local n=""
        for _ in $(seq 100); do
            n="$(tr -dc 0-9 <"$number_file")"
            [ -n "$n" ] && break
            sleep 0.1
        done
        if [ -z "$n" ]; then
            echo "wine-env: Xvfb did not start" >&2
            return 1
        fi
        export DISPLAY=":$n"
    fi

    # Wine hands web addresses to xdg-open: record them instead.
    local bin="$build_dir/stand-in-bin"
    mkdir -p "$bin"
    export QUENDRIL_URL_LOG="$build_dir/opened-urls.log"
    cat >"$bin/xdg-open" <<'SH'
#!/bin/sh
printf '%s\n' "$1" >>"${QUENDRIL_URL_LOG:-/dev/null}"
SH
    chmod +x "$bin/xdg-open"
    # Where the kernel runs no 32-bit programs the tests are the x86-64 build
    # (windows-target.sh), started by wine64 itself: the wine command (and
    # wineboot through wine-stable) would pick the 32-bit loader, which
    # cannot start.
    if ! runs_32bit_wine; then
        export WINELOADER=/usr/lib/wine/wine64
        local loader
        for loader in wine wine-stable; do
            printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$loader"
            chmod +x "$bin/$loader"
        done
    fi
    export PATH="$bin:$PATH"
    [ -n "$prefix" ] || return 0

    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine-env: creating Wine prefix $WINEPREFIX" >&2
        wineboot -i >/dev/null 2>&1 || true
        # Wine has no SimSun: draw it with AR PL UMing, a Song face too, and
        # one with the pinyin tone letters.
        local face
        for face in "SimSun" "宋体"; do
            LC_ALL=C.UTF-8 wine reg add \
                'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
                /v "$face" /d "AR PL UMing CN" /f >/dev/null 2>&1 || true
        done
        wineserver -w
    fi
    if [ -n "$virtual_desktop" ]; then
        # Every program of this prefix in one 1024x768 desktop window, with
        # title bars drawn as Windows would, also where no window manager runs.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Quendril /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Quendril /d 1024x768 /f \
            >/dev/null 2>&1
    fi
}

wine_env_stop() {
    [ -z "${WINEPREFIX:-}" ] || wineserver -k >/dev/null 2>&1 || true
    if [ -n "$_wine_env_xvfb_pid" ]; then
        kill "$_wine_env_xvfb_pid" 2>/dev/null || true
        wait "$_wine_env_xvfb_pid" 2>/dev/null || true
        _wine_env_xvfb_pid=""
    fi
}

# Starts the program (from windows_build_dir) in FOLDER, which gets a copy of the
# starter dictionary (or of DICTIONARY, as 成语.txt), in the background, and
# waits until it shows its first entry.
wine_env_show_starter() {
    local folder="$1" root dictionary
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    dictionary="${2:-$root/data/成语.txt}"
    mkdir -p "$folder"
    cp "$dictionary" "$folder/成语.txt"
    (cd "$folder" && exec wine "$root/$(windows_build_dir)/ui/quendril.exe") &
    wine "$root/$(windows_build_dir)/scripts/poke/quendril_poke.exe" wait
}
