# Installing libhlacore (component "hlacore"): what a federate's developer
# needs, under GNUInstallDirs.
#   include/hlacore/    the public HLA 1.3 headers (a federate includes <RTI.hh>),
#                       the extension functions (<DtRtiExtensions.hh>) and a
#                       plug-in's headers (<DtRtiPlugin.h>, which includes
#                       api/, core/, port/ and util/ headers below it)
#   lib/                libhlacore.so and libhlatime.so with their versions
#   lib/cmake/hlacore/  find_package(hlacore): hlacore::hlacore brings the
#                       headers and both libraries; hlacore::hlatime alone
#                       the time library; hlacore_CONFIG_DIR the examples
#   lib/pkgconfig/      hlacore.pc (requires hlatime.pc)
#   share/hlacore/      rid.mtl and sample.fed: point RTI_CONFIG here, where
#                       the RTI looks for rid.mtl and for FED files
include(CMakePackageConfigHelpers)

set(HLACORE_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/hlacore)
set(HLACORE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/hlacore)
set(HLACORE_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(HLACORE_CONFIG_DIR ${CMAKE_INSTALL_DATADIR}/hlacore)

target_include_directories(hla_headers INTERFACE $<INSTALL_INTERFACE:${HLACORE_INCLUDE_DIR}>)
set_target_properties(hla_headers PROPERTIES EXPORT_NAME headers)

install(TARGETS hla_headers hlacore hlatime EXPORT hlacoreTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT hlacore NAMELINK_COMPONENT hlacore)
file(GLOB HLACORE_PUBLIC_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/rti/api/*.hh)
install(FILES ${HLACORE_PUBLIC_HEADERS} DESTINATION ${HLACORE_INCLUDE_DIR} COMPONENT hlacore)
# A plug-in's headers: <DtRtiPlugin.h> and those it includes by folder.
install(FILES ${CMAKE_SOURCE_DIR}/rti/core/DtRtiPlugin.h DESTINATION ${HLACORE_INCLUDE_DIR} COMPONENT hlacore)
foreach(header ${HLACORE_PLUGIN_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${CMAKE_SOURCE_DIR}/rti/${header} DESTINATION ${HLACORE_INCLUDE_DIR}/${folder} COMPONENT hlacore)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/rti/config/rid.mtl ${CMAKE_SOURCE_DIR}/rti/config/sample.fed
  DESTINATION ${HLACORE_CONFIG_DIR} COMPONENT hlacore)

install(EXPORT hlacoreTargets NAMESPACE hlacore:: DESTINATION ${HLACORE_CMAKE_DIR} COMPONENT hlacore)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/hlacoreConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/hlacoreConfig.cmake
  INSTALL_DESTINATION ${HLACORE_CMAKE_DIR}
  PATH_VARS HLACORE_CONFIG_DIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/hlacoreConfigVersion.cmake
  VERSION ${HLACORE_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/hlacoreConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/hlacoreConfigVersion.cmake
  DESTINATION ${HLACORE_CMAKE_DIR} COMPONENT hlacore)

# The pkg-config files find their prefix from where they lie, so that an
# installation moved or made with "cmake --install --prefix" stays right.
if(IS_ABSOLUTE ${CMAKE_INSTALL_LIBDIR})
  set(HLACORE_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
else()
  file(RELATIVE_PATH up /root/${HLACORE_PKGCONFIG_DIR} /root)
  string(REGEX REPLACE "/$" "" up ${up})
  set(HLACORE_PC_PREFIX "\${pcfiledir}/${up}")
endif()
foreach(pc hlacore hlatime)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/${pc}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc DESTINATION ${HLACORE_PKGCONFIG_DIR} COMPONENT hlacore)
endforeach()
