# Sourced by the scripts that build or run the Windows program: which of the
# two Windows builds runs on this machine, and where each is built.
#
#   runs_32bit_wine          true when Wine's 32-bit loader runs here
#   windows_processor        x86 or x64: the build the tests, the soak and
#                            run.sh use here
#   windows_build_dir [P]    the build folder of processor P (x64 or x86;
#                            default the one above): build/win-x64, build/win-x86
#   windows_toolchain [P]    the toolchain file that folder is configured with
#
# Both builds ship (scripts/package.sh). Some kernels run no 32-bit Linux
# programs (built without IA-32 emulation, or with it turned off), and then
# Wine cannot run a 32-bit Windows program either: there everything that runs
# the program uses the x86-64 build, under wine64. QUENDRIL_WIN_ARCH=i686 or
# x86_64 chooses by hand. The tests build in the same folder as the download
# of their processor, with the same rules: what they run is the download.

runs_32bit_wine() {
    case "${QUENDRIL_WIN_ARCH:-}" in
        i686) return 0 ;;
        x86_64) return 1 ;;
    esac
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

windows_processor() {
    if runs_32bit_wine; then echo x86; else echo x64; fi
}

windows_build_dir() {
    echo "build/win-${1:-$(windows_processor)}"
}

windows_toolchain() {
    case "${1:-$(windows_processor)}" in
        x86) echo cmake/mingw-i686.cmake ;;
        *) echo cmake/mingw-x86_64.cmake ;;
    esac
}
