# The include check refuses an include that climbs out of its layer: a
# scratch copy of the RTI's sources passes it, and fails it, naming the file
# and line, once a net file includes "../core/DtFederateMgr.h".
#
#   cmake -DSOURCE=<source root> -DSCRATCH=<folder> -P PlantedInclude.cmake
set(check ${SOURCE}/cmake/CheckLayerIncludes.cmake)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
file(COPY ${SOURCE}/rti DESTINATION ${SCRATCH})

execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${SCRATCH} -DFOLDERS=rti -P ${check}
                RESULT_VARIABLE clean OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT clean EQUAL 0)
  message(FATAL_ERROR "the copy as it stands fails the check:\n${out}")
endif()

set(planted ${SCRATCH}/rti/net/DtSocket.cpp)
file(READ ${planted} text)
string(REGEX MATCHALL "\n" ends "${text}")
list(LENGTH ends count)
math(EXPR line "${count} + 1")
file(APPEND ${planted} "#include \"../core/DtFederateMgr.h\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${SCRATCH} -DFOLDERS=rti -P ${check}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
string(REPLACE "\n  " " " flat "${out}")
if(result EQUAL 0 OR NOT flat MATCHES "rti/net/DtSocket.cpp:${line}: #include \"../core/DtFederateMgr.h\" climbs out")
  message(FATAL_ERROR "the planted include at line ${line} was not refused as it should be:\n${out}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
message(STATUS "the planted include was refused at rti/net/DtSocket.cpp:${line}")
