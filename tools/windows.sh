#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Builds the program for 64-bit Windows from this code, on Debian 12, and
# packages it, in build-windows/:
#  1. Qt for Windows, built from Debian's source once and cached outside the
#     work tree (tools/qt_build.sh windows; the first run takes about half an hour);
#  2. the program, with its icon and version block, and its window test
#     programs, in app/;
#  3. by tools/windows_package.py: xpcalc-<version>-win64.zip, a folder
#     holding xpcalc.exe, the stripped Qt and MinGW runtime DLLs and the
#     plugins it loads, and the licences of all of them;
#     xpcalc-<version>-win64.msi, the installer of the same files
#     (packaging/windows/xpcalc.wxs, built with wixl); winget/, the winget
#     manifest of that installer; and window-tests/, the window test
#     programs with the DLLs they load.
# The checks of what it builds, under Wine, are the windows test preset's:
#   cmake --preset windows && cmake --build --preset windows && ctest --preset windows
# (bash tools/test.sh windows runs this script, then those).
# Usage: tools/windows.sh [--packages-only]
#   --packages-only  no window test programs: the program, the zip, the
#                    installer and the manifest alone
set -euo pipefail
packages_only=false
[ "${1:-}" != --packages-only ] || packages_only=true
cd "$(dirname "$0")/.."
out=$PWD/build-windows
mkdir -p "$out"
# Every file is dated by the last commit, so that two builds of one commit are alike.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}

bash tools/bootstrap.sh windows
source tools/cross_build_common.sh

step "Qt for Windows"
qt=$(bash tools/qt_build.sh windows)

step "The program and its window test programs, for Windows"
# fast_float's headers come from the host, as for the core (cmake/CrossBuild.cmake).
app=$out/app
cmake -S . -B "$app" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" -DXPCALC_BENCHMARKS=OFF >"$out/configure.log" ||
    { cat "$out/configure.log"; exit 1; }
window_tests=(calculator_window_test award_chart_test windows_test)
targets=(xpcalc)
$packages_only || targets+=("${window_tests[@]}")
nice -n 19 cmake --build "$app" -j "$jobs" --target "${targets[@]}"

step "The zip, the installer and the winget manifest"
python3 tools/windows_package.py package "$app" "$qt" "$out"
if ! $packages_only; then
    step "The window test programs, with their DLLs"
    python3 tools/windows_package.py window-tests "$app" "$qt" "$out/window-tests" "${window_tests[@]}"
fi
step "Done: $out"
