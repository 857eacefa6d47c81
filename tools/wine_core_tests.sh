#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Cross-builds the Qt-free core (calc/ and platform/) and its GoogleTest tests
# for 64-bit Windows with MinGW-w64, and runs them under Wine: the `wine`
# CMake preset (CMakePresets.json), in a build dir of the caller's choosing.
# Needs no display and no Qt for Windows.
# Usage: tools/wine_core_tests.sh [build dir, default build-wine]
# Needs: the packages tools/bootstrap.sh test installs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-wine}

cmake --preset wine -B "$build"
cmake --build "$build" -j 2
ctest --preset wine --test-dir "$build"
