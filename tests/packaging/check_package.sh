#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Installs the Debian package with apt on a clean, minimal Debian 12 system
# made by debootstrap, starts the program there, and opens its manual page
# with man, as a user would. Everything it makes as root stays in its own
# temporary directory.
# Usage: tests/packaging/check_package.sh PACKAGE.deb   (needs root; build the package
#        first, as yourself: bash tools/package.sh build)
set -euo pipefail
deb=${1:?usage: $0 PACKAGE.deb}
[ -f "$deb" ] || { echo "no package at $deb" >&2; exit 1; }

root=$(mktemp -d /tmp/xpcalc-clean-system.XXXXXX)
cleanup() {
    umount "$root/proc" 2>/dev/null || true
    rm -rf "$root"
}
trap cleanup EXIT

echo "== A clean Debian 12 system in $root"
debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >"$root.log" 2>&1 ||
    { tail -20 "$root.log"; exit 1; }
rm -f "$root.log"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"

echo "== Installing $(basename "$deb") there"
cp "$deb" "$root/tmp/xpcalc.deb"
log=$root/tmp/install.log
if ! { chroot "$root" apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive chroot "$root" apt-get install -y -qq --no-install-recommends /tmp/xpcalc.deb; } \
    >"$log" 2>&1; then
    cat "$log"
    exit 1
fi

echo "== Starting the installed program"
# It shows its window and waits for the user, so still running after a few
# seconds, with nothing on the console, is a good start.
status=0
mkdir -m 700 "$root/tmp/runtime"
output=$(chroot "$root" env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/runtime timeout 5 /usr/bin/xpcalc 2>&1) ||
    status=$?
if [ "$status" -ne 124 ] || [ -n "$output" ]; then
    echo "the installed program did not start cleanly (exit $status):"
    echo "$output"
    exit 1
fi

echo "== Opening its manual page"
if ! DEBIAN_FRONTEND=noninteractive chroot "$root" apt-get install -y -qq --no-install-recommends man-db \
    >"$log" 2>&1; then
    cat "$log"
    exit 1
fi
status=0
page=$(chroot "$root" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 MANWIDTH=80 man --warnings -P cat xpcalc \
    2>"$root/tmp/man.err") || status=$?
if [ "$status" -ne 0 ] || [[ $page != *"xpcalc - experience point calculator"* ]] || [ -s "$root/tmp/man.err" ]; then
    echo "man xpcalc did not show the manual page cleanly (exit $status):"
    cat "$root/tmp/man.err"
    echo "$page"
    exit 1
fi
echo "package: installs on a clean system, starts, and man xpcalc opens its page"
