# nlohmann/json, header-only, from the host's Debian package for both builds.
# The MinGW build must not see the host's /usr/include (its C library headers
# would shadow MinGW's), so the target's include folder is one in the build
# tree that holds nothing but a link to the nlohmann folder.
find_path(NLOHMANN_JSON_INCLUDE_DIR nlohmann/json.hpp
    PATHS /usr/include /usr/local/include
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT NLOHMANN_JSON_INCLUDE_DIR)
    message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev")
endif()

set(_nlohmann_only "${CMAKE_BINARY_DIR}/nlohmann-json-include")
file(MAKE_DIRECTORY "${_nlohmann_only}")
if(NOT EXISTS "${_nlohmann_only}/nlohmann/json.hpp")
    file(CREATE_LINK "${NLOHMANN_JSON_INCLUDE_DIR}/nlohmann" "${_nlohmann_only}/nlohmann" SYMBOLIC)
endif()

add_library(nlohmann_json_header INTERFACE)
target_include_directories(nlohmann_json_header SYSTEM INTERFACE "${_nlohmann_only}")
