# GoogleTest, built from its sources with this project's compiler and flags
# for the Windows target (the distribution ships no prebuilt library for
# MinGW) and the sanitizer build (which wants GoogleTest instrumented too).
# Every test target links GTest::gtest or GTest::gtest_main.
set(QUENDRIL_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest's source tree (the top folder, holding googletest/)")

if(NOT EXISTS "${QUENDRIL_GTEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "No GoogleTest sources in '${QUENDRIL_GTEST_SOURCE_DIR}': install the "
                        "googletest package or set QUENDRIL_GTEST_SOURCE_DIR")
endif()

# The plain host build links the prebuilt library of libgtest-dev instead:
# compiling GoogleTest takes a processor a quarter of a minute, a seventh of
# that whole build.
if(NOT WIN32 AND NOT QUENDRIL_SANITIZE AND NOT QUENDRIL_FUZZ)
    find_package(GTest CONFIG QUIET)
endif()
if(NOT TARGET GTest::gtest)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${QUENDRIL_GTEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

foreach(library gtest gtest_main)
    if(NOT TARGET GTest::${library})
        add_library(GTest::${library} ALIAS ${library})
    endif()
endforeach()

# gtest_discover_tests for the host's test programs.
include(GoogleTest)

# gtest.h costs each file that includes it a quarter of a second more than
# loading it precompiled: one precompiled copy serves every test file of the
# host and sanitizer builds. (The Windows tests are compiled with the
# layer's UNICODE, which the copy would have to share; they are few.)
function(quendril_gtest_pch)
    if(WIN32)
        return()
    endif()
    if(NOT TARGET gtest_pch)
        add_library(gtest_pch OBJECT EXCLUDE_FROM_ALL "${PROJECT_SOURCE_DIR}/cmake/gtest_pch.cpp")
        target_link_libraries(gtest_pch PRIVATE GTest::gtest)
        target_precompile_headers(gtest_pch PRIVATE <gtest/gtest.h>)
    endif()
    foreach(target IN LISTS ARGN)
        target_precompile_headers(${target} REUSE_FROM gtest_pch)
    endforeach()
endfunction()
