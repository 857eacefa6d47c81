#!/usr/bin/env bash
# Runs a command on a desktop of its own: a virtual X screen (Xvfb) of
# 1280x1024, optionally the openbox window manager, and a private D-Bus
# session with the accessibility bus that screen readers use.
# Usage: desktop_session.sh [--window-manager] -- COMMAND [ARGUMENT...]
set -euo pipefail
window_manager=false
while [ $# -gt 0 ]; do
    case $1 in
    --window-manager) window_manager=true; shift ;;
    --) shift; break ;;
    *) echo "usage: $0 [--window-manager] -- COMMAND..." >&2; exit 2 ;;
    esac
done

runtime=$(mktemp -d)
chmod 700 "$runtime"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it accepts clients.
# Without -noreset it resets whenever its last client leaves, and a client
# connecting meanwhile is refused: the first checks below would leave it so.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -noreset -screen 0 1280x1024x24 -nolisten tcp >"$runtime/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 -u "$display_fd" number || { cat "$runtime/xvfb.log" >&2; exit 1; }
export DISPLAY=:$number XDG_RUNTIME_DIR=$runtime
# On a busy machine the screen may still be setting up: wait until it answers.
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb on $DISPLAY does not answer:" >&2; cat "$runtime/xvfb.log" >&2; exit 1; }

if $window_manager; then
    openbox --sm-disable >"$runtime/openbox.log" 2>&1 &
    pids+=($!)
    # openbox is managing the screen once it has named itself on the root window.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        { echo "openbox is not managing $DISPLAY:" >&2; cat "$runtime/openbox.log" >&2; exit 1; }
fi

exec {display_fd}>&-
# The session bus starts the accessibility bus when the program or a screen
# reader first asks for it.
dbus-run-session -- "$@" 2> >(grep -v "Failed to set fd limit" >&2)
