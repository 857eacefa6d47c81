# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Writes SITE/sw.js from TEMPLATE: the list of the site's files, and a version
# that is the hash of them all, so that any change to any file is a new version.
# Usage: cmake -DSITE=DIR -DTEMPLATE=FILE -P service_worker.cmake
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(hashes "")
set(listed "'./'")
foreach(file ${files})
    file(SHA256 ${SITE}/${file} hash)
    string(APPEND hashes "${file} ${hash}\n")
    string(APPEND listed ", './${file}'")
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING ${version} 0 16 XPCALC_SITE_VERSION)
set(XPCALC_SITE_FILES ${listed})
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
