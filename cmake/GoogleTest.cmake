# GoogleTest, built from its sources with this project's compiler and flags,
# for the host and the Windows target alike (the distribution ships no
# prebuilt library for MinGW, and a sanitizer build wants GoogleTest
# instrumented too). Every test target links GTest::gtest or GTest::gtest_main.
set(QUENDRIL_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest's source tree (the top folder, holding googletest/)")

if(NOT EXISTS "${QUENDRIL_GTEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "No GoogleTest sources in '${QUENDRIL_GTEST_SOURCE_DIR}': install the "
                        "googletest package or set QUENDRIL_GTEST_SOURCE_DIR")
endif()

set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUENDRIL_GTEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

foreach(library gtest gtest_main)
    if(NOT TARGET GTest::${library})
        add_library(GTest::${library} ALIAS ${library})
    endif()
endforeach()

# gtest_discover_tests for the host's test programs.
include(GoogleTest)
