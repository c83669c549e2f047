# The download for learners: a ZIP with the program, the starter dictionary
# and a short read-me.
install(FILES "${PROJECT_SOURCE_DIR}/data/成语.txt" DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/data/README.txt" DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quendril)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_SYSTEM_NAME win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
