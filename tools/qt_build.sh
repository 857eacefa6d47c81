#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Builds Qt, once, from Debian's own qt6-base source, for a platform Debian
# has no Qt for, and prints the prefix it is installed in as the one line on
# standard output (progress goes to standard error).
#   windows  64-bit Windows with MinGW-w64: shared libraries with Core, Gui,
#            Widgets, Test and the windows platform plugin
# The host tools (moc, rcc, uic) are those of the installed qt6-base-dev-tools,
# which is why the source is taken at exactly that package's version.
#
# The result is cached outside the work tree, in
#   ${XDG_CACHE_HOME:-~/.cache}/xpcalc/qt-<qt version>-<compiler><version>-<flags>
# where <flags> is a hash of the configure flags and of the other inputs that
# shape the build (the toolchain file), so that changing any of them builds a
# fresh Qt, and a later run with the same ones reuses it. A prefix counts only
# once its build has finished.
# Usage: tools/qt_build.sh windows
# Needs: the packages tools/bootstrap.sh windows installs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

source tools/cross_build_common.sh
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)

case ${1:-} in
windows)
    label="Qt for Windows"
    cpu_time="about half an hour"
    toolchain=$root/cmake/mingw-w64-x86_64.cmake
    compiler=mingw$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
    shaping_inputs=("$toolchain")
    flags=(
        -G Ninja
        -DCMAKE_BUILD_TYPE=Release
        -DBUILD_SHARED_LIBS=ON
        -DQT_HOST_PATH=/usr
        -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir"
        -DQT_QMAKE_TARGET_MKSPEC=win32-g++
        -DQT_BUILD_EXAMPLES=OFF
        -DQT_BUILD_TESTS=OFF
        -DQT_BUILD_BENCHMARKS=OFF
        # modules the program does not use
        -DFEATURE_concurrent=OFF
        -DFEATURE_dbus=OFF
        -DFEATURE_network=OFF
        -DFEATURE_opengl=OFF
        # 6.4.2 leaves dynamic OpenGL on without OpenGL, and its windows plugin
        # then fails to compile.
        -DFEATURE_dynamicgl=OFF
        -DFEATURE_printsupport=OFF
        -DFEATURE_sql=OFF
        -DFEATURE_xml=OFF
        -DFEATURE_icu=OFF
        # The Debian tarball drops the wintab headers tablet events need.
        -DFEATURE_tabletevent=OFF
        # 6.4.2's windows plugin fails to link DirectWrite 3 without Direct2D.
        -DFEATURE_directwrite3=OFF
    )
    ;;
*)
    echo "usage: $0 windows" >&2
    exit 2
    ;;
esac

flags_hash=$( (printf '%s\n' "${flags[@]}"; cat "${shaping_inputs[@]}") | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/xpcalc
prefix=$cache/qt-$qt_version-$compiler-$flags_hash
stamp=$prefix/.xpcalc-complete

if [ -f "$stamp" ]; then
    echo "$label: using the cached build in $prefix" >&2
    echo "$prefix"
    exit 0
fi

# The source package comes from a deb-src entry of its own, so that the
# system's own apt sources are left as they are.
sources=/etc/apt/sources.list.d/xpcalc-qt-source.sources
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -qx "Version: $qt_version"; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "$label: adding a Debian source entry in $sources" >&2
    . /etc/os-release
    "${as_root[@]}" tee "$sources" >/dev/null <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME $VERSION_CODENAME-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    "${as_root[@]}" apt-get update -qq
fi

# A build that was stopped part way resumes where it stopped.
work=$cache/work-$(basename "$prefix")
rm -rf "$prefix"
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' 2>/dev/null || true)
if [ -z "$source_dir" ]; then
    rm -rf "$work"
    mkdir -p "$work"

    echo "$label: fetching the source of qt6-base $qt_version" >&2
    (cd "$work" && apt-get source -qq "qt6-base=$qt_version" >"$work/source.log" 2>&1) ||
        { cat "$work/source.log" >&2; exit 1; }
    source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')
else
    echo "$label: resuming the build in $work" >&2
fi
echo "$label: configuring (the build takes $cpu_time of CPU)" >&2
cmake -S "$source_dir" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${flags[@]}" >"$work/configure.log" 2>&1 ||
    { tail -n 40 "$work/configure.log" >&2; exit 1; }

echo "$label: building; progress as [done/total]" >&2
# Ninja's status line is its progress; everything else goes to the log.
status=0
nice -n 19 cmake --build "$work/build" -j "$jobs" 2>&1 | tee "$work/build.log" |
    awk -v label="$label" '/^\[[0-9]+\/[0-9]+\]/ { split(substr($1, 2), n, "/"); p = int(100 * n[1] / n[2]);
         if (p >= last + 5) { printf "%s: %d%% %s\n", label, p, $1 > "/dev/stderr"; last = p } }' ||
    status=$?
if [ "$status" -ne 0 ]; then
    grep -B2 -A20 -m3 'FAILED:' "$work/build.log" >&2 || tail -n 40 "$work/build.log" >&2
    exit 1
fi

echo "$label: installing into $prefix" >&2
cmake --install "$work/build" --strip >"$work/install.log" 2>&1
touch "$stamp"
rm -rf "$work"
echo "$prefix"
