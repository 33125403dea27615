# Cross build for 32-bit Windows from Debian with MinGW-w64 (g++-mingw-w64-i686-posix).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZORVALIT_MINGW_TRIPLET i686-w64-mingw32)
# Large-address aware: 4 GiB of address space on 64-bit Windows instead of 2, which also gives ASLR
# more room. The linker asks for ASLR and DEP (dynamic base, NX) by default.
set(ZORVALIT_MINGW_LINKER_FLAGS -Wl,--large-address-aware)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
