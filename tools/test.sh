#!/usr/bin/env bash
# Sets up what is missing, then runs every test:
#  1. a Release build (g++) and all its tests;
#  2. a build under AddressSanitizer and UndefinedBehaviorSanitizer (clang),
#     all its tests, and the fuzz targets for a bounded number of inputs;
#  3. the format and lint checks;
#  4. the Debian package, installed on a clean Debian 12 system, starts.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/bootstrap.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== Release build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Sanitizer build, tests and fuzzing"
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DXPCALC_SANITIZE=ON -DXPCALC_FUZZ=ON -DXPCALC_BENCHMARKS=OFF
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

echo "== Format and lint"
bash tools/lint.sh build-sanitize

echo "== The Debian package on a clean system"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" bash tools/check_package.sh build
