#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Builds the Debian package of a build with CPack, into BUILD_DIR/package:
# the program stripped, every time inside the time of the last commit
# (packaging/source_date_epoch.cmake).
# Usage: tools/package.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
rm -rf "$build/package"
log=$build/cpack.log
(cd "$build" && cpack -B package) >"$log" 2>&1 || { cat "$log"; exit 1; }
rm -rf "$build/package/_CPack_Packages"
ls "$build"/package/xpcalc_*.deb
