#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Runs a command on a desktop of its own: a virtual X screen (Xvfb), of
# 1280x1024 unless --screen says otherwise, optionally the openbox window
# manager, and a private D-Bus session with the accessibility bus that screen
# readers use. The command sees XPCALC_DESKTOP_SESSION=1.
# Usage: tools/desktop_session.sh [--window-manager] [--screen WIDTHxHEIGHT] -- COMMAND [ARGUMENT...]
set -euo pipefail
usage() { echo "usage: $0 [--window-manager] [--screen WIDTHxHEIGHT] -- COMMAND..." >&2; exit 2; }
window_manager=false
screen=1280x1024
while [ $# -gt 0 ]; do
    case $1 in
    --window-manager) window_manager=true; shift ;;
    --screen) [[ ${2:-} =~ ^[0-9]+x[0-9]+$ ]] || usage; screen=$2; shift 2 ;;
    --) shift; break ;;
    *) usage ;;
    esac
done
[ $# -gt 0 ] || usage
source "$(dirname "${BASH_SOURCE[0]}")/x_server.sh"

runtime=$(mktemp -d)
chmod 700 "$runtime"
pids=()
x_server_pid=""
cleanup() {
    for pid in "${pids[@]}" $x_server_pid; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT

x_server_start "$screen" "$runtime/xvfb.log" || exit 1
export XDG_RUNTIME_DIR=$runtime XPCALC_DESKTOP_SESSION=1

if $window_manager; then
    # Debian's own settings, not the user's: a test double-clicks title bars.
    openbox --sm-disable --config-file /etc/xdg/openbox/rc.xml >"$runtime/openbox.log" 2>&1 &
    pids+=($!)
    # openbox is managing the screen once it has named itself on the root window.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        { echo "openbox is not managing $DISPLAY:" >&2; cat "$runtime/openbox.log" >&2; exit 1; }
fi

# The session bus starts the accessibility bus when the program or a screen
# reader first asks for it.
dbus-run-session -- "$@" 2> >(grep -v "Failed to set fd limit" >&2)
