#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The test command's closing count: each preset's tests passed, failed and
skipped, read from CTest's JUnit reports, a configure or build that failed as
one failure, and the total. Exits non-zero if anything failed.

Usage: test_summary.py REPORTS PRESET...
REPORTS holds, for each preset, PRESET.xml (CTest's --output-junit) and
PRESET.status (CTest's exit status), or PRESET.broken (the step that failed).
"""
import os
import sys
import xml.etree.ElementTree as ET

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


def preset_line(reports, preset):
    """A preset's line of the count, and its passed, failed and skipped."""
    path = os.path.join(reports, preset)
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    failures = []  # failed tests by name, and failures of the run itself
    if os.path.exists(path + ".broken"):
        with open(path + ".broken", encoding="utf-8") as broken:
            failures.append(f"the {broken.read().strip()} step failed, no tests ran")
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
        try:
            with open(path + ".status", encoding="utf-8") as status_file:
                status = int(status_file.read())
        except (OSError, ValueError) as error:
            status = None
            failures.append(f"no exit status: {error}")
        if cases is not None and status not in (0, None) and counts["failed"] == 0:
            failures.append(f"ctest exited with status {status}")
    counts["failed"] = len(failures)
    line = f"{preset}: {counts['passed']} passed, {counts['failed']} failed"
    if counts["skipped"]:
        line += f", {counts['skipped']} skipped"
    if failures:
        line += " (" + "; ".join(failures) + ")"
    return line, counts


def summary(reports, presets):
    """The lines of the count, the total last, and whether anything failed."""
    lines, total = [], {"passed": 0, "failed": 0, "skipped": 0}
    for preset in presets:
        line, counts = preset_line(reports, preset)
        lines.append(line)
        for kind in total:
            total[kind] += counts[kind]
    last = f"total: {total['passed']} passed, {total['failed']} failed"
    if total["skipped"]:
        last += f", {total['skipped']} skipped"
    return lines + [last], total["failed"] > 0


def main(arguments):
    if len(arguments) < 2:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    lines, failed = summary(arguments[0], arguments[1:])
    print("\n".join(lines))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
