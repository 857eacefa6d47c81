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
#            Emscripten, run under Node.js.
# Every check must be there (XPCALC_STRICT): a missing tool fails the run.
# A preset that fails does not stop the others. The last line counts the
# tests of every preset from CTest's JUnit reports (left in build-reports/),
# a configure or build that fails as one failure; the exit status is non-zero
# if anything failed. Only the clean-system check runs as root, outside the
# work tree: through sudo, asked for here, when the caller is not root.
# Usage: tools/test.sh [PRESET...]   (default: all four)
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
    if ! cmake --preset "$preset" "${configure[@]}"; then
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
python3 - "$reports" "${presets[@]}" <<'EOF'
import os
import sys
import xml.etree.ElementTree as ET

reports, presets = sys.argv[1], sys.argv[2:]


def outcome(case):
    skip = case.find("skipped")
    if case.find("failure") is not None or case.find("error") is not None:
        return "failed"
    if skip is not None:
        # CTest reports a test it could not start (no executable, a failed
        # fixture) as skipped, yet counts it as failed; only a test's own
        # request to be skipped is a skip.
        return "skipped" if skip.get("message", "").startswith("SKIP_") else "failed"
    return "skipped" if case.get("status") == "disabled" else "passed"


passed = failed = skipped = 0
for preset in presets:
    path = os.path.join(reports, preset)
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    failures = []  # failed tests by name, and failures of the run itself
    if os.path.exists(path + ".broken"):
        failures.append("the " + open(path + ".broken").read().strip() + " step failed, no tests ran")
    else:
        try:
            cases = list(ET.parse(path + ".xml").getroot().iter("testcase"))
        except (OSError, ET.ParseError) as error:
            cases = None
            failures.append(f"no test report: {error}")
        for case in cases or []:
            result = outcome(case)
            counts[result] += 1
            if result == "failed":
                failures.append(case.get("name"))
        status = int(open(path + ".status").read())
        if cases is not None and status != 0 and counts["failed"] == 0:
            failures.append(f"ctest exited with status {status}")
    counts["failed"] = len(failures)
    line = f"{preset}: {counts['passed']} passed, {counts['failed']} failed"
    if counts["skipped"]:
        line += f", {counts['skipped']} skipped"
    if failures:
        line += " (" + "; ".join(failures) + ")"
    print(line)
    passed += counts["passed"]
    failed += counts["failed"]
    skipped += counts["skipped"]

total = f"total: {passed} passed, {failed} failed"
if skipped:
    total += f", {skipped} skipped"
print(total)
sys.exit(1 if failed else 0)
EOF
