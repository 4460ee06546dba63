# Run by CPack after each generator (CPACK_POST_BUILD_SCRIPTS), with CPACK_PACKAGE_FILES
# naming the packages it has just written. Makes the zip and tar.gz byte for byte the
# same on every machine and at every time:
#   - CPack lists members in the order the file system returns them (on ext4 that
#     follows a hash of the names that differs from one file system to the next), so
#     the members are sorted by name;
#   - CPack records the builder's user and group, so members belong to root (0/0) and
#     the zip keeps no Unix owner field at all (zip -X);
#   - permissions do not depend on the builder's umask: u+rwX,go+rX,go-w;
#   - member times are SOURCE_DATE_EPOCH (scripts/release.sh takes it from the last
#     commit); a zip stores local time, so TZ is UTC here;
#   - gzip writes no name and no time into its header (-n).
# The content stays CPack's: each archive is unpacked and packed again. Any failure
# stops CPack with an error.

set(ENV{TZ} UTC)
set(ENV{LC_ALL} C.UTF-8)  # byte order for sorting, UTF-8 for the paths
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
  # A package made by hand, not a release: dated now, still sorted and owned by root.
  string(TIMESTAMP epoch "%s" UTC)
elseif(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a whole number of seconds: '${epoch}'")
endif()

foreach(tool tar gzip zip touch chmod)
  find_program(QUILLMERE_${tool} ${tool})
  if(NOT QUILLMERE_${tool})
    message(FATAL_ERROR "normalising the packages needs '${tool}', which is not installed")
  endif()
endforeach()

# Runs a command; stops CPack with what it said when it fails.
function(quillmere_run)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "WORKING_DIRECTORY;INPUT_FILE;OUTPUT_FILE" "COMMAND")
  set(redirect)
  if(arg_INPUT_FILE)
    list(APPEND redirect INPUT_FILE "${arg_INPUT_FILE}")
  endif()
  if(arg_OUTPUT_FILE)
    list(APPEND redirect OUTPUT_FILE "${arg_OUTPUT_FILE}")
  endif()
  execute_process(COMMAND ${arg_COMMAND} WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}"
                  ${redirect} RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    list(JOIN arg_COMMAND " " shown)
    message(FATAL_ERROR "${shown}: ${status}\n${errors}")
  endif()
endfunction()

# Unpacks package into a fresh folder beside it, with normalised permissions and times.
function(quillmere_unpack package folder)
  file(REMOVE_RECURSE "${folder}")
  file(MAKE_DIRECTORY "${folder}")
  file(ARCHIVE_EXTRACT INPUT "${package}" DESTINATION "${folder}")
  quillmere_run(COMMAND "${QUILLMERE_chmod}" -R u+rwX,go+rX,go-w . WORKING_DIRECTORY "${folder}")
  file(GLOB_RECURSE members LIST_DIRECTORIES true "${folder}/*")
  quillmere_run(COMMAND "${QUILLMERE_touch}" -h -d "@${epoch}" ${members}
                WORKING_DIRECTORY "${folder}")
endfunction()

function(quillmere_repack_tgz package folder)
  file(GLOB top RELATIVE "${folder}" "${folder}/*")
  list(SORT top)
  quillmere_run(
    COMMAND "${QUILLMERE_tar}" --sort=name --format=gnu --owner=0 --group=0 --numeric-owner
            "--mtime=@${epoch}" -cf "${folder}.tar" ${top}
    WORKING_DIRECTORY "${folder}")
  quillmere_run(COMMAND "${QUILLMERE_gzip}" -9 -n -c "${folder}.tar"
                WORKING_DIRECTORY "${folder}" OUTPUT_FILE "${package}")
  file(REMOVE "${folder}.tar")
endfunction()

function(quillmere_repack_zip package folder)
  # Files only, sorted by their bytes; unzip makes the folders they lie in.
  file(GLOB_RECURSE members LIST_DIRECTORIES false RELATIVE "${folder}" "${folder}/*")
  list(SORT members)
  list(JOIN members "\n" listing)
  file(WRITE "${folder}.list" "${listing}\n")
  file(REMOVE "${package}")
  quillmere_run(COMMAND "${QUILLMERE_zip}" -X -D -9 -q "${package}" -@
                WORKING_DIRECTORY "${folder}" INPUT_FILE "${folder}.list")
  file(REMOVE "${folder}.list")
endfunction()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name "${package}" NAME)
  set(folder "${CPACK_TOPLEVEL_DIRECTORY}/normalise/${name}")
  if(name MATCHES "\\.tar\\.gz$")
    quillmere_unpack("${package}" "${folder}")
    quillmere_repack_tgz("${package}" "${folder}")
  elseif(name MATCHES "\\.zip$")
    quillmere_unpack("${package}" "${folder}")
    quillmere_repack_zip("${package}" "${folder}")
  else()
    continue()
  endif()
  file(REMOVE_RECURSE "${folder}")
  message(STATUS "- normalised: ${package}")
endforeach()
