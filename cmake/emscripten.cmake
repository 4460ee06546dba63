# Builds the core and the companion for WebAssembly with Debian's emscripten (3.1.6),
# whose CMake platform file lies in /usr/share/emscripten. The programs run under node.
#
# emscripten's JavaScript tools load the acorn parser, which Debian keeps in
# /usr/share/nodejs; a node that is not Debian's own (node 20 from NodeSource, say) does
# not look there. NODE_PATH is set here for the configure step and for every link, so
# no one's shell needs it.
set(QUILLMERE_NODE_PATH /usr/share/nodejs)
set(ENV{NODE_PATH} ${QUILLMERE_NODE_PATH})
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${QUILLMERE_NODE_PATH})
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${QUILLMERE_NODE_PATH})

find_file(QUILLMERE_EMSCRIPTEN_PLATFORM Emscripten.cmake
  PATHS /usr/share/emscripten/cmake/Modules/Platform /usr/lib/emscripten/cmake/Modules/Platform
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
  DOC "emscripten's CMake platform file")
if(NOT QUILLMERE_EMSCRIPTEN_PLATFORM)
  message(FATAL_ERROR "emscripten's Emscripten.cmake was not found: install Debian's emscripten "
                      "package (scripts/install-deps.sh) or set QUILLMERE_EMSCRIPTEN_PLATFORM.")
endif()
include(${QUILLMERE_EMSCRIPTEN_PLATFORM})
