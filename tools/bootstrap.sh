#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Installs, on Debian 12, whatever the calculator needs and is not there yet.
# Safe to run again: it installs only what is missing.
# Usage: tools/bootstrap.sh [run|test|windows|web]
#   run      what building and running the program need (the default)
#   test     that, and everything the test command uses
#   windows  that, and what tools/windows.sh needs to build for Windows and
#            the windows test preset to check the build
#   web      the same as test: what tools/web.sh needs to build the web page
set -euo pipefail
mode=${1:-run}

run_packages=(
    cmake ninja-build make g++ qt6-base-dev libgl-dev libfast-float-dev
    # the windows' designs written out at build time, for scripts and the page
    nlohmann-json3-dev
    # faces the windows use: the fallback for Verdana (with its oblique, for
    # the chart's italic note), and a serif face with the metrics of Times for
    # the award chart
    fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
)
test_packages=(
    # tests, sanitizers, fuzzing, benchmarks and lint
    clang libclang-rt-14-dev clang-format clang-tidy libgtest-dev libbenchmark-dev
    # headless windows and screenshots; a window manager and a screen reader's view
    xvfb xauth x11-apps x11-utils xdotool imagemagick openbox dbus-daemon at-spi2-core python3-pyatspi
    # the real clients: the Orca screen reader, and weston with Qt's Wayland platform
    orca weston qt6-wayland
    # resources, packaging and installed-file checks
    binutils-mingw-w64-x86-64 desktop-file-utils appstream dpkg-dev file librsvg2-bin debootstrap python3
    # what a Debian packager checks: lintian, hardening-check, and debhelper
    # for the debian/ folder
    lintian devscripts debhelper
    # the core built for Windows, and its tests run under Wine; the Windows
    # packaging tool's test, which builds an installer with wixl at a stopped
    # clock and reads it back with msiinfo
    g++-mingw-w64-x86-64-posix wine wine64 wixl msitools faketime
    # the core built for the browser, and its tests run under Node.js; the web
    # page's faces cut down (as WOFF2), its pictures compressed, and the page
    # driven in a real browser
    emscripten fonttools python3-brotli zopfli pngquant chromium
)
windows_packages=(
    # Qt built for Windows from Debian's source, with the host's Qt tools
    dpkg-dev qt6-base-dev-tools
    # Wine's stand-ins for the Windows system faces (MS Sans Serif, Tahoma,
    # and Marlett, which draws the title-bar buttons)
    fonts-wine
    # the program's icon and version block read back, and the zip unpacked
    icoutils unzip
)


case $mode in
run) packages=("${run_packages[@]}") ;;
test | web) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
windows) packages=("${run_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}") ;;
*) echo "usage: $0 [run|test|windows|web]" >&2; exit 2 ;;
esac

# Debian's nodejs comes without npm, which fetches the browser driver of the
# web page's test; Node.js from elsewhere brings its own.
[ "$mode" = run ] || command -v npm >/dev/null || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
