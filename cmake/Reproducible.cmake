# Builds that give the same bytes wherever and whenever they run: two checkouts of one
# commit in different folders, built at different times, make identical programs.
#
# Build paths: __FILE__ and debug information name files relative to the source tree.
# The build tree is mapped as well when it lies outside the source tree.
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.")
cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${PROJECT_BINARY_DIR}" QUILLMERE_BUILD_IN_SOURCE)
if(NOT QUILLMERE_BUILD_IN_SOURCE)
  add_compile_options("-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
endif()

if(WIN32)
  # The PE header's link time: left zero, as in a build from no particular moment.
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# Installed folders get the same permissions whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
