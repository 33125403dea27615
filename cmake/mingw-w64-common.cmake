# What the MinGW-w64 cross builds share, whichever the architecture: the toolchain file sets
# ZORVALIT_MINGW_TRIPLET (x86_64-w64-mingw32 or i686-w64-mingw32), CMAKE_SYSTEM_PROCESSOR and
# any linker flags of its own (ZORVALIT_MINGW_LINKER_FLAGS), then includes this. The posix-threads compilers of Debian's g++-mingw-w64-*-posix are used.
# Everything links statically, so the executables need only the DLLs that every Windows has.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ZORVALIT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZORVALIT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZORVALIT_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZORVALIT_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ ${ZORVALIT_MINGW_LINKER_FLAGS}")
