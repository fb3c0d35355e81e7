# Checks that a shared library of the RTI exports only its interface: the
# HLA 1.3 API (namespace RTI and RTIfedTime, with their type information) and
# the documented extensions, besides what the standard library's templates
# and the sanitizers' runtimes put there. Lists every other defined dynamic
# symbol and fails.
#   cmake -DLIBRARY=<path> -P ExportedSymbols.cmake
if(NOT LIBRARY)
  message(FATAL_ERROR "LIBRARY names the shared library to check")
endif()

# Classes of the documented extensions (exported with RTI_EXPORT or DT_EXPORT);
# the rtiexec program hosts DtRtiExec and makes its RID parameters.
set(extensions DtFedAmbWrapper DtRtiAmbassadorImplementor DtRtiAmbassadorObserver
               DtRtiAmbObserverList DtReadFileDescriptor RtReadFileDescriptor DtReadFileEvent
               DtRtiExecConnectionLost
               setRtiNotifyLevel DtRtiExec DtRIDParameters)
# What a plug-in's observers and wrappers need besides: the names they are
# filed under and the base of the observers.
list(APPEND extensions DtString DtListMember)

list(JOIN extensions "|" extension_names)
set(allowed
  "^((typeinfo name|typeinfo|vtable|VTT|guard variable) for )?(RTI|RTIfedTime|${extension_names})(::|\\(|$)"
  "^([A-Za-z_:<>, *&]+ )?std::"            # instances of standard templates
  "^(__odr_asan|__asan|__ubsan|__tsan|__sanitizer)"
  "^(_init|_fini|_edata|_end|__bss_start)$")

execute_process(COMMAND nm -D --defined-only -C ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(count 0)
set(unexpected)
foreach(line ${lines})
  # "<address> <type> <name>"
  if(NOT line MATCHES "^[0-9a-f]+ [A-Za-z] (.+)$")
    continue()
  endif()
  set(symbol "${CMAKE_MATCH_1}")
  math(EXPR count "${count} + 1")
  set(ok FALSE)
  foreach(pattern ${allowed})
    if(symbol MATCHES "${pattern}")
      set(ok TRUE)
      break()
    endif()
  endforeach()
  if(NOT ok)
    list(APPEND unexpected "${symbol}")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${LIBRARY} exports nothing")
endif()
if(unexpected)
  list(JOIN unexpected "\n  " text)
  message(FATAL_ERROR "${LIBRARY} exports symbols outside its interface:\n  ${text}")
endif()
message(STATUS "${LIBRARY}: ${count} exported symbols, all of the interface")
