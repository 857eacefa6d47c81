#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Runs a Windows program under Wine, in the given prefix, which it sets up on
# first use. CTest runs the tests of a Windows build through this, side by
# side, so the first to come sets the prefix up while the others wait.
# Usage: wine_run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
prefix=$(realpath -m "$1")
shift

# Console programs need no display; the empty overrides keep Wine from
# offering to install .NET and a browser engine when it sets up the prefix.
# The runtime is linked in statically, so no DLL path is needed.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# A prefix is ready once fully set up; one left half-made by an interrupted
# set-up is made afresh.
ready=$prefix/.xpcalc-ready
if [ ! -f "$ready" ]; then
    mkdir -p "$(dirname "$prefix")"
    exec 9>"$prefix.lock"
    flock 9
    if [ ! -f "$ready" ]; then
        rm -rf "$prefix"
        wineboot --init >/dev/null 2>&1
        wineserver --wait
        touch "$ready"
    fi
    exec 9>&-
fi
exec wine "$@"
