# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# A build for Windows (cmake/mingw-w64-x86_64.cmake) or for the browser
# (Debian's Emscripten toolchain) on Linux takes from the host what Debian
# packages only for Linux: fast_float's headers, GoogleTest's sources, and a
# way to run the tests: Wine, or Node.js. A prefix given in CMAKE_PREFIX_PATH
# that holds them for the target takes precedence.

# fast_float is header-only, so the host's headers serve the target too; but
# the host's include folder itself must not be searched, or its C library
# headers would shadow the target's. The build gets a folder holding
# fast_float alone.
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

if(WIN32)
    set(XPCALC_TARGET_TIER wine)
elseif(EMSCRIPTEN)
    set(XPCALC_TARGET_TIER node)
endif()

# Tests run under Wine, in a prefix of the build's own (see wine_run.sh), or
# under Node.js, whose fetch() the output of Debian's Emscripten 3.1.6 would
# take for the way to load its .wasm file.
if(XPCALC_TESTS AND WIN32 AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(XPCALC_WINE wine)
    if(XPCALC_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh ${CMAKE_BINARY_DIR}/wineprefix)
    else()
        xpcalc_check_unavailable("The tests of the Windows build" wine wine)
    endif()
elseif(XPCALC_TESTS AND EMSCRIPTEN)
    find_program(XPCALC_NODE NAMES node nodejs)
    if(XPCALC_NODE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${XPCALC_NODE} --no-experimental-fetch)
    else()
        xpcalc_check_unavailable("The tests of the browser build" node nodejs)
    endif()
endif()

# GoogleTest for the target, built with the tests from the sources Debian
# ships (package googletest, which libgtest-dev brings), unless a prefix for
# the target has it. Sets `found_var` to whether GTest::gtest_main is there.
function(xpcalc_googletest_from_source found_var)
    find_package(GTest QUIET)
    set(source /usr/src/googletest)
    if(NOT GTest_FOUND AND EXISTS ${source}/CMakeLists.txt)
        # GoogleTest's options take the values set here, not their defaults.
        set(CMAKE_POLICY_DEFAULT_CMP0077 NEW)
        set(BUILD_GMOCK OFF)
        set(INSTALL_GTEST OFF)
        # Without threads, as the browser build runs.
        if(EMSCRIPTEN)
            set(gtest_disable_pthreads ON)
        endif()
        # SYSTEM: its headers are held to GoogleTest's warnings, not ours.
        add_subdirectory(${source} ${CMAKE_BINARY_DIR}/googletest-${XPCALC_TARGET_TIER} EXCLUDE_FROM_ALL SYSTEM)
    endif()
    if(TARGET GTest::gtest_main)
        set(${found_var} TRUE PARENT_SCOPE)
    else()
        set(${found_var} FALSE PARENT_SCOPE)
        xpcalc_check_unavailable("The core tests" "GoogleTest for the target or its sources" googletest)
    endif()
endfunction()
