# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Read by cpack before it packs: files and archive members get the time of
# the last commit, not of the build, so that two packages of one commit are
# alike byte for byte. A time already given (dpkg-buildpackage gives the
# changelog's) holds.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "${CPACK_XPCALC_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE source_date RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(failed OR NOT source_date)
        # Sources without their history: the changelog's last entry.
        execute_process(COMMAND dpkg-parsechangelog -l "${CPACK_XPCALC_SOURCE_DIR}/debian/changelog" -S Timestamp
                        OUTPUT_VARIABLE source_date OUTPUT_STRIP_TRAILING_WHITESPACE)
    endif()
    set(ENV{SOURCE_DATE_EPOCH} "${source_date}")
endif()
