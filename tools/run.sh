#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Sets up what building and running need, builds the calculator (Release) and
# starts it. Nothing that only the tests use is installed or built.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/bootstrap.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target xpcalc
exec build/xpcalc
