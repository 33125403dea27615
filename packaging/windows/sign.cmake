# Signs the Windows executables with osslsigncode when a certificate is given, and does nothing
# when not. As CPack's pre-build script it signs zorvalit.exe in the staging folder, before the
# installer and the zip are made of it; as its post-build script, the installer itself.
# CPACK_ZORVALIT_SIGNING_CERTIFICATE: the code-signing certificate and its key, PKCS#12;
# CPACK_ZORVALIT_SIGNING_PASSWORD_FILE: a file holding its password.
if(NOT CPACK_ZORVALIT_SIGNING_CERTIFICATE)
  return()
endif()
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
if(DEFINED CPACK_PACKAGE_FILES)
  list(FILTER CPACK_PACKAGE_FILES INCLUDE REGEX "\\.exe$")
  set(unsigned ${CPACK_PACKAGE_FILES})
else()
  file(GLOB_RECURSE unsigned "${CPACK_TEMPORARY_DIRECTORY}/*.exe")
endif()
foreach(file IN LISTS unsigned)
  execute_process(
    COMMAND ${OSSLSIGNCODE} sign -pkcs12 ${CPACK_ZORVALIT_SIGNING_CERTIFICATE}
            -readpass ${CPACK_ZORVALIT_SIGNING_PASSWORD_FILE} -h sha256 -n Zorvalit -i ${CPACK_NSIS_URL_INFO_ABOUT}
            -in ${file} -out ${file}.signed
    COMMAND_ERROR_IS_FATAL ANY)
  file(RENAME ${file}.signed ${file})
  message(STATUS "Signed ${file}")
endforeach()
