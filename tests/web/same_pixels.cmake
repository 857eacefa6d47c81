# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Each picture of the site looks as the program's picture it was made from:
# an exact one has every pixel, transparency and all; a close one (a doubled
# picture put to a palette) stays within sight of it, at a peak signal to
# noise ratio of 45 dB or more. Its size, not its look, is the page's.
# Usage: cmake -DCOMPARE=compare -DSITE=DIR -DASSETS=DIR -DPICTURES=SITE_FILE=ASSETS_FILE=exact|close,... -P same_pixels.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT PICTURES)
    message(FATAL_ERROR "No pictures to compare")
endif()
string(REPLACE "," ";" PICTURES "${PICTURES}")
foreach(picture ${PICTURES})
    string(REPLACE "=" ";" picture ${picture})
    list(GET picture 0 shown)
    list(GET picture 1 source)
    list(GET picture 2 kept)
    if(kept STREQUAL "exact")
        # The count of pixels that differ, on standard error; exit status 0 when none do.
        execute_process(COMMAND ${COMPARE} -metric AE ${SITE}/${shown} ${ASSETS}/${source} null:
                        RESULT_VARIABLE result ERROR_VARIABLE differing)
        string(STRIP "${differing}" differing)
        if(NOT result EQUAL 0)
            message(SEND_ERROR "${shown}: not the pixels of assets/${source} (${differing})")
        else()
            message(STATUS "${shown}: the pixels of assets/${source}")
        endif()
    elseif(kept STREQUAL "close")
        # The ratio in dB on standard error, "inf" for the same pixels; an
        # error (a size that differs) is no number.
        execute_process(COMMAND ${COMPARE} -metric PSNR ${SITE}/${shown} ${ASSETS}/${source} null:
                        ERROR_VARIABLE ratio)
        string(STRIP "${ratio}" ratio)
        if(ratio STREQUAL "inf" OR (ratio MATCHES "^[0-9.]+$" AND ratio GREATER_EQUAL 45))
            message(STATUS "${shown}: within ${ratio} dB of assets/${source}")
        else()
            message(SEND_ERROR "${shown}: not close to assets/${source} (${ratio})")
        endif()
    else()
        message(SEND_ERROR "${shown}: kept neither exact nor close, but '${kept}'")
    endif()
endforeach()
