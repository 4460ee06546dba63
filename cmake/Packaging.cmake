# Install rules and packages (CPack).
#   windows preset: quillmere-<version>-win64.zip, the programs, README, LICENSE and
#                   docs/ at the archive's root;
#   native and linux-arm64 presets: quillmere-cli_<version>_<arch>.deb and
#                   quillmere-cli-<version>-linux-<processor>.tar.gz, the companion in
#                   bin/ and its documents in share/doc/quillmere/.
#   web preset:     quillmere-<version>-web.zip, the page's folder (index.html, its
#                   style sheet and icon) and LICENSE in quillmere-<version>-web/.
# scripts/release.sh builds all three and writes them with SHA256SUMS into dist/.

if(EMSCRIPTEN)
  # The site only; the companion built for node is not shipped.
  install(FILES ${CMAKE_BINARY_DIR}/site/index.html ${CMAKE_BINARY_DIR}/site/style.css
                ${CMAKE_BINARY_DIR}/site/quillmere.ico LICENSE DESTINATION .)
elseif(WIN32)
  install(TARGETS quillmere quillmere-cli RUNTIME DESTINATION .)
  install(FILES README.md LICENSE DESTINATION .)
  install(DIRECTORY docs/ DESTINATION docs)
else()
  install(TARGETS quillmere-cli RUNTIME DESTINATION bin)
  install(FILES README.md LICENSE docs/companion.md DESTINATION share/doc/quillmere)
  install(FILES docs/quillmere-cli.1 DESTINATION share/man/man1)
endif()

set(CPACK_PACKAGE_VENDOR "The Quillmere authors")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CAN bit-timing settings for the STM32 bxCAN and FDCAN peripherals")
set(CPACK_STRIP_FILES ON)
# CPack's zip and tar.gz list their members in directory order and with the builder's
# owner; cmake/NormalizeArchives.cmake rewrites them sorted, owned by root and dated
# SOURCE_DATE_EPOCH. (The deb generator does all that itself.)
set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/NormalizeArchives.cmake")

if(EMSCRIPTEN)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME quillmere)
  set(CPACK_PACKAGE_FILE_NAME "quillmere-${PROJECT_VERSION}-web")
  # Unpacked, the page lies in a folder of its own: open quillmere-<version>-web/index.html.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
elseif(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME quillmere)
  set(CPACK_PACKAGE_FILE_NAME "quillmere-${PROJECT_VERSION}-win64")
  # Unpacked, the programs lie at the top of the folder the user chose.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_PACKAGE_NAME quillmere-cli)
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" QUILLMERE_PLATFORM)
  set(CPACK_PACKAGE_FILE_NAME "quillmere-cli-${PROJECT_VERSION}-${QUILLMERE_PLATFORM}")

  set(QUILLMERE_MAINTAINER "The Quillmere authors <authors@quillmere.invalid>"
      CACHE STRING "The Maintainer field of the Debian package")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # quillmere-cli_<version>_<arch>.deb
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLMERE_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The short description is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the long one.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "quillmere-cli lists every baud-rate prescaler / BS1 / BS2 setting of the bxCAN
peripheral that meets a clock, a bit rate, a minimum sample point and an allowed
rate error, as a table, tab- or comma-separated lines, JSON or code to paste. It
gives the same rows as the Quillmere window for Windows, picks the best setting,
decodes a CAN_BTR value, and does the same for the FDCAN peripheral's nominal and
data phases.")
  # Depends: computed from the program's shared libraries by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    # Cross-built for 64-bit ARM (preset release-linux-arm64): Debian's arch name, and
    # Depends from the companion's GLIBC versions (cmake/ArmDebDepends.cmake).
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
    set(CPACK_QUILLMERE_READELF "${CMAKE_READELF}")
    set(CPACK_QUILLMERE_COMPANION "${PROJECT_BINARY_DIR}/cli/quillmere-cli")
    set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/ArmDebDepends.cmake")
  endif()
endif()

include(CPack)
