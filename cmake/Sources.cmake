# Collects the .cpp files of the given folders (relative to the current source
# folder). A layer that has no code yet contributes nothing; a target whose
# folders are all empty still builds, from a generated empty file, so that
# every issue lands on a working build.
function(qlx_collect_sources out)
  set(sources)
  foreach(dir ${ARGN})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    set(empty ${CMAKE_CURRENT_BINARY_DIR}/${out}_empty.cpp)
    file(WRITE ${empty} "// nothing here yet\n")
    set(sources ${empty})
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
