# Cross build for 64-bit Windows with the MinGW-w64 x86_64 -posix compilers.
# Only for testing on a machine whose kernel cannot run 32-bit programs (so
# neither can Wine's 32-bit loader): the same sources, run under wine64. The
# program that ships is the i686 build.
set(QUENDRIL_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
