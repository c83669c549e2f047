# Cross build for 32-bit Windows with the MinGW-w64 i686 -posix compilers:
# the program as it ships.
set(QUENDRIL_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
