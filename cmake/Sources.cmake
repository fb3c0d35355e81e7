# Collects the .cpp files of the given folders (relative to the current source
# folder), less the file names listed after EXCLUDE. A layer that has no code
# yet contributes nothing; a target whose folders are all empty still builds,
# from a generated empty file, so that every issue lands on a working build.
function(qlx_collect_sources out)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  set(sources)
  foreach(dir ${ARG_UNPARSED_ARGUMENTS})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    foreach(name ${ARG_EXCLUDE})
      list(REMOVE_ITEM found ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/${name})
    endforeach()
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    set(empty ${CMAKE_CURRENT_BINARY_DIR}/${out}_empty.cpp)
    file(WRITE ${empty} "// nothing here yet\n")
    set(sources ${empty})
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
