# Installs the build tree into a fresh prefix for the end-to-end tests:
#   cmake -DBUILD_DIR=<build dir> -DPREFIX=<prefix> -P Install.cmake
# The prefix is emptied first, so a file that the build no longer installs does not linger.
if(NOT BUILD_DIR OR NOT PREFIX)
  message(FATAL_ERROR "BUILD_DIR and PREFIX are needed")
endif()
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
if(NOT EXISTS "${PREFIX}/bin/taskwick")
  message(FATAL_ERROR "${PREFIX}/bin/taskwick was not installed")
endif()
