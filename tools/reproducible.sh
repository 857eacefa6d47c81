#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Checks that the packages are reproducible: builds the last commit twice,
# from two fresh clones in folders of different names and depths, as the
# README builds it (a Release build, then the Debian package; the program for
# Windows, its zip and its installer), and compares what comes out byte for byte: the .deb,
# the xpcalc.exe in the Windows zip, the zip itself and the installer. Prints their
# checksums; fails, showing diffoscope's account where it is installed, if any
# pair differs. Takes a minute or two once Qt for Windows is there (built
# and cached by tools/qt_build.sh windows on first use).
# Usage: tools/reproducible.sh   (commit first: it builds HEAD)
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d "${TMPDIR:-/tmp}/xpcalc-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
jobs=$(nproc)
[ "$jobs" -le 2 ] || jobs=2

# Both clones are made first, so that a commit made meanwhile cannot slip
# into one of them.
commit=$(git rev-parse HEAD)
clones=("$work/a/xpcalc" "$work/second/build-here/xpcalc-copy")
for clone in "${clones[@]}"; do
    git clone -q --no-local . "$clone"
    git -C "$clone" checkout -q --detach "$commit"
done
for clone in "${clones[@]}"; do
    echo "== Building ${commit:0:7} in $clone"
    (
        cd "$clone"
        cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DXPCALC_TESTS=OFF -DXPCALC_BENCHMARKS=OFF \
            >build.log
        cmake --build build -j "$jobs" >>build.log
        bash tools/package.sh build >>build.log
        bash tools/windows.sh --packages-only >>build.log
        mkdir -p unzipped
        unzip -q -d unzipped build-windows/xpcalc-*-win64.zip
    ) || { tail -30 "$clone/build.log"; exit 1; }
done

status=0
compare() {
    local name=$1 first=$2 second=$3
    local sums
    sums=$(sha256sum "$first" "$second" | cut -d' ' -f1 | uniq)
    if [ "$(wc -l <<<"$sums")" -eq 1 ]; then
        echo "identical  $name  sha256 $sums"
    else
        echo "DIFFERENT  $name"
        sha256sum "$first" "$second"
        ! command -v diffoscope >/dev/null || diffoscope "$first" "$second" | head -60 || true
        status=1
    fi
}
a=${clones[0]} b=${clones[1]}
compare "$(basename "$a"/build/package/xpcalc_*.deb)" "$a"/build/package/xpcalc_*.deb "$b"/build/package/xpcalc_*.deb
compare xpcalc.exe "$a"/unzipped/*/xpcalc.exe "$b"/unzipped/*/xpcalc.exe
compare "$(basename "$a"/build-windows/xpcalc-*-win64.zip)" "$a"/build-windows/xpcalc-*-win64.zip \
    "$b"/build-windows/xpcalc-*-win64.zip
compare "$(basename "$a"/build-windows/xpcalc-*-win64.msi)" "$a"/build-windows/xpcalc-*-win64.msi \
    "$b"/build-windows/xpcalc-*-win64.msi
exit $status
