#!/usr/bin/env bash
# Screenshots of the real program on a virtual X screen: the calculator window
# after a calculation, and the chart window after "XP Chart".
# Usage: tools/screenshot.sh [OUT_DIR]   (default build/screenshots; needs a build)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -noreset -screen 0 800x600x24 -nolisten tcp &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb build/xpcalc &
app=$!
window=""
for _ in $(seq 50); do
    window=$(xdotool search --name "Kestrow's Experience Calculator" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the calculator window did not appear" >&2; exit 1; }
sleep 0.5

# Clicks at a point given in the window's client pixels.
click() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + $1)) $((Y + $2)) click 1
    sleep 0.4
}
type_into() { click "$1" "$2"; xdotool key ctrl+a type "$3"; }

import -window root "$out/calculator-fresh.png"
type_into 20 72 "2"     # cr3
type_into 368 66 "4"    # party
click 300 108           # Calculate Experience
import -window root "$out/calculator.png"
click 400 293           # XP Chart
window=$(xdotool search --name "Kestrow's Experience Calculator" | head -1)
import -window root "$out/chart.png"
echo "screenshots in $out"
