# The source sets, each listed once in cmake/sources/<set>.txt and read by every build: the
# Linux and Windows CMake builds, the MinGW-w64 compile check (a script) and setup.py.
# A list holds one path or glob pattern a line, relative to the repository root; lines starting
# with '#' are comments.
set(QUILLET_SOURCE_LISTS ${CMAKE_CURRENT_LIST_DIR}/sources)
get_filename_component(QUILLET_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)

# quillet_sources(<variable> <set>...): the absolute paths of the sets' sources, in list order,
# each pattern's matches sorted.
function(quillet_sources variable)
  set(sources "")
  foreach(set IN LISTS ARGN)
    set(list_file ${QUILLET_SOURCE_LISTS}/${set}.txt)
    if(NOT EXISTS ${list_file})
      message(FATAL_ERROR "No source set \"${set}\" (${list_file})")
    endif()
    file(STRINGS ${list_file} patterns REGEX "^[^#]")
    # A project re-globs when a folder changes and re-reads the list when it changes; a script
    # (the MinGW-w64 check) reads both afresh on every run.
    if(CMAKE_SCRIPT_MODE_FILE)
      set(configure_depends "")
    else()
      set(configure_depends CONFIGURE_DEPENDS)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
    endif()
    foreach(pattern IN LISTS patterns)
      file(GLOB found ${configure_depends} ${QUILLET_SOURCE_ROOT}/${pattern})
      list(APPEND sources ${found})
    endforeach()
  endforeach()
  set(${variable} ${sources} PARENT_SCOPE)
endfunction()
