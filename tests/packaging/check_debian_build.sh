#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Builds the Debian packages from the debian/ folder as a distribution would
# (dpkg-buildpackage -us -uc -b, with its own tests), in a copy of the source
# tree as it stands, committed or not. Holds the package to lintian as the
# CPack package is held, and checks that both packages install the same
# files and declare the same relations.
# Usage: check_debian_build.sh SOURCE_DIR CPACK_DEB LINTIAN
set -euo pipefail
usage="usage: $0 SOURCE_DIR CPACK_DEB LINTIAN"
source=${1:?$usage} cpack_deb=${2:?$usage} lintian=${3:?$usage}
work=$(mktemp -d "${TMPDIR:-/tmp}/xpcalc-debian-build.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
copy=$work/xpcalc
mkdir "$copy"
# The files git knows or would add, as they are now (a deleted one left out);
# outside a git work tree, everything but the build folders.
if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$source" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do [ ! -e "$file" ] || printf '%s\0' "$file"; done |
        tar --null -T - -cf -) | tar -C "$copy" -xf -
else
    tar -C "$source" --exclude='./build*' -cf - . | tar -C "$copy" -xf -
fi

# What the build needs, named as apt names the packages, before the build starts.
(cd "$copy" && dpkg-checkbuilddeps) || { echo "install the build dependencies above, then try again"; exit 1; }
options="${DEB_BUILD_OPTIONS:-} parallel=$(nproc)"
if ! (cd "$copy" && DEB_BUILD_OPTIONS=$options dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1; then
    tail -40 "$work/build.log"
    echo "dpkg-buildpackage failed"
    exit 1
fi
deb=$(ls "$work"/xpcalc_*.deb)
"$lintian" --pedantic --fail-on error,warning --display-info "$deb" 2>"$work/lintian.err" ||
    { grep -v "running with root privileges" "$work/lintian.err"; exit 1; }

status=0
files() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { print $6 }' | sort; }
if ! diff <(files "$cpack_deb") <(files "$deb") >"$work/files.diff"; then
    echo "the packages install different files (< CPack, > debhelper):"
    cat "$work/files.diff"
    status=1
fi
relations() { dpkg-deb -f "$1" Section Depends Recommends; }
if ! diff <(relations "$cpack_deb") <(relations "$deb") >"$work/relations.diff"; then
    echo "the packages declare different sections or relations (< CPack, > debhelper):"
    cat "$work/relations.diff"
    status=1
fi
[ $status -ne 0 ] || echo "debian/: builds with dpkg-buildpackage, lintian-clean, the same files and relations as CPack's"
exit $status
