# Read by cpack for each generator: the installer is zorvalit-<version>-setup.exe, the portable
# archive zorvalit-<version>-win64.zip.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "zorvalit-${CPACK_PACKAGE_VERSION}-setup")
endif()
