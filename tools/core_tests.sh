#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Cross-builds the Qt-free core (calc/ and platform/) and its GoogleTest tests
# for another platform and runs them there: for 64-bit Windows with MinGW-w64,
# under Wine (the `wine` CMake preset), or for the browser with Emscripten,
# under Node.js (the `node` preset), in a build dir of the caller's choosing.
# Needs no display and no Qt for the platform.
# Usage: tools/core_tests.sh wine|node [build dir, default build-<preset>]
# Needs: the packages tools/bootstrap.sh test installs.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-}
case $preset in
wine | node) ;;
*) echo "usage: $0 wine|node [build dir]" >&2; exit 2 ;;
esac
build=${2:-build-$preset}
# What the preset's environment gives emcc, for the build outside the preset.
[ "$preset" != node ] || source tools/emscripten_env.sh

cmake --preset "$preset" -B "$build"
cmake --build "$build" -j 2
# Not the test preset, whose build dir would win over this one.
ctest --test-dir "$build" --output-on-failure --no-tests=error -j 2
