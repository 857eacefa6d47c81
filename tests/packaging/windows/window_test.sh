#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Runs a window test program of the Windows build under Wine (on
# wine_desktop.sh's desktop) and shows its failures and totals. Qt Test
# writes its report to a file: under Wine its standard output can stay empty.
# Usage: window_test.sh PROGRAM.exe   (the report goes to the current folder)
set -euo pipefail
program=${1:?usage: $0 PROGRAM.exe}
report=$(basename "$program" .exe).txt
rm -f "$report"
status=0
timeout 600 wine "$program" -o "$report,txt" >/dev/null 2>&1 || status=$?
if [ -f "$report" ]; then
    tr -d '\r' <"$report" | grep -a -E '^(FAIL|XPASS|QFATAL|Totals)|failure location' || true
else
    echo "$(basename "$program") left no report"
    [ "$status" -ne 0 ] || status=1
fi
exit $status
