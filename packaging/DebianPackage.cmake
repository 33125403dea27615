# The Debian package, built with `cpack -G DEB` in the build folder.
#
# qt/ installs the port-choice file from a script in its own component, PortChoiceFile. Under
# CPack that script would write the file into the package's staging tree; the package leaves
# that component out, and its postinst makes the file on the target machine instead.
get_cmake_property(components COMPONENTS)
if(NOT "PortChoiceFile" IN_LIST components)
  message(FATAL_ERROR "No install component PortChoiceFile: the package would ship the port-choice file")
endif()
list(REMOVE_ITEM components PortChoiceFile)
set(CPACK_COMPONENTS_ALL ${components})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvalit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Brightmoor Laboratory Instruments Ltd. <support@brightmoor.example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "frequency counter display for an RS-232 line")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_SOURCE_DIR}/debian/description)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# CPack names the build machine's architecture (dpkg --print-architecture); a cross build's
# package is for the one its toolchain file names.
if(CMAKE_CROSSCOMPILING AND ZORVALIT_DEB_ARCH)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${ZORVALIT_DEB_ARCH})
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zorvalit.example.org")
# The libraries come from dpkg-shlibdeps. Qt loads its platform plugins at run time, so
# dpkg-shlibdeps cannot see them: the X11 one is needed, and the fonts stand in for the window's.
# The program runs through XWayland where a Wayland session has it; Qt's Wayland plugin is for
# the sessions without.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-comic-neue, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_SOURCE_DIR}/debian/postinst
  ${CMAKE_CURRENT_SOURCE_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/source-date.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/installed-size.cmake)

include(CPack)
