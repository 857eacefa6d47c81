#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Checks that the sources and scripts say their licence, and that the sources
# are formatted and pass clang-tidy.
# Usage: tools/lint.sh BUILD_DIR   (a configured build with compile_commands.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

# The source folders, not git: a copy of the tree without its history lints too. The packages npm
# installs for the page's test and benchmark are not ours.
mapfile -t sources < <(find bench calc design platform tests tools ui -name node_modules -prune -o \
    \( -name '*.cpp' -o -name '*.h' \) -print | sort)
mapfile -t unlicensed < <(find .ci bench calc cmake debian/rules design packaging platform tests tools ui CMakeLists.txt \
    -name node_modules -prune -o \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.sh' -o -name '*.py' -o -name '*.cmake' -o -name '*.mjs' -o -name '*.html' -o -name '*.wxs' -o -name '*.yaml' \
    -o -name CMakeLists.txt -o -path .ci/run -o -path debian/rules \) -type f \
    -exec grep -L 'SPDX-License-Identifier: MIT' {} + | sort)
if [ ${#unlicensed[@]} -gt 0 ]; then
    echo "no SPDX licence line in: ${unlicensed[*]}" >&2
    exit 1
fi
clang-format --dry-run --Werror "${sources[@]}"

mapfile -t units < <(find calc design platform tools ui -name '*.cpp' | sort)
run-clang-tidy -quiet -p "$build" -j "$(nproc)" "${units[@]/#/$PWD/}" > "$build/clang-tidy.log" 2>&1 || {
    grep -E 'warning:|error:' "$build/clang-tidy.log" | sort -u
    exit 1
}
echo "format and lint: clean"
