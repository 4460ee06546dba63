# The documents Debian's rules ask of a package, made at configure time from the
# tree's own files (Packaging.cmake installs them in every Linux package):
#   copyright       the licence in Debian's machine-readable format, from LICENSE;
#   changelog.gz    NEWS.md as a Debian changelog, one entry per version;
#   quillmere-cli.1.gz  the man page, as the build wrote it with the version.
# Both .gz files are gzip -9n: no name and no time in their header, so they are the
# same bytes on every machine. A change to LICENSE, NEWS.md or the man page configures
# the build again.

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  "${PROJECT_SOURCE_DIR}/LICENSE" "${PROJECT_SOURCE_DIR}/NEWS.md" "${PROJECT_SOURCE_DIR}/docs/quillmere-cli.1")

# "Wed, 09 Dec 2026 00:00:00 +0000" for 2026-12-09 (RFC 5322, as a changelog's
# trailer wants it). The weekday by Sakamoto's rule: 0 is Sunday.
function(quillmere_changelog_date out_var year month_text day_text)
  math(EXPR month "${month_text}")  # without a leading zero
  math(EXPR day "${day_text}")
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekday_name)
  list(GET months ${index} month_name)
  set(${out_var} "${weekday_name}, ${day_text} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

# DEP-5: the one paragraph for every file, the licence text as Debian's "Expat".
function(quillmere_write_copyright path)
  file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" lines)
  set(holder "")
  set(text "")
  set(body FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "^Copyright \\(c\\) (.*)$")
      set(holder "${CMAKE_MATCH_1}")
      continue()
    endif()
    if(line MATCHES "^Permission")
      set(body TRUE)
    endif()
    if(NOT body)
      continue()
    endif()
    if(line STREQUAL "")
      string(APPEND text " .\n")
    else()
      string(APPEND text " ${line}\n")
    endif()
  endforeach()
  if(holder STREQUAL "" OR text STREQUAL "")
    message(FATAL_ERROR "LICENSE: no \"Copyright (c) ...\" line or no licence text after it")
  endif()
  file(WRITE "${path}"
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: Quillmere\n"
    "Upstream-Contact: ${QUILLMERE_MAINTAINER}\n"
    "Source: ${PROJECT_HOMEPAGE_URL}\n"
    "\n"
    "Files: *\n"
    "Copyright: ${holder}\n"
    "License: Expat\n"
    "${text}")
endfunction()

# NEWS.md's "## VERSION" or "## VERSION (YYYY-MM-DD)" sections, with their "- " items
# and two-space continuation lines, as Debian changelog entries. An entry without a
# date is dated SOURCE_DATE_EPOCH (string(TIMESTAMP) reads it), or now. Entries of
# versions after the project's (news gathered for the next release) are left out: a
# package's changelog ends at its own version.
function(quillmere_write_changelog path package maintainer)
  file(STRINGS "${PROJECT_SOURCE_DIR}/NEWS.md" lines ENCODING UTF-8)
  set(out "")
  set(date "")
  set(ahead FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "^## ([0-9]+\\.[0-9]+\\.[0-9]+)( \\(([0-9]+)-([0-9]+)-([0-9]+)\\))?$"
       AND CMAKE_MATCH_1 VERSION_GREATER PROJECT_VERSION)
      set(ahead TRUE)
      continue()
    elseif(line MATCHES "^## ([0-9]+\\.[0-9]+\\.[0-9]+)( \\(([0-9]+)-([0-9]+)-([0-9]+)\\))?$")
      set(ahead FALSE)
      if(NOT date STREQUAL "")
        string(APPEND out "\n -- ${maintainer}  ${date}\n\n")
      endif()
      set(version "${CMAKE_MATCH_1}")
      if(CMAKE_MATCH_2)
        quillmere_changelog_date(date ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} ${CMAKE_MATCH_5})
      else()
        string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
      endif()
      string(APPEND out "${package} (${version}) unstable; urgency=medium\n\n")
    elseif(date STREQUAL "" OR ahead)
      continue()  # the words before the first version, or a later version's news
    elseif(line MATCHES "^- (.*)$")
      string(APPEND out "  * ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^  (.*)$")
      string(APPEND out "    ${CMAKE_MATCH_1}\n")
    elseif(NOT line STREQUAL "")
      message(FATAL_ERROR "NEWS.md: a line that is no item of a version: '${line}'")
    endif()
  endforeach()
  if(date STREQUAL "")
    message(FATAL_ERROR "NEWS.md: no \"## VERSION\" entry")
  endif()
  string(APPEND out "\n -- ${maintainer}  ${date}\n")
  file(WRITE "${path}" "${out}")
endfunction()

# source gzipped into target with gzip -9n.
function(quillmere_gzip source target)
  find_program(QUILLMERE_GZIP gzip REQUIRED)
  execute_process(COMMAND "${QUILLMERE_GZIP}" -9 -n -c "${source}" OUTPUT_FILE "${target}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip -9n ${source}: ${status}")
  endif()
endfunction()
