#!/usr/bin/env bash
# Cross-builds the Qt-free core (calc/ and platform/) and its GoogleTest tests
# for 64-bit Windows with MinGW-w64, and runs them under Wine, so that the
# core stays buildable and correct on Windows, the Windows-only branches
# included, on every change. Needs no display and no Qt for Windows.
# Usage: tools/wine_core_tests.sh [--no-run] [build dir, default build-wine]
#   --no-run  build and set up Wine, and leave running CTest to the caller
# CTest in the build dir runs each test through Wine by itself, in a Wine
# prefix of its own under the build dir.
# Needs: the packages tools/bootstrap.sh test installs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

run=1
if [ "${1:-}" = --no-run ]; then
    run=0
    shift
fi
build=${1:-build-wine}
mkdir -p "$build"
build=$(cd "$build" && pwd)
jobs=$(nproc)
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# Libraries the core needs, for Windows: GoogleTest, built from the sources
# Debian ships in libgtest-dev, and the header-only fast_float, whose headers
# are the Linux ones (the system include folder itself must not be searched,
# or its C library headers would shadow MinGW's).
deps=$build/deps
if [ ! -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
    echo "-- GoogleTest for Windows"
    cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$deps" >/dev/null
    cmake --build "$build/googletest" -j "$jobs" >/dev/null
    cmake --install "$build/googletest" >/dev/null
fi
mkdir -p "$deps/include"
ln -sfn /usr/include/fast_float "$deps/include/fast_float"

# Wine runs console programs without a display; the empty overrides keep it
# from offering to install .NET and a browser engine when it sets up the
# prefix. The runtime is linked in statically, so no DLL path is needed.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
emulator="env;-u;DISPLAY;WINEPREFIX=$WINEPREFIX;WINEDEBUG=$WINEDEBUG;WINEDLLOVERRIDES=$WINEDLLOVERRIDES;wine"

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$deps" -DCMAKE_EXE_LINKER_FLAGS=-static \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$emulator" \
    -DXPCALC_UI=OFF -DXPCALC_BENCHMARKS=OFF -DXPCALC_STRICT=ON
cmake --build "$build" -j "$jobs"

# Setting up a prefix takes a while; do it once, before tests run side by side.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "-- Setting up the Wine prefix $WINEPREFIX"
    env -u DISPLAY wineboot --init 2>/dev/null
    wineserver --wait
fi

if [ "$run" -eq 1 ]; then
    ctest --test-dir "$build" --output-on-failure -j "$jobs"
fi
