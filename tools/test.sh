#!/usr/bin/env bash
# Sets up what is missing, then runs every test:
#  1. a Release build (g++) and all its tests;
#  2. a build under AddressSanitizer and UndefinedBehaviorSanitizer (clang),
#     all its tests, and the fuzz targets for a bounded number of inputs;
#  3. the format and lint checks;
#  4. the Debian package, installed on a clean Debian 12 system, starts;
#  5. the Qt-free core and its tests, built for Windows, pass under Wine.
# Every check must be there (XPCALC_STRICT): a missing tool fails the run.
# Only the clean-system step runs as root, outside the work tree.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/bootstrap.sh test
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
passed=0
failed=0

# Runs CTest on a build, adding its counts to the totals printed at the end.
run_ctest() {
    local log
    log=$(mktemp)
    local status=0
    ctest --test-dir "$1" --output-on-failure -j "$jobs" | tee "$log" || status=$?
    local total bad
    total=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$log")
    bad=$(sed -n 's/.*, \([0-9]*\) tests failed out of .*/\1/p' "$log")
    rm -f "$log"
    passed=$((passed + ${total:-0} - ${bad:-0}))
    failed=$((failed + ${bad:-0}))
    return $status
}

echo "== Release build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DXPCALC_STRICT=ON
cmake --build build -j "$jobs"
run_ctest build

echo "== Sanitizer build, tests and fuzzing"
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DXPCALC_SANITIZE=ON -DXPCALC_FUZZ=ON -DXPCALC_BENCHMARKS=OFF -DXPCALC_STRICT=ON
cmake --build build-sanitize -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_ctest build-sanitize
unset ASAN_OPTIONS UBSAN_OPTIONS

echo "== Format and lint"
bash tools/lint.sh build-sanitize

echo "== The Debian package on a clean system"
(cd build && cpack -B package >/dev/null)
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" bash tools/check_package.sh build/package/xpcalc_*.deb
passed=$((passed + 2)) # lint, package

echo "== The core for Windows (MinGW-w64), its tests under Wine"
bash tools/wine_core_tests.sh --no-run build-wine
run_ctest build-wine

echo "== All checks"
echo "total: $passed passed, $failed failed"
