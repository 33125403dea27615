# Debian's hardening flags for every optimised Linux build, as this release's dpkg-buildflags gives
# them: the flags that hardening=+all adds over hardening=-all. Debian 12 gives format checks, a
# stack protector, fortified libc calls, and relocations read-only after binding them all at start
# (relro, now); Debian 13 adds stack clash protection and control-flow protection (CET). The
# compiler makes PIE by default. Fortify needs optimisation, so Debug builds go without it, and so
# do sanitizer builds (the fuzzers), whose checks would miss the fortified variants of the calls
# they watch.

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  message(FATAL_ERROR "dpkg-buildflags (package dpkg-dev) gives the hardening flags; ./dev.sh installs it")
endif()

# A cross build takes the flags of the architecture it builds for (its toolchain file names it in
# ZORVALIT_DEB_ARCH): they differ per architecture from Debian 13 on (x86's control-flow
# protection, AArch64's branch protection), and the compiler refuses another architecture's.
set(target_architecture)
if(CMAKE_CROSSCOMPILING AND ZORVALIT_DEB_ARCH)
  set(target_architecture DEB_HOST_ARCH=${ZORVALIT_DEB_ARCH})
endif()

# The flags of KIND (CPPFLAGS, CXXFLAGS, LDFLAGS) that hardening=+all adds, in OUT.
function(debian_hardening_flags kind out)
  foreach(setting +all -all)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env ${target_architecture} DEB_BUILD_MAINT_OPTIONS=hardening=${setting}
              ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(APPEND flags${setting} ${flags})
  endforeach()
  if(flags-all)
    list(REMOVE_ITEM flags+all ${flags-all})
  endif()
  set(${out} ${flags+all} PARENT_SCOPE)
endfunction()

debian_hardening_flags(CPPFLAGS cppflags)
debian_hardening_flags(CXXFLAGS cxxflags)
debian_hardening_flags(LDFLAGS ldflags)
if(CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  list(FILTER cppflags EXCLUDE REGEX "_FORTIFY_SOURCE")
endif()
string(JOIN " " shown ${cppflags} ${cxxflags} ${ldflags})
message(STATUS "Hardening of optimised builds: ${shown}")

set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
foreach(flag IN LISTS cppflags cxxflags)
  add_compile_options($<${optimised}:${flag}>)
endforeach()
foreach(flag IN LISTS ldflags)
  add_link_options($<${optimised}:${flag}>)
endforeach()
