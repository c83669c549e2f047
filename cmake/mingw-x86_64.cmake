# Cross build for 64-bit Windows with the MinGW-w64 x86_64 -posix compilers:
# the x64 downloads, and the build the tests run where Wine runs no 32-bit
# programs.
set(QUENDRIL_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
