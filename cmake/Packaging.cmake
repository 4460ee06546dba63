# Install rules and packages (CPack).
#   windows preset: quillmere-<version>-win64.zip, the programs, README, NEWS, LICENSE
#                   and docs/ at the archive's root;
#   native and linux-arm64 presets: quillmere-cli_<version>_<arch>.deb and
#                   quillmere-cli-<version>-linux-<processor>.tar.gz, laid out as
#                   Debian's rules want it, whatever the architecture:
#                     bin/quillmere-cli
#                     share/man/man1/quillmere-cli.1.gz
#                     share/doc/quillmere-cli/  README.md, NEWS.md, LICENSE, docs/ (the
#                       guides and pictures the README links to, so every link holds),
#                       copyright (machine-readable) and changelog.gz
#                   (the deb under /usr, the tar.gz under its own top folder).
#   web preset:     quillmere-<version>-web.zip, the page's folder (index.html, its
#                   style sheet, icons, help page, app manifest and service worker)
#                   with README.md and LICENSE in quillmere-<version>-web/.
# scripts/release.sh builds them all and writes them with SHA256SUMS into dist/.

set(QUILLMERE_MAINTAINER "The Quillmere authors <authors@quillmere.invalid>"
    CACHE STRING "The Maintainer field of the Debian package, and the changelog's signer")

if(EMSCRIPTEN)
  # The site only; the companion built for node is not shipped.
  install(FILES ${QUILLMERE_SITE_OUTPUTS} DESTINATION .)
elseif(WIN32)
  install(TARGETS quillmere quillmere-cli RUNTIME DESTINATION .)
  install(FILES README.md NEWS.md LICENSE DESTINATION .)
  # The man page as the build wrote it, with the version; the rest of docs/ as it is.
  install(DIRECTORY docs/ DESTINATION docs PATTERN quillmere-cli.1 EXCLUDE)
  install(FILES "${QUILLMERE_MAN_PAGE}" DESTINATION docs)
else()
  include(cmake/DebianDocuments.cmake)
  set(QUILLMERE_DEBIAN_DIR "${PROJECT_BINARY_DIR}/debian-documents")
  file(MAKE_DIRECTORY "${QUILLMERE_DEBIAN_DIR}")
  quillmere_write_copyright("${QUILLMERE_DEBIAN_DIR}/copyright")
  quillmere_write_changelog("${QUILLMERE_DEBIAN_DIR}/changelog" quillmere-cli "${QUILLMERE_MAINTAINER}")
  quillmere_gzip("${QUILLMERE_DEBIAN_DIR}/changelog" "${QUILLMERE_DEBIAN_DIR}/changelog.gz")
  quillmere_gzip("${QUILLMERE_MAN_PAGE}" "${QUILLMERE_DEBIAN_DIR}/quillmere-cli.1.gz")

  set(QUILLMERE_DOC_DIR share/doc/quillmere-cli)
  install(TARGETS quillmere-cli RUNTIME DESTINATION bin)
  install(FILES README.md NEWS.md LICENSE "${QUILLMERE_DEBIAN_DIR}/copyright"
          "${QUILLMERE_DEBIAN_DIR}/changelog.gz" DESTINATION ${QUILLMERE_DOC_DIR})
  # The man page goes to man1, gzipped; the rest of docs/ beside the README.
  install(DIRECTORY docs/ DESTINATION ${QUILLMERE_DOC_DIR}/docs PATTERN quillmere-cli.1 EXCLUDE)
  install(FILES "${QUILLMERE_DEBIAN_DIR}/quillmere-cli.1.gz" DESTINATION share/man/man1)
  # Debian's hardening: the relocations read-only once the program is loaded, and
  # bound at start (lintian's hardening-no-relro); PIE is the compiler's default.
  target_link_options(quillmere-cli PRIVATE -Wl,-z,relro -Wl,-z,now)
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

  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # quillmere-cli_<version>_<arch>.deb
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLMERE_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The short description is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the long one,
  # in lines of at most 79 characters (CPack indents each by one, lintian allows 80).
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "quillmere-cli lists every baud-rate prescaler / BS1 / BS2 setting of the
bxCAN peripheral that meets a clock, a bit rate, a minimum sample point and an
allowed rate error, as a table, tab- or comma-separated lines, JSON or code to
paste. It gives the same rows as the Quillmere window for Windows, picks the
best setting, decodes a CAN_BTR value, and does the same for the FDCAN
peripheral's nominal and data phases.")
  quillmere_commit(QUILLMERE_PACKAGE_COMMIT "${PROJECT_SOURCE_DIR}")
  string(APPEND CPACK_DEBIAN_PACKAGE_DESCRIPTION "\n.\nBuilt from commit ${QUILLMERE_PACKAGE_COMMIT}.")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
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
