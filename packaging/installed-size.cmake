# CPack's post-build script for the Debian package: gives it the Installed-Size that
# dpkg-gencontrol would, each file's size rounded up to a KiB and a KiB for each folder or link.
# CPack adds up the sizes that the file system reports, folders' included, and those differ
# between file systems, so the same package would differ from machine to machine. dpkg-deb packs
# the package again from its own contents: names in order, owned by root, at SOURCE_DATE_EPOCH.
set(debs ${CPACK_PACKAGE_FILES})
list(FILTER debs INCLUDE REGEX "\\.deb$")
foreach(deb IN LISTS debs)
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/installed-size)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${tree} ${tree}/*)
  list(FILTER entries EXCLUDE REGEX "^DEBIAN(/|$)")
  set(kib 0)
  foreach(entry IN LISTS entries)
    if(IS_SYMLINK ${tree}/${entry} OR IS_DIRECTORY ${tree}/${entry})
      math(EXPR kib "${kib} + 1")
    else()
      file(SIZE ${tree}/${entry} bytes)
      math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
    endif()
  endforeach()
  file(READ ${tree}/DEBIAN/control control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n" control "${control}")
  file(WRITE ${tree}/DEBIAN/control "${control}")
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build ${tree} ${deb}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
