#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Runs a command on a Windows desktop of its own under Wine: a virtual X
# screen of 1024x768 (the size stock_desktop.reg gives Wine's desktop) and the
# Wine prefix PREFIX, set up from the registry file REG when it is new, when
# REG has changed since, or always with --fresh. The windows platform plugin
# is used, whatever the caller's shell says. Every Wine process of the prefix
# ends with the command.
# Usage: wine_desktop.sh [--fresh] PREFIX REG -- COMMAND [ARGUMENT...]
set -euo pipefail
usage() { echo "usage: $0 [--fresh] PREFIX REG -- COMMAND..." >&2; exit 2; }
fresh=false
[ "${1:-}" != --fresh ] || { fresh=true; shift; }
[ $# -ge 4 ] && [ "$3" = -- ] || usage
prefix=$(realpath -m "$1")
reg=$(realpath "$2")
shift 3
source "$(dirname "${BASH_SOURCE[0]}")/../../../tools/x_server.sh"

unset QT_QPA_PLATFORM WINEPATH
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$prefix")"
x_server_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver --wait 2>/dev/null || true
    [ -z "$x_server_pid" ] || kill "$x_server_pid" 2>/dev/null || true
}
trap cleanup EXIT
x_server_start 1024x768 "$prefix.xvfb.log"

# The prefix is ready once set up from this very REG.
ready=$prefix/.xpcalc-ready
want=$(sha256sum <"$reg")
if $fresh || [ "$(cat "$ready" 2>/dev/null)" != "$want" ]; then
    rm -rf "$prefix"
    wineboot --init 2>/dev/null
    wineserver --wait
    wine regedit /S "$(winepath -w "$reg")"
    wineserver --wait
    echo "$want" >"$ready"
fi

status=0
"$@" || status=$?
exit $status
