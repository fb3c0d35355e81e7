# The RTI's version, written once: RTI_VERSION in the public RTItypes.hh (the
# text federates and the banner see). The shared libraries and the packages
# carry it; the SOVERSION is its major number.
file(STRINGS ${CMAKE_SOURCE_DIR}/rti/api/RTItypes.hh version_line
     REGEX "^#define RTI_VERSION \"[0-9]+\\.[0-9]+\\.[0-9]+\"$")
if(NOT version_line MATCHES "\"(([0-9]+)\\.[0-9]+\\.[0-9]+)\"")
  message(FATAL_ERROR "rti/api/RTItypes.hh defines no RTI_VERSION \"major.minor.patch\"")
endif()
set(HLACORE_VERSION ${CMAKE_MATCH_1})
set(HLACORE_SOVERSION ${CMAKE_MATCH_2})
