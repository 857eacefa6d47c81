#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Builds the calculator's web page from this code, on Debian 12, and checks it
# in Chromium, as the `node` preset of the test command does:
#  1. the Qt-free core for the browser, as WebAssembly, with Debian's
#     Emscripten, and its tests under Node.js;
#  2. build-web/site/: the page (packaging/web/), laid out from the windows'
#     designs, with the core, the pictures, the faces cut down to what the
#     program shows, its manifest and its service worker: a folder to copy
#     to any static web host as it is;
#  3. the page in headless Chromium (tests/web/page_test.mjs): each window as
#     its design says, the user's walk by the keyboard, what screen readers
#     find, a phone's screen and touch, and offline use; screenshots in
#     build-web/tests/web/screenshots/.
# Usage: tools/web.sh [--site-only]
#   --site-only  steps 1 and 2 alone, and no tests run
set -euo pipefail
site_only=false
case ${1:-} in
"") ;;
--site-only) site_only=true ;;
*) echo "usage: $0 [--site-only]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
out=$PWD/build-web

source tools/cross_build_common.sh
bash tools/bootstrap.sh web
source tools/emscripten_env.sh

step "The core and the page"
mkdir -p "$out"
cmake --preset node -B "$out" >"$out/configure.log" 2>&1 || { cat "$out/configure.log"; exit 1; }
nice -n 19 cmake --build "$out" -j "$jobs"
if ! $site_only; then
    step "The core's tests under Node.js, and the page in Chromium"
    ctest --test-dir "$out" --output-on-failure --no-tests=error -j 2
fi
step "Done: $out/site"
