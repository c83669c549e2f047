# What the learner downloads is the same, byte for byte, whoever builds it
# from the same commit, wherever and whenever: the one time that goes into
# the programs and packages is SOURCE_DATE_EPOCH, by default the time of the
# last commit.
#
# The download for learners who want no setup program: a ZIP with the
# program, idiomtool, the starter dictionary and a short read-me, in a folder
# named after the package.
if(NOT TARGET idiomtool)
    message(STATUS "idiomtool is not built (QUENDRIL_TOOLS=OFF): no packages")
    return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(QUENDRIL_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
    execute_process(COMMAND git log -1 --format=%ct
                    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
                    OUTPUT_VARIABLE QUENDRIL_SOURCE_DATE_EPOCH
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(QUENDRIL_SOURCE_DATE_EPOCH STREQUAL "")
        set(QUENDRIL_SOURCE_DATE_EPOCH 315532800)  # 1980-01-01, no history to go by
    endif()
endif()
set(source_date_env "SOURCE_DATE_EPOCH=${QUENDRIL_SOURCE_DATE_EPOCH}")
# The linker writes that time, not the clock's, into the programs' headers.
set_property(TARGET quendril idiomtool PROPERTY CXX_LINKER_LAUNCHER
             ${CMAKE_COMMAND} -E env ${source_date_env})

# Each processor's build makes its own pair of downloads: x64 for 64-bit
# Windows, x86 for 32-bit Windows.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(QUENDRIL_DOWNLOAD_PROCESSOR x64)
else()
    set(QUENDRIL_DOWNLOAD_PROCESSOR x86)
endif()
set(QUENDRIL_PACKAGE "quendril-${PROJECT_VERSION}-${QUENDRIL_DOWNLOAD_PROCESSOR}")
set(QUENDRIL_ZIP "${PROJECT_BINARY_DIR}/${QUENDRIL_PACKAGE}.zip")
add_custom_command(
    OUTPUT "${QUENDRIL_ZIP}"
    COMMAND ${CMAKE_COMMAND} -E env ${source_date_env}
            ${Python3_EXECUTABLE} "${PROJECT_SOURCE_DIR}/scripts/make_zip.py"
            "${QUENDRIL_ZIP}" "${QUENDRIL_PACKAGE}"
            "quendril.exe=$<TARGET_FILE:quendril>"
            "成语.txt=${PROJECT_SOURCE_DIR}/data/成语.txt"
            "README.txt=${PROJECT_SOURCE_DIR}/data/README.txt"
            "idiomtool.exe=$<TARGET_FILE:idiomtool>"
    DEPENDS quendril idiomtool "${PROJECT_SOURCE_DIR}/scripts/make_zip.py"
            "${PROJECT_SOURCE_DIR}/data/成语.txt" "${PROJECT_SOURCE_DIR}/data/README.txt"
    COMMENT "Making the ZIP"
    VERBATIM)
add_custom_target(zip ALL DEPENDS "${QUENDRIL_ZIP}")
