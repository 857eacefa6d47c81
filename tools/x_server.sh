# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Sourced by the scripts that need an X server of their own (the desktop
# session of the tests and screenshots, and Wine in the Windows build's checks).
#
# x_server_start SIZE LOG
#   starts Xvfb with a screen of SIZE (WIDTHxHEIGHT, 24-bit colour), its
#   messages going to LOG, exports DISPLAY once it answers, and sets
#   x_server_pid for the caller to end it. Returns non-zero, having shown LOG,
#   if it does not start.
x_server_start() {
    local size=$1 log=$2 fd number
    # Xvfb picks a free display itself and writes its number once it accepts
    # clients, so that runs side by side never take the same one. Without
    # -noreset it resets whenever its last client leaves, and a client
    # connecting meanwhile is refused: the first check below would leave it so.
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -noreset -screen 0 "${size}x24" -nolisten tcp >"$log" 2>&1 &
    x_server_pid=$!
    # A busy machine (a build on both cores) can take a while to start it.
    if ! read -r -t 30 -u "$fd" number; then
        exec {fd}>&-
        echo "Xvfb did not start:" >&2
        cat "$log" >&2
        return 1
    fi
    exec {fd}>&-
    export DISPLAY=:$number
    # It may still be setting its screen up: wait until it answers.
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb on $DISPLAY does not answer:" >&2
    cat "$log" >&2
    return 1
}
