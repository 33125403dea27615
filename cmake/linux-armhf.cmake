# Cross build for 32-bit ARM Linux, hard-float (ARMv7), from Debian (crossbuild-essential-armhf,
# qt6-base-dev:armhf).
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(ZORVALIT_LINUX_TRIPLET arm-linux-gnueabihf)
set(ZORVALIT_DEB_ARCH armhf)
# GCC notes at every std::vector iterator passed by value that GCC 7.1 changed how it passes them;
# everything here, Debian's libraries included, is built by one later GCC, so the note says nothing.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
