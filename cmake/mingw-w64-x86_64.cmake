# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads
# flavour, whose C++ runtime has std::thread and std::mutex).
# Usage: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
# Libraries built for Windows (Qt, GoogleTest) are found through
# CMAKE_PREFIX_PATH; nothing is taken from the Linux system's own prefix.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(XPCALC_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${XPCALC_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${XPCALC_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${XPCALC_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${XPCALC_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${XPCALC_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "Archive indexer")

# Headers, libraries and CMake packages come from the MinGW sysroot and the
# prefixes given on the command line; build tools come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${XPCALC_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
