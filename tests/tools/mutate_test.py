#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The locator finds a pattern in one function, whatever the layout, and only once; every mutate.py fault is
found; the tests that caught one are read from ctest's summary."""
import os
import unittest

from code_locator import locate, mutated
from mutate import FAULTS, ROOT, failed_tests

SOURCE = ("int other(int sum) { return sum <= kMax ? sum : 0; }\n"
          "bool fits(long\n    total) noexcept\n{\n    return total >=\n        kMin && total\n        <= kMax;\n}\n"
          "int add(int a, int b)\n{\n    if (!fits(a))\n        return 0;\n    if (!fits(a + b)) return 0;\n}\n"
          "int f(char16_t c)\n{\n    if (c == u'{') // a } here\n        return 1'000 * '}';\n"
          "    const char *s = \"}\\\"}\"; /* } */\n    return c == u'x' ? 2 : 3;\n}\nint g() { return 3; }\n"
          "#if FAST\nint scan(int n) { return n * 8; }\n#else\nint scan(int n) { return n; }\n#endif\n"
          "constexpr std::int64_t kLow = -345;\ninline constexpr std::array<int, 3> kTable{{1, 2, 3}};\n"
          "int use() { return kTable[0] < kLow || kLow == -345; }\nint h(int limit = 5) { return limit * 2; }\n"
          "bool known(int);\nint call() { return known(2) ? 1 : known(3); }\n")

# Each case: where and what to look for, what replaces it, and the text the result holds once, or the refusal.
CASES = [
    ("a local renamed, across lines", "fits", "&& @ <= kMax", r"&& \1 < kMax", "&& total < kMax"),
    ("another function's code left alone", "fits", "&& @ <= kMax", r"&& \1 < kMax", "<= kMax ? sum"),
    ("a pattern twice", "add", "return 0;", "", "stands 2 times in add"),
    ("made once by a wider pattern", "add", "@ + @)) return 0", r"\1 + \2)) return 1", "if (!fits(a + b)) return 1;"),
    ("only in another function", "fits", "? @ : 0", "", "stands 0 times in fits"),
    ("tokens match whole", "fits", "total <= kMa", "", "stands 0 times"),
    ("a call is no definition", "known", "return", "", "no definition of known"),
    ("a definition that calls", "call", "known(3)", "known(4)", "known(4)"),
    ("braces in literals and comments", "f", "? 2 : 3", "? 3 : 2", "? 3 : 2"),
    ("alternative definitions", "scan", "* 8", "* 9", "return n * 9;"),
    ("a constant", "kLow", "-345", "-320", "kLow = -320;"),
    ("a table", "kTable", "2", "5", "{{1, 5, 3}}"),
    ("a constant ends at its semicolon", "kLow", "kTable", "", "stands 0 times in kLow"),
    ("a default ends at its bracket", "limit", "2", "", "stands 0 times in limit"),
]


class Locate(unittest.TestCase):
    def test_cases(self):
        for about, where, code, replacement, expected in CASES:
            with self.subTest(about):
                try:
                    changed = mutated(SOURCE, where, code, replacement)
                except LookupError as error:
                    changed = str(error)
                self.assertEqual(changed.count(expected), 1, changed)

    def test_every_fault_stands_once_in_the_sources(self):
        for name, path, where, code, _ in FAULTS:
            with self.subTest(name), open(os.path.join(ROOT, path), encoding="utf-8") as file:
                locate(file.read(), where, code)

    def test_failed_tests_are_read_from_ctests_summary(self):
        output = ("1/3 Test #2: a_test ....   Passed\n2/3 Test #1: b_test ....***Failed\n\n"
                  "33% tests passed, 2 tests failed out of 3\n\nThe following tests FAILED:\n"
                  "\t  1 - b_test (Failed)\n\t  3 - c_test (Timeout)\nErrors while running CTest\n")
        self.assertEqual(failed_tests(output), ["b_test", "c_test"])


if __name__ == "__main__":
    unittest.main()
