# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads, which Qt's threading
# and C++20's <thread> need). Used both for Qt itself and for Hangar.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# Libraries and headers come from the mingw sysroot and the static Qt (given as CMAKE_PREFIX_PATH);
# programs (moc, rcc, uic) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Wine runs the cross-built programs where CMake or ctest must run one.
find_program(HANGAR_WINE NAMES wine wine64)
if(HANGAR_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${HANGAR_WINE})
endif()
