#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Checks the tests themselves: puts a fixed list of small faults, one at a
time, into a copy of the sources, rebuilds that copy and runs the tests that
could notice. A fault the tests miss is a survivor; the target is none.
Not part of the test command: it takes a few minutes.

Usage: tools/mutate.py [--jobs N] [NAME...]   (default: every fault, 2 jobs)
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The tests that can notice a fault in the core, the windows' designs or the
# keyboard; the switching round trips are slow and none of the faults below
# touches them.
TARGETS = ["number_reader_test", "integer_conversion_test", "award_table_test", "entry_conversion_test",
           "experience_calculation_test", "calculator_window_test", "chart_window_test", "award_chart_test",
           "design_test", "assistive_test"]

# fast_float 4.0 and later flag a result beyond either end of the doubles:
# the fault named underflow_read_as_overflow is tried with such a fast_float.
NEWER_FAST_FLOAT = ("parse_number.h", """  to_float(pns.negative, am, value);
  return answer;""", """  to_float(pns.negative, am, value);
  if ((pns.mantissa != 0 && am.mantissa == 0 && am.power2 == 0) ||
      am.power2 == binary_format<T>::infinite_power()) {
    answer.ec = std::errc::result_out_of_range;
  }
  return answer;""")

# Each fault: its name, the file, the text there and what replaces it.
FAULTS = [
    ("award_table_typo", "calc/award_table.h", "275,  413,  619,", "275,  413,  691,"),
    ("exact_path_16_digits", "platform/number_reader.cpp", "kExactDigits = 15;", "kExactDigits = 16;"),
    ("exact_path_19_digits", "platform/number_reader.cpp", "kExactDigits = 15;", "kExactDigits = 19;"),
    ("vector_non_zero_flag", "platform/number_reader.cpp", "anyNonZero = anyNonZero || _mm_movemask_epi8",
     "anyNonZero = anyNonZero && _mm_movemask_epi8"),
    ("underflow_read_as_overflow", "platform/number_reader.cpp",
     "if (exponent + static_cast<std::int64_t>(m_count) > 0)", "if (result.ec != std::errc() || std::isinf(value))"),
    ("rounding_half_away_from_zero", "platform/integer_conversion.cpp",
     "return std::copysign((magnitude + kNoFractionBits) - kNoFractionBits, value);", "return std::round(value);"),
    ("sign_of_a_decimal", "platform/number_reader.cpp", "negative = *m_p == u'-';", "negative = *m_p == u'+';"),
    ("sign_of_a_16_bit_radix_value", "platform/number_reader.cpp", "value >= 0x8000U ?", "value > 0x8000U ?"),
    ("entry_beyond_the_doubles_read_as_0", "calc/entry_conversion.cpp", "return number.error();", "return Int{};"),
    ("upper_range_check_dropped", "platform/integer_conversion.cpp",
     "rounded <= static_cast<double>(std::numeric_limits<Int>::max())", "true"),
    ("product_range_check_dropped", "calc/experience_calculation.cpp", "if (!fitsInt32(product))", "if (false)"),
    ("running_total_range_check_dropped", "calc/experience_calculation.cpp", "if (!fitsInt32(sum))", "if (false)"),
    ("total_of_int32_max_refused", "calc/experience_calculation.cpp",
     "value <= std::numeric_limits<std::int32_t>::max()", "value < std::numeric_limits<std::int32_t>::max()"),
    ("total_of_int32_min_refused", "calc/experience_calculation.cpp",
     "value >= std::numeric_limits<std::int32_t>::min()", "value > std::numeric_limits<std::int32_t>::min()"),
    ("level_20_without_a_row", "calc/experience_calculation.cpp", "level.value() <= kLevels", "level.value() < kLevels"),
    ("award_0_cell_not_skipped", "calc/experience_calculation.cpp", "if (award == 0)\n            continue;", ""),
    ("chart_first_row_levels_1_to_2", "ui/chart/chart_design.h", "ChartRow{1, kLevelsOfTheFirstRow}",
     "ChartRow{1, kLevelsOfTheFirstRow - 1}"),
    ("chart_bands_shifted", "ui/chart/chart_design.h", "row.firstLevel >= 6 && (row.firstLevel / 3) % 2 == 0",
     "row.firstLevel >= 6 && (row.firstLevel / 3) % 2 == 1"),
    ("chart_draws_award_0_cells", "ui/chart/award_chart.cpp", "if (entry == 0)\n                continue;", ""),
    ("version_label_over_the_title", "ui/calculator/calculator_design.h", "{6120, 480, 375, 375}", "{5820, 480, 375, 375}"),
    ("tab_order_falls", "ui/shared/designed_window.cpp", "return controls[a].tabIndex < controls[b].tabIndex;",
     "return controls[a].tabIndex > controls[b].tabIndex;"),
    ("design_colours_dropped", "ui/shared/controls.cpp", "setTextColour(control, rgb(design.textColour));", "(void)0;"),
    ("focus_move_echoes_of_leaving", "ui/shared/text_box.cpp",
     "    const QScopedValueRollback<bool> moving(m_movingFocus, true);\n    QLineEdit::focusOutEvent",
     "    QLineEdit::focusOutEvent"),
    ("typed_ahead_key_stays_behind", "ui/shared/type_ahead.cpp",
     "    QCoreApplication::sendEvent(focus, event);\n    return true;", "    return false;"),
    ("typed_ahead_key_sent_back_from_the_parent", "ui/shared/type_ahead.cpp", " || addressee->isAncestorOf(focus))", ")"),
]


class Copy:
    """A copy of the sources as they are in this checkout, committed or not,
    with a private copy of fast_float, built in a folder of its own."""

    def __init__(self, work, jobs):
        self.work, self.jobs = work, jobs
        self.src, self.build = os.path.join(work, "src"), os.path.join(work, "build")
        self.include = os.path.join(work, "include")
        files = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"], cwd=ROOT,
                               check=True, capture_output=True).stdout.decode().split("\0")
        for name in filter(None, files):
            if os.path.isfile(os.path.join(ROOT, name)):
                os.makedirs(os.path.dirname(os.path.join(self.src, name)), exist_ok=True)
                shutil.copy2(os.path.join(ROOT, name), os.path.join(self.src, name))
        found = subprocess.run(["c++", "-x", "c++", "-M", "-"], input=b"#include <fast_float/fast_float.h>\n",
                               check=True, capture_output=True).stdout.decode()
        header = re.search(r"(\S*/fast_float/fast_float\.h)", found).group(1)
        shutil.copytree(os.path.dirname(header), os.path.join(self.include, "fast_float"))
        self.pristine = {}
        subprocess.run(["cmake", "-S", self.src, "-B", self.build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                        "-DXPCALC_BENCHMARKS=OFF", f"-DFAST_FLOAT_INCLUDE_DIR={self.include}"],
                       check=True, stdout=subprocess.DEVNULL)

    def replace(self, path, old, new):
        """Replaces the one occurrence of a text in a file of the copy; a text
        that is not there exactly once stops the run, so that a stale fault
        cannot pass unnoticed."""
        with open(path, encoding="utf-8") as file:
            text = file.read()
        if text.count(old) != 1:
            sys.exit(f"mutate.py: {old!r} stands {text.count(old)} times in {path}, not once")
        self.pristine.setdefault(path, text)
        with open(path, "w", encoding="utf-8") as file:
            file.write(text.replace(old, new))

    def newer_fast_float(self):
        name, old, new = NEWER_FAST_FLOAT
        self.replace(os.path.join(self.include, "fast_float", name), old, new)

    def restore(self):
        """Puts back the files a fault changed; being newer than what was built
        from them, just those are compiled again."""
        for path, text in self.pristine.items():
            with open(path, "w", encoding="utf-8") as file:
                file.write(text)
        self.pristine = {}

    def tests_pass(self):
        built = subprocess.run(["cmake", "--build", self.build, "-j", str(self.jobs), "--target", *TARGETS],
                               capture_output=True, text=True)
        if built.returncode != 0:
            # A design that breaks its own rules does not compile: caught.
            # Any other failure to build is a fault of this list.
            if "static assertion failed" in built.stdout + built.stderr:
                return False
            print(built.stdout[-4000:], built.stderr[-4000:], sep="\n")
            sys.exit("mutate.py: the copy does not build")
        tested = subprocess.run(["ctest", "--test-dir", self.build, "-R", f"^({'|'.join(TARGETS)})$", "-j",
                                 str(self.jobs), "--timeout", "300"], env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                                capture_output=True, text=True)
        self.log = tested.stdout
        return tested.returncode == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("names", nargs="*", help="the faults to try (default: all)")
    arguments = parser.parse_args()
    unknown = set(arguments.names) - {name for name, *_ in FAULTS}
    if unknown:
        sys.exit(f"mutate.py: no fault named {', '.join(sorted(unknown))}")
    with tempfile.TemporaryDirectory(prefix="xpcalc-mutate.") as work:
        copy = Copy(work, arguments.jobs)
        print("== The unchanged copy, with this fast_float and with one that flags underflow", flush=True)
        for newer in (False, True):
            if newer:
                copy.newer_fast_float()
            if not copy.tests_pass():
                print(getattr(copy, "log", ""))
                sys.exit("mutate.py: the tests fail without any fault")
            copy.restore()
        print("== Faults", flush=True)
        survivors = []
        for name, path, old, new in FAULTS:
            if arguments.names and name not in arguments.names:
                continue
            copy.replace(os.path.join(copy.src, path), old, new)
            if name == "underflow_read_as_overflow":
                copy.newer_fast_float()
            caught = not copy.tests_pass()
            print(f"{'caught' if caught else 'survived':9} {name}", flush=True)
            if not caught:
                survivors.append(name)
            copy.restore()
    print(f"== {len(survivors)} survivors" + (f": {' '.join(survivors)}" if survivors else ""))
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
