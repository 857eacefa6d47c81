#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Builds Qt, once, from Debian's own qt6-base source, for a platform Debian
# has no Qt for, and prints the prefix it is installed in as the one line on
# standard output (progress goes to standard error).
#   windows  64-bit Windows with MinGW-w64: shared libraries with Core, Gui,
#            Widgets, Test and the windows platform plugin
#   web      WebAssembly with Debian's Emscripten: static libraries with Core,
#            Gui, Widgets and the wasm platform plugin, trimmed to what the
#            program uses so that the page stays small
# The host tools (moc, rcc, uic) are those of the installed qt6-base-dev-tools,
# which is why the source is taken at exactly that package's version.
#
# The result is cached outside the work tree, in
#   ${XDG_CACHE_HOME:-~/.cache}/xpcalc/qt-<qt version>-<compiler><version>-<flags>
# where <flags> is a hash of the configure flags and of the other inputs that
# shape the build (the toolchain file; for the web, the characters its faces
# keep), so that changing any of them builds a fresh Qt, and a later run with
# the same ones reuses it. A prefix counts only once its build has finished.
# Usage: tools/qt_build.sh windows|web
# Needs: the packages tools/bootstrap.sh windows (or web) installs.
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
web)
    label="Qt for the web"
    cpu_time="about a quarter of an hour"
    source tools/emscripten_env.sh
    toolchain=$emscripten_toolchain
    compiler=emscripten$(dpkg-query -W -f='${Version}' emscripten)
    font_characters=$root/packaging/web/font-characters.txt
    shaping_inputs=("$font_characters")
    flags=(
        -G Ninja
        -DCMAKE_BUILD_TYPE=Release
        -DFEATURE_optimize_size=ON
        -DBUILD_SHARED_LIBS=OFF
        -DQT_HOST_PATH=/usr
        -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir"
        -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten
        -DQT_BUILD_EXAMPLES=OFF
        -DQT_BUILD_TESTS=OFF
        -DQT_BUILD_BENCHMARKS=OFF
        # A page without threads needs no cross-origin isolation from its host.
        -DFEATURE_thread=OFF
        # modules the program does not use (OpenGL ES stays: the wasm platform
        # plugin draws with it)
        -DFEATURE_concurrent=OFF
        -DFEATURE_dbus=OFF
        -DFEATURE_network=OFF
        -DFEATURE_printsupport=OFF
        -DFEATURE_sql=OFF
        -DFEATURE_testlib=OFF
        -DFEATURE_xml=OFF
        -DFEATURE_icu=OFF
        # formats and pieces of Core and Gui the program never touches
        -DFEATURE_zstd=OFF
        -DFEATURE_jpeg=OFF
        -DFEATURE_gif=OFF
        -DFEATURE_mimetype_database=OFF
        -DFEATURE_pdf=OFF
        -DFEATURE_movie=OFF
        -DFEATURE_textodfwriter=OFF
        -DFEATURE_textmarkdownreader=OFF
        -DFEATURE_textmarkdownwriter=OFF
        # widgets the program never shows (its windows hold labels, line edits,
        # push buttons, group boxes and a message box)
        -DFEATURE_calendarwidget=OFF
        -DFEATURE_colordialog=OFF
        -DFEATURE_columnview=OFF
        -DFEATURE_datawidgetmapper=OFF
        -DFEATURE_datetimeedit=OFF
        -DFEATURE_dial=OFF
        -DFEATURE_dockwidget=OFF
        -DFEATURE_errormessage=OFF
        -DFEATURE_filedialog=OFF
        -DFEATURE_fontcombobox=OFF
        -DFEATURE_fontdialog=OFF
        -DFEATURE_graphicsview=OFF
        -DFEATURE_inputdialog=OFF
        -DFEATURE_keysequenceedit=OFF
        -DFEATURE_lcdnumber=OFF
        -DFEATURE_mdiarea=OFF
        -DFEATURE_progressdialog=OFF
        -DFEATURE_splashscreen=OFF
        -DFEATURE_syntaxhighlighter=OFF
        -DFEATURE_textbrowser=OFF
        -DFEATURE_toolbox=OFF
        -DFEATURE_undoview=OFF
        -DFEATURE_wizard=OFF
    )
    ;;
*)
    echo "usage: $0 windows|web" >&2
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
# The wasm plugin embeds three whole faces as its fallbacks; cut down to the
# characters the program's faces keep, they weigh a tenth. (Cutting a face
# down twice changes nothing, so a resumed build may do it again.)
if [ "$1" = web ]; then
    for face in "$source_dir"/src/3rdparty/wasm/*.ttf; do
        pyftsubset "$face" --unicodes-file="$font_characters" --drop-tables+=FFTM --output-file="$face.subset"
        cmp -s "$face" "$face.subset" && rm "$face.subset" || mv "$face.subset" "$face"
    done
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
