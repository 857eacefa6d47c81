#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Installs a build into a scratch folder and checks that a desktop finds
# everything there: the program, its menu entry, its metadata and its icons;
# and, unless the build leaves them to the Debian packaging, its manual page,
# copyright file and changelog.
# Usage: check_install.sh BUILD_DIR [with-docs|without-docs]
set -euo pipefail
build=$1
docs=${2:-with-docs}
case $docs in
with-docs | without-docs) ;;
*) echo "usage: $0 BUILD_DIR [with-docs|without-docs]" >&2; exit 2 ;;
esac
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

id=example.kestrow.xpcalc
expected=(
    usr/bin/xpcalc
    "usr/share/applications/$id.desktop"
    "usr/share/metainfo/$id.metainfo.xml"
    "usr/share/icons/hicolor/scalable/apps/$id.svg"
)
docs_files=(usr/share/man/man1/xpcalc.1.gz usr/share/doc/xpcalc/copyright usr/share/doc/xpcalc/changelog.gz)
[ "$docs" = without-docs ] || expected+=("${docs_files[@]}")
for size in 16 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
status=0
for file in "${expected[@]}"; do
    [ -e "$root/$file" ] || { echo "missing: /$file"; status=1; }
done
[ -x "$root/usr/bin/xpcalc" ] || { echo "not executable: /usr/bin/xpcalc"; status=1; }
# Left to the Debian packaging, they must not come twice.
if [ "$docs" = without-docs ]; then
    for file in "${docs_files[@]}"; do
        [ ! -e "$root/$file" ] || { echo "installed, though left to the Debian packaging: /$file"; status=1; }
    done
fi
for size in 16 32 48 64 128 256; do
    actual=$(file -b "$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
    [[ $actual == *"$size x $size"* ]] || { echo "icon ${size}x${size} is $actual"; status=1; }
done
desktop-file-validate "$root/usr/share/applications/$id.desktop" || status=1
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null || status=1
[ $status -eq 0 ] && echo "installed layout: as expected"
exit $status
