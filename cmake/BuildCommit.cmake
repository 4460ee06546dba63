# The commit a build comes from: the first seven digits of HEAD's hash, with "-dirty"
# when tracked files differ from it, or "unknown" outside a git checkout. The same
# commit gives the same text in every clone, so builds stay reproducible.
#
# Included from CMakeLists.txt: quillmere_commit(<var>) gives the text at configure
# time (the packages' metadata), and the target quillmere_build_commit writes it at
# every build into <build>/generated/build_commit.h, as
#   #define QUILLMERE_COMMIT 4df0920
# (a bare token: windres and g++ turn it into a string alike, and the plain g++
# command line of docs/windows.md passes -DQUILLMERE_COMMIT=... instead). The header
# is rewritten only when the text changes, so an unchanged commit rebuilds nothing.
# Run with cmake -DSOURCE_DIR=... -DOUTPUT=... -P cmake/BuildCommit.cmake, it writes
# that header.

function(quillmere_commit out_var source_dir)
  set(commit unknown)
  find_program(QUILLMERE_GIT git)
  if(QUILLMERE_GIT)
    execute_process(COMMAND "${QUILLMERE_GIT}" -C "${source_dir}" rev-parse --verify -q HEAD
                    RESULT_VARIABLE status OUTPUT_VARIABLE head ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(status EQUAL 0 AND head MATCHES "^[0-9a-f]+$")
      string(SUBSTRING "${head}" 0 7 commit)
      # Untracked files do not count: only what the build may have read.
      execute_process(COMMAND "${QUILLMERE_GIT}" -C "${source_dir}" status --porcelain --untracked-files=no
                      RESULT_VARIABLE status OUTPUT_VARIABLE changes ERROR_QUIET)
      if(NOT status EQUAL 0 OR NOT changes STREQUAL "")
        string(APPEND commit -dirty)
      endif()
    endif()
  endif()
  set(${out_var} "${commit}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  quillmere_commit(commit "${SOURCE_DIR}")
  set(text "// Written by cmake/BuildCommit.cmake at each build.\n#define QUILLMERE_COMMIT ${commit}\n")
  set(old "")
  if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old)
  endif()
  if(NOT old STREQUAL text)
    file(WRITE "${OUTPUT}" "${text}")
  endif()
  return()
endif()

set(QUILLMERE_GENERATED_DIR "${PROJECT_BINARY_DIR}/generated")
add_custom_target(quillmere_build_commit
  COMMAND "${CMAKE_COMMAND}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "-DOUTPUT=${QUILLMERE_GENERATED_DIR}/build_commit.h" -P "${CMAKE_CURRENT_LIST_FILE}"
  BYPRODUCTS "${QUILLMERE_GENERATED_DIR}/build_commit.h"
  COMMENT "Reading the commit of the source tree"
  VERBATIM)
