#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Counts the instructions each start-up probe runs from process start to its
# first paint, under valgrind's callgrind, and splits them into the phases that
# dominate a Qt program's start-up. Counts are the same on every run, unlike
# wall times on a shared machine, so they show what a change to start-up gains
# and where the calculator spends more than the yardsticks of windows_bench.
# Usage: tools/startup_profile.sh [BUILD_DIR]   (default build; needs valgrind
# and a build with the benchmarks)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
command -v valgrind >/dev/null || { echo "valgrind is missing: apt-get install valgrind" >&2; exit 1; }
for probe in xpcalc_probe minimal_probe; do
    [ -x "$build/bench/$probe" ] || { echo "$build/bench/$probe is missing: build with the benchmarks" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# Profiles one probe; leaves its callgrind_annotate listing (inclusive counts,
# with callers and call counts) in $work/NAME.txt.
profile() {
    local name=$1
    shift
    valgrind --tool=callgrind --callgrind-out-file="$work/$name.out" "$@" >/dev/null 2>"$work/$name.log" ||
        { cat "$work/$name.log" >&2; exit 1; }
    callgrind_annotate --inclusive=yes --tree=caller --threshold=100 "$work/$name.out" >"$work/$name.txt" 2>/dev/null
}
profile xpcalc "$build/bench/xpcalc_probe"
profile text "$build/bench/minimal_probe" text
profile empty "$build/bench/minimal_probe"

# The phases, each the inclusive count of the function that does its work;
# none runs inside another here.
phases=(
    "loading and linking libraries|_dl_start "
    "reading the font configuration and database|QFontconfigDatabase::populateFontDatabase()"
    "setting up font engines|QFontconfigDatabase::setupFontEngine("
    "finding fallback fonts|QFontconfigDatabase::fallbacksForFamily("
    "shaping text, with the glyph metrics it loads|QTextEngine::shapeTextWithHarfbuzzNG("
    "rendering glyphs|QFontEngineFT::loadGlyphFor("
    "decoding pictures and the icon|QImageReader::read()"
)

# Prints "COUNT CALLS" for a phase of one listing. In a caller tree each
# function has a block: its callers' lines, with their calls, then its own
# line, marked "*", with its inclusive count.
phase_count() {
    awk -v key="$2" '
        function number(text) { gsub(/,/, "", text); return text + 0 }
        key == "PROGRAM TOTALS" && index($0, key) { printf "%d 0\n", number($1); found = 1; exit }
        /^$/ { calls = 0; next }
        /^ *[0-9,]+ \([ 0-9.]+%\)  < / && match($0, /\([0-9]+x\)/) { calls += substr($0, RSTART + 1, RLENGTH - 3) }
        /^ *[0-9,]+ \([ 0-9.]+%\)  \*  / && index($0, key) { printf "%d %d\n", number($1), calls; found = 1; exit }
        END { if (!found) print "0 0" }
    ' "$work/$1.txt"
}

# Counts in millions, with the calls where there are any.
cell() {
    awk -v c="$1" -v n="$2" 'BEGIN { if (n > 0) printf "%.1f M (%dx)", c / 1e6, n; else printf "%.1f M", c / 1e6 }'
}

names=(xpcalc text empty)
declare -A total rest
for name in "${names[@]}"; do
    read -r "total[$name]" _ < <(phase_count "$name" "PROGRAM TOTALS")
    rest[$name]=${total[$name]}
done
printf '%-46s %18s %18s %18s\n' "instructions to the first paint" xpcalc "one line of text" "empty window"
for phase in "${phases[@]}"; do
    row=$(printf '%-46s' "${phase%%|*}")
    for name in "${names[@]}"; do
        read -r count calls < <(phase_count "$name" "${phase#*|}")
        rest[$name]=$((rest[$name] - count))
        row+=$(printf ' %18s' "$(cell "$count" "$calls")")
    done
    echo "$row"
done
printf '%-46s %18s %18s %18s\n' "everything else" "$(cell "${rest[xpcalc]}" 0)" "$(cell "${rest[text]}" 0)" \
    "$(cell "${rest[empty]}" 0)"
printf '%-46s %18s %18s %18s\n' "all" "$(cell "${total[xpcalc]}" 0)" "$(cell "${total[text]}" 0)" \
    "$(cell "${total[empty]}" 0)"
awk -v c="${total[xpcalc]}" -v t="${total[text]}" -v e="${total[empty]}" 'BEGIN {
    printf "xpcalc runs %.2f times the instructions of the window with one line of text, %.2f times the empty window'"'"'s\n",
        c / t, c / e }'
