# Installing: the runtime's library and headers, the control library where the runtime
# looks for control libraries, the programs, a CMake package and a pkg-config file; and a
# Debian package made from the same rules (cpack -G DEB).
include(CMakePackageConfigHelpers)

set(SCROLLBAY_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Scrollbay)
set(SCROLLBAY_INSTALL_FORMSDIR ${CMAKE_INSTALL_DATADIR}/scrollbay/forms)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/runtime/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(EXPORT ScrollbayTargets NAMESPACE Scrollbay:: DESTINATION ${SCROLLBAY_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ScrollbayConfig.cmake.in ${PROJECT_BINARY_DIR}/ScrollbayConfig.cmake
                              INSTALL_DESTINATION ${SCROLLBAY_INSTALL_CMAKEDIR}
                              PATH_VARS CMAKE_INSTALL_LIBDIR CMAKE_INSTALL_INCLUDEDIR SCROLLBAY_INSTALL_FORMSDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ScrollbayConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ScrollbayConfig.cmake ${PROJECT_BINARY_DIR}/ScrollbayConfigVersion.cmake
        DESTINATION ${SCROLLBAY_INSTALL_CMAKEDIR})
# The pkg-config file finds the prefix from its own folder, as the CMake package does, so
# an install under any --prefix (or moved, or staged) points at itself. Folders given as
# absolute paths stay as they are.
set(SCROLLBAY_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
if(NOT IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  file(RELATIVE_PATH pc_up /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
  string(REGEX REPLACE "/$" "" pc_up "${pc_up}")
  set(SCROLLBAY_PC_PREFIX "\${pcfiledir}/${pc_up}")
endif()
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(SCROLLBAY_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(SCROLLBAY_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/scrollbay.pc.in ${PROJECT_BINARY_DIR}/scrollbay.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/scrollbay.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scrollbay)
set(CPACK_PACKAGE_VENDOR "Scrollbay developers")
set(CPACK_PACKAGE_CONTACT "Scrollbay developers <scrollbay@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Scrollable viewport control and its form runtime on Qt 6 Widgets")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
# The shared libraries' own dependencies (Qt 6, the C++ runtime) from dpkg-shlibdeps,
# and what a program built against the headers needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-base-dev, libgl-dev")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
# The runtime looks for control libraries where this build installs them.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
include(CPack)
