#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Builds the program for the browser, as WebAssembly, from this code, on
# Debian 12, and checks it in Chromium:
#  1. Qt for the web, built from Debian's source with Debian's Emscripten once
#     and cached outside the work tree (tools/qt_build.sh web);
#  2. the Qt-free core and its tests, run under Node.js (tools/core_tests.sh
#     node);
#  3. the program, and build-web/site/: our page and everything it loads, to
#     copy to any static web host as it is; everything it loads must come to
#     at most 5 MB gzipped;
#  4. the page served from 127.0.0.1 in Debian's Chromium, headless, driven by
#     the keyboard over the DevTools protocol (tests/web/page_test.mjs):
#     calculating, the overflow warning, switching to the chart and back, with
#     no console errors and nothing loaded from elsewhere. Screenshots of both
#     windows are left in build-web/screenshots/;
#  5. both windows against the desktop program's, on a virtual X screen
#     (tools/screenshot.sh, with the Release build in build/, built here if
#     need be): they must match pixel for pixel but for at most 0.5% of their
#     pixels, which text cursors and the edges of a few glyphs may take;
#  6. the first paint of the page against that of a minimal Qt window built
#     the same way, as the median of five fresh loads each.
# Usage: tools/web.sh [--site-only]
#   --site-only  steps 1 and 3 alone: the site, no checks
set -euo pipefail
site_only=false
case ${1:-} in
"") ;;
--site-only) site_only=true ;;
*) echo "usage: $0 [--site-only]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-web
mkdir -p "$out"

source tools/cross_build_common.sh

bash tools/bootstrap.sh web
source tools/emscripten_env.sh

step "Qt for the web"
qt=$(bash tools/qt_build.sh web)

if ! $site_only; then
    step "The core and its tests, under Node.js"
    bash tools/core_tests.sh node "$out/core"
fi

step "The program and its site"
# Smallest code: the whole page must stay light for a phone's connection.
app=$out/app
cmake -S . -B "$app" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$emscripten_toolchain" -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
    -DXPCALC_TESTS=OFF -DXPCALC_BENCHMARKS="$($site_only && echo OFF || echo ON)" \
    -DXPCALC_WEB_SITE_DIR="$out/site" >"$out/configure.log" || { cat "$out/configure.log"; exit 1; }
nice -n 19 cmake --build "$app" -j "$jobs"

step "What the page loads"
limit=5000000
total=0
for file in "$out"/site/*; do
    gzipped=$(gzip -9c "$file" | wc -c)
    printf '  %-14s %9d bytes, %8d gzipped\n' "$(basename "$file")" "$(stat -c %s "$file")" "$gzipped"
    total=$((total + gzipped))
done
echo "  all of it: $total bytes gzipped (at most $limit)"
[ "$total" -le "$limit" ] || fail "the page loads $total bytes gzipped, more than $limit"
$site_only && { step "Done: $out/site"; exit 0; }

step "The page in Chromium"
# The browser driver and its one helper, from npm, at the versions locked in
# tests/web, outside the work tree's sources.
driver=$out/driver
mkdir -p "$driver"
cp tests/web/package.json tests/web/package-lock.json tests/web/page_test.mjs "$driver"/
(cd "$driver" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >/dev/null)
# The windows' designs, which the page test reads, exported by a build for this machine.
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >"$out/desktop-configure.log"
nice -n 19 cmake --build build -j "$jobs" --target design_json
node "$driver/page_test.mjs" check "$out/site" "$out/screenshots" "$root/build/design.json"

step "Both windows against the desktop program's"
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >"$out/desktop-configure.log"
nice -n 19 cmake --build build -j "$jobs" --target xpcalc
bash tools/screenshot.sh "$out/desktop-screenshots" >"$out/desktop-screenshots.log" 2>&1 ||
    { cat "$out/desktop-screenshots.log"; fail "the desktop program's screenshots failed"; }
mkdir -p "$out/compared"
for name in calculator-fresh chart; do
    # Each window cut out of the page's ground; the desktop's shot of the
    # window's client area alone.
    convert "$out/screenshots/$name.png" -trim +repage "$out/compared/$name-web.png"
    cp "$out/desktop-screenshots/$name-window.png" "$out/compared/$name-desktop.png"
    size=$(identify -format %wx%h "$out/compared/$name-web.png")
    [ "$size" = "$(identify -format %wx%h "$out/compared/$name-desktop.png")" ] ||
        fail "$name: the page shows it at $size, the desktop at $(identify -format %wx%h "$out/compared/$name-desktop.png")"
    differing=$(compare -metric AE "$out/compared/$name-web.png" "$out/compared/$name-desktop.png" \
        "$out/compared/$name-difference.png" 2>&1 || true)
    pixels=$((${size%x*} * ${size#*x}))
    echo "  $name, $size: $differing of $pixels pixels differ"
    [ "$differing" -le $((pixels / 200)) ] || fail "$name differs from the desktop's in $differing pixels"
done

step "First paint, against a minimal Qt window"
page_ms=$(node "$driver/page_test.mjs" first-paint "$out/site")
minimal_ms=$(node "$driver/page_test.mjs" first-paint "$app/minimal-site")
echo "  the calculator: $page_ms ms; a minimal Qt window: $minimal_ms ms;" \
    "ratio $(awk -v a="$page_ms" -v b="$minimal_ms" 'BEGIN { printf "%.2f", a / b }')"

step "Done: $out/site; screenshots in $out/screenshots"
