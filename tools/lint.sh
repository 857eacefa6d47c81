#!/usr/bin/env bash
# Checks that the sources are formatted and pass clang-tidy.
# Usage: tools/lint.sh BUILD_DIR   (a configured build with compile_commands.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}"

mapfile -t units < <(git ls-files -- 'calc/*.cpp' 'platform/*.cpp' 'ui/*.cpp' 'tools/*.cpp')
run-clang-tidy -quiet -p "$build" -j "$(nproc)" "${units[@]/#/$PWD/}" > "$build/clang-tidy.log" 2>&1 || {
    grep -E 'warning:|error:' "$build/clang-tidy.log" | sort -u
    exit 1
}
echo "format and lint: clean"
