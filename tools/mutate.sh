#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Checks the tests themselves: puts a fixed list of small faults, one at a
# time, into a copy of the sources, rebuilds that copy and runs the tests that
# could notice. A fault the tests miss is a survivor; the target is none.
# Not part of the test command: it takes a few minutes.
#
# Usage: tools/mutate.sh            (set MUTATE_JOBS to build with more than 2 jobs)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${MUTATE_JOBS:-2}

work=$(mktemp -d "${TMPDIR:-/tmp}/xpcalc-mutate.XXXXXX")
trap 'rm -rf "$work"' EXIT
src=$work/src
build=$work/build

# The sources as they are in this checkout, committed or not.
mkdir -p "$src"
git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$src"

# A private copy of fast_float, so that one fault can be tried with a fast_float
# that reports underflow the way 4.0 and later do.
fast_float_header=$(echo '#include <fast_float/fast_float.h>' | c++ -x c++ -M - |
    grep -o '[^ ]*/fast_float/fast_float\.h' | sort -u)
mkdir -p "$work/include"
cp -r "$(dirname "$fast_float_header")" "$work/include/fast_float"

# The tests that can notice a fault in the core or the chart; the switching
# round trips are slow and none of the faults below touches them.
targets=(number_reader_test integer_conversion_test award_table_test entry_conversion_test
    experience_calculation_test calculator_window_test chart_window_test award_chart_test)

cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DXPCALC_BENCHMARKS=OFF \
    -DFAST_FLOAT_INCLUDE_DIR="$work/include" > "$work/configure.log"

# Builds and tests the copy as it stands; true when every test passes.
tests_pass() {
    if ! cmake --build "$build" -j "$jobs" --target "${targets[@]}" > "$work/build.log" 2>&1; then
        cat "$work/build.log" >&2
        echo "mutate.sh: the copy does not build" >&2
        exit 2
    fi
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -R "^($(IFS='|'; echo "${targets[*]}"))\$" -j "$jobs" --timeout 300 \
        > "$work/test.log" 2>&1
}

# Replaces the one occurrence of a text in a file of the copy; stops the run if
# the text is not there exactly once, so a stale entry cannot pass unnoticed.
changed=()
replace() {
    changed+=("$1")
    python3 - "$1" "$2" "$3" <<'EOF'
import sys
path, old, new = sys.argv[1:]
text = open(path).read()
if text.count(old) != 1:
    sys.exit(f"mutate.sh: {old!r} stands {text.count(old)} times in {path}, not once")
open(path, "w").write(text.replace(old, new))
EOF
}

# fast_float 4.0 and later flag a result beyond either end of the doubles.
newer_fast_float() {
    replace "$work/include/fast_float/parse_number.h" \
        '  to_float(pns.negative, am, value);
  return answer;' \
        '  to_float(pns.negative, am, value);
  if ((pns.mantissa != 0 && am.mantissa == 0 && am.power2 == 0) ||
      am.power2 == binary_format<T>::infinite_power()) {
    answer.ec = std::errc::result_out_of_range;
  }
  return answer;'
}

# Puts back the files a fault changed. The copies put back are newer than what
# was built from the faulty ones, so the next build recompiles just those.
pristine=$work/pristine
mkdir -p "$pristine"
cp -r "$src" "$pristine/src"
cp -r "$work/include" "$pristine/include"
restore() {
    local file
    for file in "${changed[@]}"; do
        cp "$pristine/${file#"$work"/}" "$file"
    done
    changed=()
}

echo "== The unchanged copy, with this fast_float and with one that flags underflow"
tests_pass || { cat "$work/test.log"; echo "mutate.sh: the tests fail without any fault" >&2; exit 2; }
newer_fast_float
tests_pass || { cat "$work/test.log"; echo "mutate.sh: the tests fail with a newer fast_float" >&2; exit 2; }
restore

survivors=()
# mutant NAME FILE FROM TO: the fault is FILE with FROM replaced by TO.
mutant() {
    local name=$1
    replace "$src/$2" "$3" "$4"
    if [ "$name" = underflow_read_as_overflow ]; then
        newer_fast_float
    fi
    if tests_pass; then
        echo "survived  $name"
        survivors+=("$name")
    else
        echo "caught    $name"
    fi
    restore
}

echo "== Faults"
mutant award_table_typo calc/award_table.h \
    '275,  413,  619,' '275,  413,  691,'
mutant exact_path_16_digits platform/number_reader.cpp \
    'kExactDigits = 15;' 'kExactDigits = 16;'
mutant exact_path_19_digits platform/number_reader.cpp \
    'kExactDigits = 15;' 'kExactDigits = 19;'
mutant vector_non_zero_flag platform/number_reader.cpp \
    'anyNonZero = anyNonZero || _mm_movemask_epi8' 'anyNonZero = anyNonZero && _mm_movemask_epi8'
mutant underflow_read_as_overflow platform/number_reader.cpp \
    'if (exponent + static_cast<std::int64_t>(m_count) > 0)' 'if (result.ec != std::errc() || std::isinf(value))'
mutant rounding_half_away_from_zero platform/integer_conversion.cpp \
    'return std::copysign((magnitude + kNoFractionBits) - kNoFractionBits, value);' 'return std::round(value);'
mutant sign_of_a_decimal platform/number_reader.cpp \
    "negative = *m_p == u'-';" "negative = *m_p == u'+';"
mutant sign_of_a_16_bit_radix_value platform/number_reader.cpp \
    'value >= 0x8000U ?' 'value > 0x8000U ?'
mutant entry_beyond_the_doubles_read_as_0 calc/entry_conversion.cpp \
    'return number.error();' 'return Int{};'
mutant upper_range_check_dropped platform/integer_conversion.cpp \
    'rounded <= static_cast<double>(std::numeric_limits<Int>::max())' 'true'
mutant product_range_check_dropped calc/experience_calculation.cpp \
    'if (!fitsInt32(product))' 'if (false)'
mutant running_total_range_check_dropped calc/experience_calculation.cpp \
    'if (!fitsInt32(sum))' 'if (false)'
mutant total_of_int32_max_refused calc/experience_calculation.cpp \
    'value <= std::numeric_limits<std::int32_t>::max()' 'value < std::numeric_limits<std::int32_t>::max()'
mutant total_of_int32_min_refused calc/experience_calculation.cpp \
    'value >= std::numeric_limits<std::int32_t>::min()' 'value > std::numeric_limits<std::int32_t>::min()'
mutant level_20_without_a_row calc/experience_calculation.cpp \
    'level.value() <= kLevels' 'level.value() < kLevels'
mutant award_0_cell_not_skipped calc/experience_calculation.cpp \
    'if (award == 0)
            continue;' ''
mutant chart_first_row_levels_1_to_2 ui/award_chart.cpp \
    'RowLevels{1, kLevelsOfTheFirstRow}' 'RowLevels{1, kLevelsOfTheFirstRow - 1}'
mutant chart_draws_award_0_cells ui/award_chart.cpp \
    'if (entry == 0)
                continue;' ''

echo "== ${#survivors[@]} survivors${survivors[*]:+: ${survivors[*]}}"
[ ${#survivors[@]} -eq 0 ]
