# What `cmake --install` puts under the prefix for people writing their own host
# programs: the driver module with the (simulated) vendor runtime it needs, the
# host libraries, the host-application API with its headers, the tools, a CMake
# package (find_package(Orvento)) and a pkg-config file (orvento.pc).
#
#   PREFIX/lib             ORSisoMe.xvd, siso_genicam.dll, libfglib5.so, libgbelib.so,
#                          libORBase_v1_2.so, libORCImg.so, libORGenApi.so,
#                          libORCUtilities.so, libORHostApp.a, liborv_platform.a
#   PREFIX/include         ORV/, ORBase/, ORCImg/, ORGenApi/, ORCUtilities/, ORHost/,
#                          platform/
#   PREFIX/bin             orvgrab, orvlogsvc
#   PREFIX/lib/cmake/Orvento, PREFIX/lib/pkgconfig/orvento.pc
include(GNUInstallDirs)

set(ORV_INSTALL_LIBRARIES ORBase_v1_2 ORCImg ORGenApi ORCUtilities fglib5 gbelib)
install(TARGETS ${ORV_INSTALL_LIBRARIES} ORHostApp orv_platform
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The module and the GenICam library are loaded by path, not linked.
install(TARGETS ORSisoMe siso_genicam LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS orvgrab orvlogsvc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/ORV ${CMAKE_SOURCE_DIR}/host/include/
                  ${CMAKE_SOURCE_DIR}/platform/include/platform
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")

include(CMakePackageConfigHelpers)
set(ORV_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Orvento)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/OrventoConfig.cmake.in
  ${CMAKE_BINARY_DIR}/package/OrventoConfig.cmake
  INSTALL_DESTINATION ${ORV_PACKAGE_DIR}
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_LIBDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/OrventoConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/OrventoConfig.cmake
              ${CMAKE_BINARY_DIR}/package/OrventoConfigVersion.cmake
  DESTINATION ${ORV_PACKAGE_DIR})

# pkg-config: the prefix is worked out from the file's own place, so a staged or
# moved installation still works.
configure_file(${CMAKE_SOURCE_DIR}/cmake/orvento.pc.in ${CMAKE_BINARY_DIR}/package/orvento.pc
  @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/orvento.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
