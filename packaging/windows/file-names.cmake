# Read by cpack for each generator: the installer is zorvalit-<version>-<architecture>-setup.exe,
# the portable archive zorvalit-<version>-<architecture>.zip (CPACK_PACKAGE_FILE_NAME).
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
