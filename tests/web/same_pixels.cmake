# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Each picture of the site has every pixel, transparency and all, of the
# program's picture it was made from: its size, not its look, is the page's.
# Usage: cmake -DCOMPARE=compare -DSITE=DIR -DASSETS=DIR -DPICTURES=SITE_FILE=ASSETS_FILE,... -P same_pixels.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT PICTURES)
    message(FATAL_ERROR "No pictures to compare")
endif()
string(REPLACE "," ";" PICTURES "${PICTURES}")
foreach(picture ${PICTURES})
    string(REPLACE "=" ";" picture ${picture})
    list(GET picture 0 shown)
    list(GET picture 1 source)
    # The count of pixels that differ, on standard error; exit status 0 when none do.
    execute_process(COMMAND ${COMPARE} -metric AE ${SITE}/${shown} ${ASSETS}/${source} null:
                    RESULT_VARIABLE result ERROR_VARIABLE differing)
    string(STRIP "${differing}" differing)
    if(NOT result EQUAL 0)
        message(SEND_ERROR "${shown}: not the pixels of assets/${source} (${differing})")
    else()
        message(STATUS "${shown}: the pixels of assets/${source}")
    endif()
endforeach()
