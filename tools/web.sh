#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Builds the calculator's web page from this code, on Debian 12, in
# build-web/ (configured as the `node` preset):
#  1. the Qt-free core for the browser, as WebAssembly, with Debian's
#     Emscripten;
#  2. build-web/site/: the page (packaging/web/), laid out from the windows'
#     designs, with the core, the pictures, the faces cut down to what the
#     program shows, its manifest and its service worker: a folder to copy
#     to any static web host as it is.
# The checks of what it builds (the core's tests under Node.js, the page in
# headless Chromium, with screenshots in build-web/tests/web/screenshots/,
# and the desktop's core against the browser's, tests/differential/)
# are the node preset's: ctest --test-dir build-web --output-on-failure,
# after this, or bash tools/test.sh node.
# Usage: tools/web.sh
set -euo pipefail
[ $# -eq 0 ] || { echo "usage: $0" >&2; exit 2; }
cd "$(dirname "$0")/.."
out=$PWD/build-web

source tools/cross_build_common.sh
bash tools/bootstrap.sh web
source tools/emscripten_env.sh

step "The core and the page"
mkdir -p "$out"
cmake --preset node -B "$out" >"$out/configure.log" 2>&1 || { cat "$out/configure.log"; exit 1; }
nice -n 19 cmake --build "$out" -j "$jobs"
step "Done: $out/site"
