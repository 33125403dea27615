# Run by `cmake --install`: makes the folder that keeps the port choice, root-owned 0755, and in
# it the choice file, root:dialout 0664 holding COM1, unless a file is already there (a user's
# choice survives a reinstall). Every member of dialout can then change the choice, and nobody
# but root can create, delete or replace files in the folder. Only an install onto this machine
# makes it: one into a staging folder (DESTDIR, as a package build's) puts nothing outside the
# prefix, and the package's postinst makes the file where the package is installed.
if(DEFINED ENV{DESTDIR} AND NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(folder "/var/lib/zorvalit")
set(file "${folder}/zorvalit.cfg")
file(MAKE_DIRECTORY "${folder}")
file(CHMOD "${folder}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
     WORLD_READ WORLD_EXECUTE)
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
if(uid STREQUAL "0")
  execute_process(COMMAND chown root:root "${folder}")
endif()
if(EXISTS "${file}" OR IS_SYMLINK "${file}")
  message(STATUS "Kept: ${file}")
else()
  file(WRITE "${file}" "Serialport:COM1\n")
  file(CHMOD "${file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ GROUP_WRITE WORLD_READ)
  if(uid STREQUAL "0")
    execute_process(COMMAND chown root:dialout "${file}" RESULT_VARIABLE failed)
    if(failed)
      message(WARNING "No dialout group: ${file} stays root's alone")
    endif()
  endif()
  message(STATUS "Installing: ${file}")
endif()
