#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Screenshots of the real program on a virtual X screen of its own: the
# calculator fresh and after a calculation, and the chart window after
# "XP Chart". The controls are found by their names, on the accessibility bus.
# Usage: tools/screenshot.sh [OUT_DIR]   (default build/screenshots; needs a build)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -n "${XPCALC_DESKTOP_SESSION:-}" ] ||
    exec bash tests/desktop/desktop_session.sh --screen 800x600 -- bash tools/screenshot.sh "$@"
out=${1:-build/screenshots}
mkdir -p "$out"

driver() { /usr/bin/python3 -B tests/desktop/atspi_driver.py "$@"; }
shot() {
    sleep 0.5 # painted in full
    import -window root "$out/$1.png"
}

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 build/xpcalc &
app=$!
trap 'kill $app 2>/dev/null && wait $app 2>/dev/null || true' EXIT

driver wait "Calculate Experience"
shot calculator-fresh
driver set-text "Encounters at CR 3" 2
driver set-text "Party level" 4
driver press "Calculate Experience"
driver expect "Total experience" 1600 # 2 encounters at CR 3 for level 4
shot calculator
driver press "XP Chart"
driver wait "Click here to return to the Calculator"
shot chart
echo "screenshots in $out"
