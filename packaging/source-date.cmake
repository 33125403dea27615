# CPack's pre-build script for every package: gives each file and folder in the staging tree the
# time SOURCE_DATE_EPOCH (the commit's, from dev.sh) and each folder the mode 0755, so that the
# archives hold neither the moment nor the umask of the build. Without the variable it does nothing.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
execute_process(
  COMMAND find ${CPACK_TEMPORARY_DIRECTORY} -type d -exec chmod 0755 {} +
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND find ${CPACK_TEMPORARY_DIRECTORY} -exec touch -h -d @$ENV{SOURCE_DATE_EPOCH} {} +
  COMMAND_ERROR_IS_FATAL ANY)
