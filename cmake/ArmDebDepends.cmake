# Run by CPack before it packages the ARM build (CPACK_PROJECT_CONFIG_FILE, set in
# cmake/Packaging.cmake): the deb's Depends from the companion's own needs. dpkg-shlibdeps
# cannot do it for a cross build (it finds Debian's cross libraries, whose package
# names a real ARM system does not have); the companion links its C++ runtime in and
# needs only libc6, at the highest GLIBC_2.N symbol version it references.
if(CPACK_GENERATOR STREQUAL "DEB")
  execute_process(COMMAND "${CPACK_QUILLMERE_READELF}" --version-info "${CPACK_QUILLMERE_COMPANION}"
                  OUTPUT_VARIABLE versions RESULT_VARIABLE status)
  string(REGEX MATCHALL "GLIBC_2\\.[0-9]+" needed "${versions}")
  if(NOT status EQUAL 0 OR NOT needed)
    message(FATAL_ERROR "no GLIBC versions read from ${CPACK_QUILLMERE_COMPANION}")
  endif()
  set(highest 0)
  foreach(version IN LISTS needed)
    string(REGEX REPLACE "GLIBC_2\\." "" minor "${version}")
    if(minor GREATER highest)
      set(highest ${minor})
    endif()
  endforeach()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.${highest})")
endif()
