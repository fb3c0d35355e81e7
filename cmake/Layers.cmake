# Layers as build targets.
#
# A layer is one source folder built into one static library of
# position-independent code. Its headers are included by the folder's name
# ("util/DtString.h"), and only through the layer's own include root: a
# generated folder that holds nothing but a link of that name to the source
# folder. A target therefore sees "util/..." only when it links the util layer
# (directly or through a layer above it), so an include of a layer that is not
# below fails to compile, and a layer's link line names exactly the layers it
# may use.
#
#   qlx_layer(<target> FOLDER <source folder> INCLUDE_AS <name>
#             [USES <targets>...] [EXCLUDE <file names>...])
#
# Every .cpp file of the folder is compiled (new files are picked up when the
# build runs again); EXCLUDE names files that another target builds. A folder
# without code yet still gives a target, so that the layers above can link it
# and its first .cpp file needs no CMake change. USES are the targets linked
# publicly: the layers below and anything else the layer's headers expose.

# Makes ${CMAKE_BINARY_DIR}/include-roots/<owner>/<name> a link to <folder> and
# returns the folder that holds the link.
function(qlx_include_root out owner name folder)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${owner})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  set(${out} ${root} PARENT_SCOPE)
endfunction()

function(qlx_layer target)
  cmake_parse_arguments(ARG "" "FOLDER;INCLUDE_AS" "USES;EXCLUDE" ${ARGN})
  if(NOT ARG_FOLDER OR NOT ARG_INCLUDE_AS)
    message(FATAL_ERROR "qlx_layer(${target}) needs FOLDER and INCLUDE_AS")
  endif()
  qlx_collect_sources(${target}_sources ${ARG_FOLDER} EXCLUDE ${ARG_EXCLUDE})
  get_filename_component(folder ${ARG_FOLDER} ABSOLUTE)
  # A layer whose first file is still to come has no folder in a clone yet.
  file(MAKE_DIRECTORY ${folder})
  add_library(${target} STATIC ${${target}_sources})
  qlx_include_root(root ${target} ${ARG_INCLUDE_AS} ${folder})
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
  target_link_libraries(${target} PUBLIC ${ARG_USES})
  # Folded into shared libraries, which export only what is marked.
  set_target_properties(${target} PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  qlx_warnings(${target})
endfunction()

# The public headers of a folder (its *.hh files) as an interface target whose
# include root holds links to those files only, so that the folder's other
# headers stay out of reach of whoever links it.
function(qlx_public_headers target folder)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  file(GLOB headers CONFIGURE_DEPENDS ${folder}/*.hh)
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${root}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} INTERFACE $<BUILD_INTERFACE:${root}>)
endfunction()

# A shared library of the RTI: exports only what is marked, every symbol it
# uses must be defined by itself or by a library it links, it carries the
# RTI's version, and once installed it finds the libraries beside it.
function(qlx_shared_library target)
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    VERSION ${HLACORE_VERSION}
    SOVERSION ${HLACORE_SOVERSION}
    INSTALL_RPATH "$ORIGIN")
  target_link_options(${target} PRIVATE -Wl,--no-undefined)
  qlx_warnings(${target})
endfunction()
