#!/usr/bin/env bash
# Checks that the sources are formatted and pass clang-tidy.
# Usage: tools/lint.sh BUILD_DIR   (a configured build with compile_commands.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

# The source folders, not git: a copy of the tree without its history lints too.
mapfile -t sources < <(find bench calc platform tests tools ui -name '*.cpp' -o -name '*.h' | sort)
clang-format --dry-run --Werror "${sources[@]}"

mapfile -t units < <(find calc platform tools ui -name '*.cpp' | sort)
run-clang-tidy -quiet -p "$build" -j "$(nproc)" "${units[@]/#/$PWD/}" > "$build/clang-tidy.log" 2>&1 || {
    grep -E 'warning:|error:' "$build/clang-tidy.log" | sort -u
    exit 1
}
echo "format and lint: clean"
