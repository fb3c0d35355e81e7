# Refuses an include that climbs out of its layer with "..": a layer reaches
# another only through the include roots of the layers it links
# ("util/DtString.h"), so that the build files show every dependency; a
# relative path past its own folder would reach any layer unseen.
#
#   cmake -DROOT=<source root> -DFOLDERS=<folder,...> -P CheckLayerIncludes.cmake
#
# Looks at every .h, .hh, .hpp and .cpp file below each folder of ROOT and
# fails, naming each file and line, when an #include's path has a ".."
# part. Prints nothing when all is well.
if(NOT ROOT OR NOT FOLDERS)
  message(FATAL_ERROR "CheckLayerIncludes.cmake needs ROOT and FOLDERS")
endif()
string(REPLACE "," ";" FOLDERS "${FOLDERS}")

# The path of the line's #include when it has a ".." part, else empty.
function(qlx_climbing_path out line)
  set(path "")
  if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)")
    set(included "${CMAKE_MATCH_1}")
    if(included MATCHES "(^|/)\\.\\.(/|$)")
      set(path "${included}")
    endif()
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

set(climbing)
foreach(folder ${FOLDERS})
  file(GLOB_RECURSE files LIST_DIRECTORIES false
       ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.hh ${ROOT}/${folder}/*.hpp ${ROOT}/${folder}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
    if(NOT includes)
      continue()
    endif()
    # Most files climb nowhere; only one that does is read again for the
    # line numbers.
    set(climbs FALSE)
    foreach(line IN LISTS includes)
      qlx_climbing_path(path "${line}")
      if(path)
        set(climbs TRUE)
      endif()
    endforeach()
    if(NOT climbs)
      continue()
    endif()
    # One list element per line: the characters that would split or join
    # list elements are put aside first (no include path holds them).
    file(READ ${file} text)
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REPLACE "[" "<open>" text "${text}")
    string(REPLACE "]" "<close>" text "${text}")
    string(REPLACE "\\" "<backslash>" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    file(RELATIVE_PATH shown ${ROOT} ${file})
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      qlx_climbing_path(path "${line}")
      if(path)
        list(APPEND climbing "${shown}:${number}: #include \"${path}\" climbs out of its layer")
      endif()
    endforeach()
  endforeach()
endforeach()

if(climbing)
  list(JOIN climbing "\n" text)
  message(FATAL_ERROR "${text}\nA layer includes the layers it links by their folder (\"util/DtString.h\"), "
                      "never by a path with \"..\".")
endif()
