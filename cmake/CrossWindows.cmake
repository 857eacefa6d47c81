# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# A build for Windows on Linux (cmake/mingw-w64-x86_64.cmake) takes from the
# host what Debian packages only for Linux: fast_float's headers, GoogleTest's
# sources, and Wine to run the tests. A prefix given in CMAKE_PREFIX_PATH that
# holds them for Windows takes precedence.

# fast_float is header-only, so the host's headers serve Windows too; but the
# host's include folder itself must not be searched, or its C library headers
# would shadow MinGW's. The build gets a folder holding fast_float alone.
find_path(FAST_FLOAT_INCLUDE_DIR fast_float/fast_float.h)
if(NOT FAST_FLOAT_INCLUDE_DIR)
    find_path(XPCALC_HOST_FAST_FLOAT_DIR fast_float/fast_float.h PATHS /usr/local/include /usr/include
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(XPCALC_HOST_FAST_FLOAT_DIR)
        set(headers ${CMAKE_BINARY_DIR}/host-headers)
        file(MAKE_DIRECTORY ${headers})
        file(CREATE_LINK ${XPCALC_HOST_FAST_FLOAT_DIR}/fast_float ${headers}/fast_float SYMBOLIC)
        set(FAST_FLOAT_INCLUDE_DIR ${headers} CACHE PATH "fast_float's headers" FORCE)
    endif()
endif()

# Tests run under Wine, in a prefix of the build's own (see wine_run.sh).
if(XPCALC_TESTS AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(XPCALC_WINE wine)
    if(XPCALC_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh ${CMAKE_BINARY_DIR}/wineprefix)
    else()
        xpcalc_check_unavailable("The tests of the Windows build" wine wine)
    endif()
endif()

# GoogleTest for Windows, built with the tests from the sources Debian ships
# (package googletest, which libgtest-dev brings), unless a Windows prefix
# has it. Sets `found_var` to whether GTest::gtest_main is there.
function(xpcalc_googletest_for_windows found_var)
    find_package(GTest QUIET)
    set(source /usr/src/googletest)
    if(NOT GTest_FOUND AND EXISTS ${source}/CMakeLists.txt)
        # GoogleTest's options take the values set here, not their defaults.
        set(CMAKE_POLICY_DEFAULT_CMP0077 NEW)
        set(BUILD_GMOCK OFF)
        set(INSTALL_GTEST OFF)
        # Built with the policies of its own day, under which IPO is ignored.
        set(CMAKE_INTERPROCEDURAL_OPTIMIZATION OFF)
        # SYSTEM: its headers are held to GoogleTest's warnings, not ours.
        add_subdirectory(${source} ${CMAKE_BINARY_DIR}/googletest-windows EXCLUDE_FROM_ALL SYSTEM)
    endif()
    if(TARGET GTest::gtest_main)
        set(${found_var} TRUE PARENT_SCOPE)
    else()
        set(${found_var} FALSE PARENT_SCOPE)
        xpcalc_check_unavailable("The core tests" "GoogleTest for Windows or its sources" googletest)
    endif()
endfunction()
