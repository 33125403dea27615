# The Windows installer (NSIS) and portable zip, built on Linux with `cpack` in a Windows build
# folder: makensis from Debian's nsis writes zorvalit-<version>-<architecture>-setup.exe, and ZIP
# writes zorvalit-<version>-<architecture>.zip, the architecture being win64 or win32 as the
# build's toolchain is. Both hold zorvalit.exe, README.txt and LICENSE.txt, nothing else: the
# program is linked statically and needs only the system's DLLs.
install(TARGETS zorvalit RUNTIME DESTINATION .)
# README.txt, made from README.md for a Windows user, and the licence, both with CR LF line ends
# so that Notepad on Windows 7 shows their lines; .txt, so that a double click opens them.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(readme_txt ${PROJECT_BINARY_DIR}/package/README.txt)
add_custom_command(OUTPUT ${readme_txt}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/windows/readme-txt.py ${PROJECT_SOURCE_DIR}/README.md ${readme_txt}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/windows/readme-txt.py ${PROJECT_SOURCE_DIR}/README.md
  VERBATIM)
add_custom_target(zorvalit_readme_txt ALL DEPENDS ${readme_txt})
add_dependencies(zorvalit zorvalit_readme_txt)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/package/LICENSE.txt NEWLINE_STYLE CRLF)
install(FILES ${readme_txt} ${PROJECT_BINARY_DIR}/package/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME zorvalit)
set(CPACK_PACKAGE_VENDOR "Brightmoor Laboratory Instruments Ltd.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "frequency counter display for an RS-232 line")
set(CPACK_PACKAGE_FILE_NAME zorvalit-${PROJECT_VERSION}-${ZORVALIT_WINDOWS_ARCHITECTURE})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/windows/file-names.cmake)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Zorvalit)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Zorvalit)
set(CPACK_STRIP_FILES ON)
# The NSIS snippets below hold backslashes and quotes that must reach makensis unchanged.
set(CPACK_VERBATIM_VARIABLES ON)

# The installer's script is packaging/windows/NSIS.template.in, in place of CPack's own.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
# 64-bit and 32-bit Zorvalit may both be installed on 64-bit Windows, each in its own Program
# Files folder and registry view: their Start-menu shortcuts and Add/Remove Programs entries carry
# different names so that the two can be told apart.
if(ZORVALIT_WINDOWS_ARCHITECTURE STREQUAL win64)
  set(CPACK_NSIS_DISPLAY_NAME Zorvalit)
else()
  set(CPACK_NSIS_DISPLAY_NAME "Zorvalit (32-bit)")
endif()
set(CPACK_NSIS_PACKAGE_NAME ${CPACK_NSIS_DISPLAY_NAME})
set(CPACK_ZORVALIT_COPYRIGHT "${ZORVALIT_COPYRIGHT}")
set(CPACK_ZORVALIT_PRODUCT_VERSION "${ZORVALIT_PRODUCT_VERSION}")
# Each installer is of its program's architecture, so that its file-system and registry views
# are the program's own: the 64-bit one puts the program in "C:\Program Files" and its uninstall
# entry in the 64-bit registry, and cannot start on 32-bit Windows; the 32-bit one uses the
# 32-bit views, which are the native ones on 32-bit Windows and "C:\Program Files (x86)" and
# the 32-bit registry on 64-bit Windows. $PROGRAMFILES is the installer's own, in both. Not
# $PROGRAMFILES64: CPack's script reaches the Target line only after makensis has fixed what that
# name means for a 32-bit installer, so that the 64-bit installer read it as "Program Files (x86)".
if(ZORVALIT_WINDOWS_ARCHITECTURE STREQUAL win64)
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
else()
  set(CPACK_NSIS_DEFINES "Target x86-unicode")
endif()
# The installer keeps no file's time: CPack writes some of the files it packs (its page settings)
# at the moment of packing, which would make every installer different. Installed files get the
# time of installing.
string(APPEND CPACK_NSIS_DEFINES "\nSetDateSave off")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
set(CPACK_NSIS_MUI_ICON ${ZORVALIT_WINDOWS_ICON})
set(CPACK_NSIS_MUI_UNIICON ${ZORVALIT_WINDOWS_ICON})
set(CPACK_NSIS_CONTACT "support@brightmoor.example.com")
set(CPACK_NSIS_URL_INFO_ABOUT "https://zorvalit.example.org")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# Comes first in the installer and the uninstaller. An upgrade writes over the files in place.
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "!include \"${CMAKE_CURRENT_LIST_DIR}/windows/close-running-program.nsh\"")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "${CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS}")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS
  "!include \"${CMAKE_CURRENT_LIST_DIR}/windows/port-choice-file.nsh\"")

# Code signing, for a release: with a certificate, osslsigncode signs the program before it is
# packed and the installer once it is made (see windows/sign.cmake). Without one, nothing is signed.
set(ZORVALIT_SIGNING_CERTIFICATE "" CACHE FILEPATH "Code-signing certificate and key (PKCS#12) for the Windows packages")
set(ZORVALIT_SIGNING_PASSWORD_FILE "" CACHE FILEPATH "File holding the signing certificate's password")
set(CPACK_ZORVALIT_SIGNING_CERTIFICATE "${ZORVALIT_SIGNING_CERTIFICATE}")
set(CPACK_ZORVALIT_SIGNING_PASSWORD_FILE "${ZORVALIT_SIGNING_PASSWORD_FILE}")
# Signing changes the program's file, so its time is set afterwards.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/windows/sign.cmake ${CMAKE_CURRENT_LIST_DIR}/source-date.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/windows/sign.cmake ${CMAKE_CURRENT_LIST_DIR}/windows/zip-in-order.cmake)
# CPack lists the installer's files, like the zip's, in the order the file system gives.
set(CPACK_NSIS_EXECUTABLE ${CMAKE_CURRENT_LIST_DIR}/windows/makensis-in-order.sh)

include(CPack)
