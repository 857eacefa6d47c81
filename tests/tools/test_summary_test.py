#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The test command's closing count, on reports made up for each case."""
import os
import tempfile
import unittest

from test_summary import summary

# A test's outcome in CTest's JUnit report: + passed, - failed, ! could not start, ~ skipped by its own request.
KINDS = {"+": 'status="run"/>', "-": 'status="fail"><failure message="Failed"/></testcase>',
         "!": 'status="notrun"><skipped message="Disabled"/></testcase>',
         "~": 'status="notrun"><skipped message="SKIP_REGULAR_EXPRESSION_MATCHED"/></testcase>'}


def files_of(report):
    """What a preset leaves: no report, the step that broke, or its JUnit report and CTest's status."""
    if report is None:
        return {}
    if isinstance(report, str):
        return {".broken": report}
    tests, status = report
    cases = "".join(f'<testcase name="{test[0]}" {KINDS[test[1]]}' for test in tests.split())
    return {".xml": f"<testsuite>{cases}</testsuite>", ".status": f"{status}\n"}


# Each case: each preset's tests and CTest's status, or the step that broke, or None for no report; whether
# anything failed; the lines of the count (... ends a line's start).
CASES = [
    ({"p": ("a+ d~", 0)}, False, ["p: 1 passed, 0 failed, 1 skipped", "total: 1 passed, 0 failed, 1 skipped"]),
    ({"p": ("a+", 2)}, True, ["p: 1 passed, 1 failed (ctest exited with status 2)", "total: 1 passed, 1 failed"]),
    ({"p": "build"}, True, ["p: 0 passed, 1 failed (the build step failed, no tests ran)",
                            "total: 0 passed, 1 failed"]),
    ({"x": ("a+ b- c!", 8), "y": ("e+ f~", 0)}, True,
     ["x: 1 passed, 2 failed (b; c)", "y: 1 passed, 0 failed, 1 skipped", "total: 2 passed, 2 failed, 1 skipped"]),
    ({"absent": None}, True, ["absent: 0 passed, 2 failed (no test report...", "total: 0 passed, 2 failed"]),
]


class Summary(unittest.TestCase):
    def test_counts(self):
        for presets, failed, expected in CASES:
            with self.subTest(presets), tempfile.TemporaryDirectory() as folder:
                for preset, report in presets.items():
                    for suffix, text in files_of(report).items():
                        with open(os.path.join(folder, preset + suffix), "w", encoding="utf-8") as file:
                            file.write(text)
                lines, any_failed = summary(folder, list(presets))
                self.assertEqual([line[:len(want) - 3] + "..." if want.endswith("...") else line
                                  for line, want in zip(lines, expected)], expected)
                self.assertEqual((len(lines), any_failed), (len(expected), failed))


if __name__ == "__main__":
    unittest.main()
