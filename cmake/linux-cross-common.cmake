# What the Debian cross builds for ARM Linux share, whichever the architecture: the toolchain file
# sets ZORVALIT_LINUX_TRIPLET (aarch64-linux-gnu or arm-linux-gnueabihf) and
# CMAKE_SYSTEM_PROCESSOR, then includes this. The compilers are Debian's crossbuild-essential-*
# ones; the target's libraries (Qt 6 among them) are the foreign architecture's own packages,
# installed beside the build machine's in Debian's multiarch folders (/usr/lib/TRIPLET).
set(CMAKE_SYSTEM_NAME Linux)

set(CMAKE_C_COMPILER ${ZORVALIT_LINUX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${ZORVALIT_LINUX_TRIPLET}-g++)

# Multiarch: the target's libraries and CMake packages live in /usr/lib/TRIPLET, its headers in
# /usr/include/TRIPLET and /usr/include. Searching / for libraries, headers and packages finds
# them there and never in the build machine's /usr/lib/x86_64-linux-gnu; programs (Qt's moc, uic
# and rcc, which the target's Qt6*Tools packages name in /usr/lib/qt6/libexec) are the build
# machine's.
set(CMAKE_LIBRARY_ARCHITECTURE ${ZORVALIT_LINUX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config (which Qt's own find modules use for some of its dependencies) reads the target's .pc
# files only.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${ZORVALIT_LINUX_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
