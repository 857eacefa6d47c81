# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Checks and benchmarks that need a tool beyond building and running the
# program are optional: each is configured when its tool is there, and the
# configure step says which are left out and why. XPCALC_STRICT turns a
# missing tool into an error, so that the test command can never pass with a
# check silently missing.

# Reports a check left out for want of something, or stops in strict mode.
function(xpcalc_check_unavailable what missing debian_package)
    set(text "${what}: left out, ${missing} not found (Debian package ${debian_package})")
    if(XPCALC_STRICT)
        message(FATAL_ERROR "${text}; XPCALC_STRICT needs every check")
    endif()
    message(STATUS "${text}")
endfunction()

# Finds a program a check needs (further arguments go to find_program). Sets
# `var` to its path, or leaves it false and reports the check as left out.
function(xpcalc_find_check_program var program debian_package what)
    find_program(${var} ${program} ${ARGN})
    if(NOT ${var})
        xpcalc_check_unavailable("${what}" "${program}" "${debian_package}")
    endif()
endfunction()

# Finds a CMake package a check needs; `found_var` says whether it is there.
function(xpcalc_find_check_package found_var package debian_package what)
    find_package(${package} QUIET)
    set(${found_var} ${${package}_FOUND} PARENT_SCOPE)
    if(NOT ${package}_FOUND)
        xpcalc_check_unavailable("${what}" "${package}" "${debian_package}")
    endif()
endfunction()
