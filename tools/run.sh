#!/usr/bin/env bash
# Sets up what is missing, builds the calculator (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/bootstrap.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target xpcalc
exec build/xpcalc
