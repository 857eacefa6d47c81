#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The test command's closing count, on reports made up for each case."""
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from test_summary import summary  # noqa: E402

PASSED = '<testcase name="{}" status="run"/>'
FAILED = '<testcase name="{}" status="fail"><failure message="Failed"/></testcase>'
NOT_STARTED = '<testcase name="{}" status="notrun"><skipped message="Disabled"/></testcase>'
SKIPPED = '<testcase name="{}" status="notrun"><skipped message="SKIP_REGULAR_EXPRESSION_MATCHED"/></testcase>'


class Summary(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def preset(self, name, cases=(), status=0, broken=None):
        path = os.path.join(self.folder.name, name)
        if broken:
            with open(path + ".broken", "w", encoding="utf-8") as file:
                file.write(broken + "\n")
            return
        with open(path + ".xml", "w", encoding="utf-8") as file:
            file.write("<testsuite>" + "".join(kind.format(test) for kind, test in cases) + "</testsuite>")
        with open(path + ".status", "w", encoding="utf-8") as file:
            file.write(f"{status}\n")

    def test_counts(self):
        cases = {
            "all pass": ([(PASSED, "a"), (PASSED, "b")], 0, None, "p: 2 passed, 0 failed", False),
            "a failure names its test": ([(PASSED, "a"), (FAILED, "b")], 8, None, "p: 1 passed, 1 failed (b)", True),
            "a test that could not start fails": ([(NOT_STARTED, "c")], 8, None, "p: 0 passed, 1 failed (c)", True),
            "a test's own skip is a skip": ([(PASSED, "a"), (SKIPPED, "d")], 0, None,
                                            "p: 1 passed, 0 failed, 1 skipped", False),
            "a failing ctest with no failed test": ([(PASSED, "a")], 2, None,
                                                    "p: 1 passed, 1 failed (ctest exited with status 2)", True),
            "a broken build": ([], 0, "build", "p: 0 passed, 1 failed (the build step failed, no tests ran)", True),
        }
        for name, (tests, status, broken, line, failed) in cases.items():
            with self.subTest(name):
                self.setUp()
                self.preset("p", tests, status, broken)
                lines, any_failed = summary(self.folder.name, ["p"])
                self.assertEqual(lines[0], line)
                self.assertEqual(any_failed, failed)

    def test_total_adds_the_presets(self):
        self.preset("one", [(PASSED, "a"), (FAILED, "b")], 8)
        self.preset("two", [(PASSED, "c"), (SKIPPED, "d")])
        lines, failed = summary(self.folder.name, ["one", "two"])
        self.assertEqual(lines[-1], "total: 2 passed, 1 failed, 1 skipped")
        self.assertTrue(failed)

    def test_a_missing_report_fails(self):
        lines, failed = summary(self.folder.name, ["absent"])
        self.assertTrue(lines[0].startswith("absent: 0 passed, 2 failed (no test report"))
        self.assertTrue(failed)


if __name__ == "__main__":
    unittest.main()
