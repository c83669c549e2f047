# Sourced by the scripts that build or run the Windows program: which MinGW
# toolchain the Windows build and its tests use on this machine.
#
#   windows_toolchain   prints the toolchain file to configure build/win with
#   runs_32bit_wine     true when Wine's 32-bit loader runs here
#
# The program is a 32-bit Windows program and is built and tested as one.
# Some kernels run no 32-bit Linux programs (built without IA-32 emulation,
# or with it turned off), and then Wine cannot run a 32-bit Windows program
# either: there the tests run on the x86-64 build of the same sources under
# wine64. QUENDRIL_WIN_ARCH=i686 or x86_64 chooses by hand. The downloads
# (scripts/package.sh) are always the i686 build.

runs_32bit_wine() {
    case "${QUENDRIL_WIN_ARCH:-}" in
        i686) return 0 ;;
        x86_64) return 1 ;;
    esac
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

windows_toolchain() {
    if runs_32bit_wine; then
        echo cmake/mingw-i686.cmake
    else
        echo cmake/mingw-x86_64.cmake
    fi
}
