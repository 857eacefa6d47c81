#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Checks the tests themselves: puts a fixed list of small faults, one at a
time, into a copy of the sources, rebuilds that copy and runs the tests that
could notice. A fault the tests miss is a survivor; the target is none.
Each fault caught is reported with the tests that caught it.
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

from code_locator import mutated

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The tests that can notice a fault in the core, the designs or the windows;
# the switching round trips are slow and none of the faults below touches
# them. The design test builds the designs' export it reads.
TESTS = ["number_reader_test", "integer_conversion_test", "award_table_test", "entry_conversion_test",
         "experience_calculation_test", "calculator_window_test", "award_chart_test",
         "design_test", "assistive_test"]

# Each fault: its name, the file, the function, class or constant it lives
# in, a pattern of the code there and what replaces the code it matches. A
# pattern is code whose tokens may stand apart, across lines too; @ stands for
# any name, which the replacement takes back as \1, \2, ... in order. So a
# fault outlives a reformat or a renamed local, but a pattern that stands
# other than once where it is looked for stops the run.
FAULTS = [
    ("award_table_typo", "calc/award_table.h", "kAwardTable", "275, 413, 619,", "275, 413, 691,"),
    ("exact_path_16_digits", "platform/number_reader.cpp", "convert", "@ = 15;", r"\1 = 16;"),
    ("exact_path_19_digits", "platform/number_reader.cpp", "convert", "@ = 15;", r"\1 = 19;"),
    ("dropped_non_zero_digits_forgotten", "platform/number_reader.cpp", "dropDigits", "@ |= *@ >= u'1'",
     r"\1 &= *\2 >= u'1'"),
    ("blanks_among_dropped_digits_counted", "platform/number_reader.cpp", "dropDigits",
     "@ += static_cast<std::int64_t>(@);", r"\1 += 1;"),
    ("underflow_read_as_overflow", "platform/number_reader.cpp", "readDecimal",
     "if (@ < kUnderflowMagnitude) return 0.0;", r"if (\1 < kUnderflowMagnitude) return Overflow{};"),
    ("subnormals_read_as_0", "platform/number_reader.cpp", "kUnderflowMagnitude", "-345", "-320"),
    ("sign_of_a_decimal", "platform/number_reader.cpp", "readDecimal", "@ = *m_p == u'-'; ++m_p; } bool",
     r"\1 = *m_p == u'+'; ++m_p; } bool"),
    ("sign_of_an_exponent", "platform/number_reader.cpp", "readDecimal", "@ = *m_p == u'-'; ++m_p; } std::int64_t",
     r"\1 = *m_p == u'+'; ++m_p; } std::int64_t"),
    ("sign_of_a_16_bit_radix_value", "platform/number_reader.cpp", "readRadix", "@ >= 0x8000U ?", r"\1 > 0x8000U ?"),
    ("rounding_half_away_from_zero", "platform/integer_conversion.cpp", "roundHalfToEven",
     "return std::copysign((@ + @) - @, @);", r"return std::round(\4);"),
    ("upper_range_check_dropped", "platform/integer_conversion.cpp", "roundTo",
     "@ <= static_cast<double>(std::numeric_limits<@>::max())", "true"),
    ("entry_beyond_the_doubles_read_as_0", "calc/entry_conversion.cpp", "convert", "return @.error();", "return 0;"),
    ("product_range_check_dropped", "calc/experience_calculation.cpp", "calculate",
     "if (!fitsInt32(@)) return OverflowError{OverflowError::Site::Product",
     "if (false) return OverflowError{OverflowError::Site::Product"),
    ("running_total_range_check_dropped", "calc/experience_calculation.cpp", "calculate",
     "if (!fitsInt32(@)) return OverflowError{OverflowError::Site::RunningTotal",
     "if (false) return OverflowError{OverflowError::Site::RunningTotal"),
    ("total_of_int32_max_refused", "calc/experience_calculation.cpp", "fitsInt32",
     "<= std::numeric_limits<std::int32_t>::max()", "< std::numeric_limits<std::int32_t>::max()"),
    ("total_of_int32_min_refused", "calc/experience_calculation.cpp", "fitsInt32",
     ">= std::numeric_limits<std::int32_t>::min()", "> std::numeric_limits<std::int32_t>::min()"),
    ("level_20_without_a_row", "calc/experience_calculation.cpp", "calculate", "<= kLevels", "< kLevels"),
    ("award_0_cell_not_skipped", "calc/experience_calculation.cpp", "calculate", "if (@ == 0) continue;", ""),
    ("chart_first_row_levels_1_to_2", "design/chart_design.h", "chartRow", "ChartRow{1, kLevelsOfTheFirstRow}",
     "ChartRow{1, kLevelsOfTheFirstRow - 1}"),
    ("chart_bands_shifted", "design/chart_design.h", "isBanded", "% 2 == 0", "% 2 == 1"),
    ("chart_bands_merge_apart_runs", "design/chart_design.h", "chartBands", "!@.empty() && @.back().lastRow == @ - 1",
     r"!\1.empty()"),
    ("chart_row_label_joined_by_a_slash", "design/chart_design.h", "chartRowLabel", '+ "-" +', '+ "/" +'),
    ("version_label_over_the_title", "design/calculator_design.h", "controls", "{6120, 480, 375, 375}",
     "{5820, 480, 375, 375}"),
    ("overflow_of_the_level_put_in_the_total", "design/calculator_design.h", "overflowControl",
     "indexOf(kCalculatorControls, Role::PartyLevel)", "indexOf(kCalculatorControls, Role::Total)"),
    ("overflow_of_a_count_put_in_the_next_box", "design/calculator_design.h", "overflowControl",
     "Role::Count, @.challengeRating)", r"Role::Count, \1.challengeRating % kChallengeRatings + 1)"),
    ("twips_to_pixels_a_pixel_over", "design/design.h", "twipsToPixels", "return @ / kTwipsPerPixel;",
     r"return \1 / kTwipsPerPixel + 1;"),
    ("place_in_window_ignores_the_frame", "design/design.h", "placeInWindow", "std::size_t @ = containerOf(@, @);",
     r"std::size_t \1 = kNoControl;"),
    ("chart_not_a_focus_stop", "design/design.h", "takesFocus", "|| kind == Kind::Chart", ""),
    ("face_paints_the_highlight", "design/colours.h", "kPaints", 'Paint::Face, "face", SystemColour::ButtonFace',
     'Paint::Face, "face", SystemColour::ButtonHighlight'),
    ("calculator_ground_paints_the_workspace", "design/colours.h", "kPaints",
     'Paint::CalculatorGround, "calculatorGround", SystemColour::ActiveBorder',
     'Paint::CalculatorGround, "calculatorGround", SystemColour::AppWorkspace'),
    ("chart_draws_award_0_cells", "ui/chart/award_chart.cpp", "drawGrid", "if (@ == 0) continue;", ""),
    ("tab_order_falls", "ui/shared/designed_window.cpp", "build", "return @[@].tabIndex < @[@].tabIndex;",
     r"return \1[\2].tabIndex > \3[\4].tabIndex;"),
    ("design_colours_dropped", "ui/shared/controls.cpp", "buildControls", "setTextColour(@, rgb(@.textColour));",
     "(void)0;"),
    ("focus_move_echoes_of_leaving", "ui/shared/text_box.cpp", "focusOutEvent",
     "const QScopedValueRollback<bool> @(m_movingFocus, true);", ""),
    ("typed_ahead_key_stays_behind", "ui/shared/type_ahead.cpp", "eventFilter",
     "QCoreApplication::sendEvent(@, @); return true;", "return false;"),
    ("typed_ahead_key_sent_back_from_the_parent", "ui/shared/type_ahead.cpp", "eventFilter", "|| @->isAncestorOf(@))",
     ")"),
]


def failed_tests(ctest_output):
    """The tests ctest's summary lists as failed, timed out or not run."""
    return re.findall(r"^\s*\d+ - (\S+) \(", ctest_output, re.M)


class Copy:
    """A copy of the sources as they are in this checkout, committed or not,
    built in a folder of its own."""

    def __init__(self, work, jobs):
        self.jobs = jobs
        self.src, self.build = os.path.join(work, "src"), os.path.join(work, "build")
        files = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"], cwd=ROOT,
                               check=True, capture_output=True).stdout.decode().split("\0")
        for name in filter(None, files):
            if os.path.isfile(os.path.join(ROOT, name)):
                os.makedirs(os.path.dirname(os.path.join(self.src, name)), exist_ok=True)
                shutil.copy2(os.path.join(ROOT, name), os.path.join(self.src, name))
        subprocess.run(["cmake", "-S", self.src, "-B", self.build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
                        "-DXPCALC_BENCHMARKS=OFF"], check=True, stdout=subprocess.DEVNULL)

    def read(self, path):
        with open(os.path.join(self.src, path), encoding="utf-8") as file:
            return file.read()

    def write(self, path, text):
        """Being newer than what was built from it, just the file written is
        compiled again."""
        with open(os.path.join(self.src, path), "w", encoding="utf-8") as file:
            file.write(text)

    def failing_tests(self):
        """The tests that fail on the copy as it stands."""
        built = subprocess.run(["cmake", "--build", self.build, "-j", str(self.jobs), "--target", *TESTS],
                               capture_output=True, text=True)
        if built.returncode != 0:
            # A design that breaks its own rules does not compile: caught.
            # Any other failure to build is a fault of this list.
            if "static assertion failed" in built.stdout + built.stderr:
                return ["a static assertion"]
            print(built.stdout[-4000:], built.stderr[-4000:], sep="\n")
            sys.exit("mutate.py: the copy does not build")
        tested = subprocess.run(["ctest", "--test-dir", self.build, "-R", f"^({'|'.join(TESTS)})$", "-j",
                                 str(self.jobs), "--timeout", "300"], env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                                capture_output=True, text=True)
        self.log = tested.stdout
        return (failed_tests(tested.stdout) or ["ctest"]) if tested.returncode != 0 else []


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("names", nargs="*", help="the faults to try (default: all)")
    arguments = parser.parse_args()
    unknown = set(arguments.names) - {name for name, *_ in FAULTS}
    if unknown:
        sys.exit(f"mutate.py: no fault named {', '.join(sorted(unknown))}")
    faults = [fault for fault in FAULTS if not arguments.names or fault[0] in arguments.names]
    with tempfile.TemporaryDirectory(prefix="xpcalc-mutate.") as work:
        copy = Copy(work, arguments.jobs)
        # Every fault is found before the first build, so that a stale one
        # stops the run at once.
        changed = {}
        for name, path, where, code, replacement in faults:
            try:
                changed[name] = mutated(copy.read(path), where, code, replacement)
            except LookupError as error:
                sys.exit(f"mutate.py: fault {name}: {path}: {error}")
        print("== The unchanged copy", flush=True)
        if copy.failing_tests():
            print(copy.log)
            sys.exit("mutate.py: the tests fail without any fault")
        print("== Faults", flush=True)
        survivors = []
        for name, path, *_ in faults:
            pristine = copy.read(path)
            copy.write(path, changed[name])
            caught_by = copy.failing_tests()
            copy.write(path, pristine)
            # Which tests catch a fault shows where they overlap, and which one alone guards it.
            print(f"caught    {name} by {', '.join(caught_by)}" if caught_by else f"survived  {name}", flush=True)
            survivors += [] if caught_by else [name]
    print(f"== {len(faults)} faults, {len(survivors)} survivors" + (f": {' '.join(survivors)}" if survivors else ""))
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
