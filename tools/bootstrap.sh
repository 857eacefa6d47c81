#!/usr/bin/env bash
# Installs, on Debian 12, whatever the calculator needs and is not there yet.
# Safe to run again: it installs only what is missing.
# Usage: tools/bootstrap.sh [run|test]
#   run   what building and running the program need (the default)
#   test  that, and everything the test command uses
set -euo pipefail
mode=${1:-run}

run_packages=(
    cmake ninja-build make g++ qt6-base-dev libgl-dev libfast-float-dev
    # faces the windows use: the fallback for Verdana, and a serif face with
    # the metrics of Times for the award chart
    fonts-dejavu-core fonts-liberation2
)
test_packages=(
    # tests, sanitizers, fuzzing, benchmarks and lint
    clang libclang-rt-14-dev clang-format clang-tidy libgtest-dev libbenchmark-dev
    # headless windows and screenshots; a window manager and a screen reader's view
    xvfb xauth x11-apps x11-utils xdotool imagemagick openbox dbus-daemon at-spi2-core python3-pyatspi
    # resources, packaging and installed-file checks
    binutils-mingw-w64-x86-64 desktop-file-utils appstream dpkg-dev file librsvg2-bin debootstrap python3
)

case $mode in
run) packages=("${run_packages[@]}") ;;
test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
*) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

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
