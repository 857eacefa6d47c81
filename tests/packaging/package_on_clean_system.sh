#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Installs and starts the Debian package of a build (made by tools/package.sh)
# on a clean Debian 12 system (check_package.sh), as root:
# directly when the caller is root, else through sudo, which must not need a
# password, as this runs as a test with no one to type it.
# Usage: tests/packaging/package_on_clean_system.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)

debs=("$build"/package/xpcalc_*.deb)
[ -f "${debs[0]}" ] || { echo "no package in $build/package: tools/package.sh $build" >&2; exit 1; }

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    sudo -n true 2>/dev/null || {
        echo "the clean-system check needs root, or sudo without a password" >&2
        exit 1
    }
    as_root=(sudo -n)
fi
"${as_root[@]}" bash "$here/check_package.sh" "${debs[0]}"
