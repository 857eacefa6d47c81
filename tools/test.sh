#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Sets up what is missing, then configures, builds and tests each CMake
# preset (CMakePresets.json) afresh, with all its tests:
#  release   a Release build (g++): the core, window, desktop and packaging
#            tests, among them the Debian package held to lintian and its
#            program to hardening-check, the same package built from
#            debian/ with dpkg-buildpackage, and the package installed and
#            started on a clean Debian 12 system;
#  sanitize  a build under AddressSanitizer and UndefinedBehaviorSanitizer
#            (clang): the same tests but the package ones, the fuzz
#            targets for a bounded number of inputs, and the format and lint
#            checks;
#  wine      the Qt-free core and its tests, built for Windows with
#            MinGW-w64, run under Wine;
#  node      the Qt-free core and its tests, built for the browser with
#            Emscripten, run under Node.js, the web page over the core,
#            driven in headless Chromium, and the desktop's core held to
#            give the same results (tests/differential);
#  windows   only when named: the Windows build made by tools/windows.sh
#            (whose first run builds Qt for Windows, about half an hour),
#            checked under Wine: the program's icon and version block, the
#            winget manifest, the window tests, the program from the zip
#            along the user's walk, and the installer installed, upgraded
#            and removed.
# Every check must be there (XPCALC_STRICT): a missing tool fails the run.
# A preset that fails does not stop the others. The last line counts the
# tests of every preset from CTest's JUnit reports (left in build-reports/),
# a configure or build that fails as one failure; the exit status is non-zero
# if anything failed. Only the clean-system check runs as root, outside the
# work tree: through sudo, asked for here, when the caller is not root.
# Usage: tools/test.sh [PRESET...]   (default: release sanitize wine node)
set -uo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash tools/bootstrap.sh test || exit 1
[ "$(id -u)" -eq 0 ] || sudo -v || true

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(release sanitize wine node)
reports=$PWD/build-reports
rm -rf "$reports"
mkdir -p "$reports"

for preset in "${presets[@]}"; do
    echo "== Preset $preset ($(((SECONDS - started) / 60)) min)"
    configure=(--fresh)
    # Never left out here for want of root: without it, the check fails.
    [ "$preset" != release ] || configure+=(-DXPCALC_CLEAN_SYSTEM_CHECK=ON)
    if [ "$preset" = windows ] && ! bash tools/windows.sh; then
        echo build >"$reports/$preset.broken"
    elif ! cmake --preset "$preset" "${configure[@]}"; then
        echo configure >"$reports/$preset.broken"
    elif ! cmake --build --preset "$preset"; then
        echo build >"$reports/$preset.broken"
    else
        status=0
        ctest --preset "$preset" --output-junit "$reports/$preset.xml" || status=$?
        echo "$status" >"$reports/$preset.status"
    fi
done

echo "== All checks ($(((SECONDS - started) / 60)) min)"
python3 tools/test_summary.py "$reports" "${presets[@]}"
