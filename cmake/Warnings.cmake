# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Strict warnings for the project's own targets, as errors: a warning is a
# fault we have not looked at yet.
function(xpcalc_strict_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion
                                                 -Wshadow -Wold-style-cast -Werror)
    endif()
endfunction()
