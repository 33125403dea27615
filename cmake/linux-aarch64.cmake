# Cross build for 64-bit ARM Linux from Debian (crossbuild-essential-arm64, qt6-base-dev:arm64).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(ZORVALIT_LINUX_TRIPLET aarch64-linux-gnu)
set(ZORVALIT_DEB_ARCH arm64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
