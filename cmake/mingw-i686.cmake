# Cross build for 32-bit Windows with the MinGW-w64 i686 -posix compilers:
# the x86 downloads, for 32-bit Windows.
set(QUENDRIL_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
