#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The mutation check finds each fault by its function and a pattern of the
code there, whatever the layout and the local names, and refuses a pattern
that does not stand exactly once there; each of its faults stands once in the
sources."""
import os
import sys
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from code_locator import definitions, locate, mutated  # noqa: E402
from mutate import FAULTS, ROOT  # noqa: E402

ONE_LINE = """
int other(int sum) { return sum <= kMax ? sum : 0; }
bool fits(std::int64_t value) noexcept { return value >= kMin && value <= kMax; }
"""

REFLOWED = """
int other(int sum)
{
    return sum <= kMax ? sum : 0;
}
bool fits(std::int64_t
              total) noexcept
{
    return total >=
               kMin &&
           total
               <= kMax;
}
"""


class Locate(unittest.TestCase):
    def test_a_pattern_is_found_across_a_reflowed_function_and_a_renamed_local(self):
        for text, local in ((ONE_LINE, "value"), (REFLOWED, "total")):
            with self.subTest(local=local):
                changed = mutated(text, "fits", "&& @ <= kMax", r"&& \1 < kMax")
                self.assertIn(f"&& {local} < kMax", changed)
                self.assertIn("<= kMax ? sum", changed)  # the other function's is left alone
                self.assertEqual(changed.count("<="), 1)

    def test_a_pattern_that_stands_twice_is_refused(self):
        text = ("int add(int a, int b)\n{\n    if (!fits(a))\n        return 0;\n"
                "    if (!fits(a + b)) return 0;\n    return a + b;\n}\n")
        with self.assertRaisesRegex(LookupError, "stands 2 times in add"):
            locate(text, "add", "return 0;")
        self.assertIn("if (!fits(a + b)) return 1;", mutated(text, "add", "@ + @)) return 0", r"\1 + \2)) return 1"))

    def test_a_pattern_only_in_another_function_is_refused(self):
        with self.assertRaisesRegex(LookupError, "stands 0 times in fits"):
            locate(ONE_LINE, "fits", "? @ : 0")

    def test_tokens_match_whole(self):
        with self.assertRaisesRegex(LookupError, "stands 0 times"):
            locate(ONE_LINE, "fits", "value <= kMa")

    def test_a_call_is_no_definition(self):
        text = "bool fits(int);\nint use() { return fits(2) ? 1 : fits(3); }\n"
        with self.assertRaisesRegex(LookupError, "no definition of fits"):
            locate(text, "fits", "return")
        self.assertEqual(len(definitions(text, "use")), 1)

    def test_braces_in_literals_and_comments_do_not_end_a_body(self):
        text = ("int f(char16_t c)\n{\n    if (c == u'}') // a } here\n        return 1'000'000;\n"
                "    const char *s = \"}\\\"}\"; /* } */\n    return c == u'{' ? 2 : 3;\n}\nint g() { return 3; }\n")
        self.assertEqual(mutated(text, "f", "? 2 : 3", "? 3 : 2").count("? 3 : 2"), 1)
        with self.assertRaisesRegex(LookupError, "stands 0 times in f"):
            locate(text, "f", "return 3;")

    def test_constants_and_alternative_definitions(self):
        text = ("#if FAST\nint scan(int n) { return n * 8; }\n#else\nint scan(int n) { return n; }\n#endif\n"
                "constexpr std::int64_t kLow = -345;\ninline constexpr std::array<int, 3> kTable{{1, 2, 3}};\n"
                "int use() { return kTable[0] < kLow || kLow == -345; }\nint f(int limit = 5) { return limit * 2; }\n")
        self.assertIn("return n * 9;", mutated(text, "scan", "* 8", "* 9"))
        self.assertIn("kLow = -320;", mutated(text, "kLow", "-345", "-320"))
        self.assertIn("{{1, 5, 3}}", mutated(text, "kTable", "2", "5"))
        with self.assertRaisesRegex(LookupError, "stands 0 times in kLow"):
            locate(text, "kLow", "kTable")
        with self.assertRaisesRegex(LookupError, "stands 0 times in limit"):  # a default ends at its bracket
            locate(text, "limit", "2")

    def test_every_fault_stands_once_in_the_sources(self):
        for name, path, where, code, _ in FAULTS:
            with self.subTest(name):
                with open(os.path.join(ROOT, path), encoding="utf-8") as file:
                    locate(file.read(), where, code)


if __name__ == "__main__":
    unittest.main()
