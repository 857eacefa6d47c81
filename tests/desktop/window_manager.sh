#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Under a window manager (openbox), each window opens with its whole frame,
# title bar included, centred on the screen: the calculator at start, the
# chart after "XP Chart", and the calculator again after the chart's button.
# Only the chart can be maximized: a double click on its title bar does it,
# and the same click leaves the fixed-size calculator as it is.
# Usage: window_manager.sh XPCALC   (on a desktop with a window manager: tools/desktop_session.sh)
set -euo pipefail
# The buttons are pressed by name, through the accessibility bus.
press() { /usr/bin/python3 "$(dirname "$0")/../../tools/atspi_driver.py" press "$1"; }
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT
read -r screen_width screen_height < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
status=0

# The program's visible top-level window, once the window manager has framed it.
framed_window() {
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
            xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q = && { echo "$id"; return; }
        done
        sleep 0.1
    done
    echo "no framed window appeared; the program's windows:" >&2
    for id in $(xdotool search --pid "$program" 2>/dev/null); do
        echo "  $id: $(xwininfo -id "$id" | grep -E 'Map State|geometry' | tr -s ' \n' ' ')" >&2
        echo "  $(xprop -id "$id" _NET_FRAME_EXTENTS WM_STATE 2>&1 | tr '\n' ' ')" >&2
    done
    kill -0 "$program" 2>/dev/null || echo "  the program has ended" >&2
    exit 1
}

check_centred() {
    local name=$1 id=$2 x y width height left right top bottom
    sleep 0.5 # the window settles where it is put
    x=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left X: *//p')
    y=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left Y: *//p')
    width=$(xwininfo -id "$id" | sed -n 's/.*Width: *//p')
    height=$(xwininfo -id "$id" | sed -n 's/.*Height: *//p')
    IFS=', ' read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //')
    local frame_x=$((x - left)) frame_y=$((y - top))
    local frame_width=$((width + left + right)) frame_height=$((height + top + bottom))
    local want_x=$(((screen_width - frame_width) / 2)) want_y=$(((screen_height - frame_height) / 2))
    # Within a pixel: an odd leftover may fall to either side.
    if [ $((frame_x - want_x)) -lt -1 ] || [ $((frame_x - want_x)) -gt 1 ] ||
        [ $((frame_y - want_y)) -lt -1 ] || [ $((frame_y - want_y)) -gt 1 ]; then
        echo "FAIL: the $name's frame is at ($frame_x,$frame_y), size ${frame_width}x$frame_height; centred is ($want_x,$want_y)"
        status=1
    else
        echo "the $name's frame is centred at ($frame_x,$frame_y), size ${frame_width}x$frame_height"
    fi
}

size_of() { xwininfo -id "$1" | sed -n 's/.*Width: *//p; s/.*Height: *//p' | paste -sd x; }

# Double-clicks the middle of the window's title bar, which openbox takes as
# "maximize" (or "restore"), and checks whether the window manager offers
# maximizing at all and whether the window grew: at once where it may, and
# not within two seconds where it may not.
check_maximize() {
    local name=$1 id=$2 want=$3 x y width top actions before after offered=no grew=no
    x=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left X: *//p')
    y=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left Y: *//p')
    width=$(xwininfo -id "$id" | sed -n 's/.*Width: *//p')
    top=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //' | cut -d, -f3)
    actions=$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)
    [[ $actions != *_NET_WM_ACTION_MAXIMIZE_HORZ* ]] || offered=yes
    before=$(size_of "$id")
    xdotool mousemove $((x + width / 2)) $((y - top / 2)) click --repeat 2 --delay 100 1
    for _ in $(seq 20); do
        sleep 0.1
        after=$(size_of "$id")
        [ "${after%x*}" -le "${before%x*}" ] || [ "${after#*x}" -le "${before#*x}" ] || { grew=yes; break; }
    done
    kill -0 "$program" 2>/dev/null || { echo "FAIL: the program ended after a double click on the $name's title bar"; exit 1; }
    if [ "$offered" != "$want" ] || [ "$grew" != "$want" ]; then
        echo "FAIL: the $name: maximize offered: $offered, size $before before a title bar double click and $after after; wanted $want"
        status=1
    else
        echo "the $name: maximize offered: $offered; size $before before a title bar double click and $after after"
    fi
}

calculator=$(framed_window)
check_centred calculator "$calculator"
check_maximize calculator "$calculator" no
press "XP Chart"
for _ in $(seq 50); do xwininfo -id "$calculator" >/dev/null 2>&1 || break; sleep 0.1; done
chart=$(framed_window)
check_centred chart "$chart"
check_maximize chart "$chart" yes
press "Click here to return to the Calculator"
for _ in $(seq 50); do xwininfo -id "$chart" >/dev/null 2>&1 || break; sleep 0.1; done
check_centred "fresh calculator" "$(framed_window)"
exit $status
