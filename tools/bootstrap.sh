#!/usr/bin/env bash
# Installs, on Debian 12, whatever building, running and testing the
# calculator needs and is not there yet. Safe to run again: it installs only
# what is missing.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libfast-float-dev
    # faces for the windows: the fallback for Verdana, serif faces for the chart
    fonts-dejavu-core fonts-dejavu-extra
    # tests, sanitizers, fuzzing, benchmarks and lint
    clang libclang-rt-14-dev clang-format clang-tidy libgtest-dev libbenchmark-dev
    # headless windows and screenshots
    xvfb xauth x11-apps x11-utils xdotool imagemagick
    # resources, packaging and installed-file checks
    binutils-mingw-w64-x86-64 desktop-file-utils appstream dpkg-dev file librsvg2-bin debootstrap python3
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
