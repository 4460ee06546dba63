# GoogleTest built from its sources for a cross build (Windows, ARM Linux, WebAssembly),
# whose compiler cannot link the host's libgtest. Debian's googletest package puts the
# sources in /usr/src/googletest; GOOGLETEST_SOURCE_DIR names another copy. Gives the
# targets gtest and gtest_main.
find_path(GOOGLETEST_SOURCE_DIR
  NAMES googletest/include/gtest/gtest.h
  HINTS ENV GOOGLETEST_SOURCE_DIR
  PATHS /usr/src/googletest
  PATH_SUFFIXES src/googletest
  NO_CMAKE_FIND_ROOT_PATH
  DOC "GoogleTest's source tree (the folder holding googletest/)")
if(NOT GOOGLETEST_SOURCE_DIR)
  message(FATAL_ERROR "GoogleTest's sources were not found: install Debian's googletest "
                      "package (scripts/install-deps.sh) or set GOOGLETEST_SOURCE_DIR.")
endif()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# WebAssembly programs here run on one thread, without pthreads.
if(EMSCRIPTEN)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
else()
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
endif()
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
