# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# What every release build gets, whoever builds it: the hardening Debian's
# dpkg-buildflags gives with hardening=+all, and builds that do not depend on
# the folder or the moment they were made in.

# The same sources give the same binary from any folder: paths in debug
# information and in the few file names the code embeds are written relative
# to the source and build folders.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
if(MINGW)
    # A Windows program's header holds its link time unless told otherwise.
    add_link_options(-Wl,--no-insert-timestamp)
endif()

if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT XPCALC_SANITIZE AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
    # Position-independent executables are Debian's compiler default. Not
    # asked for here: CMake would compile with -fPIE, and code linked with
    # Qt must be -fPIC (which Qt's targets ask for), or a program's view of
    # Qt's meta-objects differs from Qt's own and qobject_cast fails.
    add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat -Werror=format-security
                        -Wdate-time)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|i.86")
        add_compile_options(-fcf-protection)
    endif()
    # Fortified library calls need the optimiser, which Release has. Level 3
    # also checks the copies whose sizes are known only at run time, which
    # are most of a C++ program's; it replaces whatever level the caller's
    # flags (dpkg-buildflags gives 2) ask for.
    add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=3)
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
