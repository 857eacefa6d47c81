#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Builds the program for 64-bit Windows from this code, on Debian 12, and
# checks it under Wine:
#  1. Qt for Windows, built from Debian's source once and cached outside the
#     work tree (tools/qt_build.sh windows; the first run takes about half an hour);
#  2. the Qt-free core and its tests, run under Wine (tools/core_tests.sh wine);
#  3. the program, with its icon and version block, and its window tests;
#  4. build-windows/xpcalc-<version>-win64.zip: a folder holding xpcalc.exe,
#     the stripped Qt and MinGW runtime DLLs and the plugins it loads, and
#     the licences of all of them; and build-windows/xpcalc-<version>-win64.msi,
#     the installer of the same files (packaging/windows/xpcalc.wxs, built
#     with wixl);
#  5. under Wine, on a virtual X screen, in a Wine prefix set up like a stock
#     Windows desktop (the default colour scheme, and faces with the metrics
#     of Times New Roman and Verdana): the window tests, then the program
#     unzipped into an empty folder, driven by keys along the user's walk
#     (tests/scenario.json, tools/wine_drive.py): calculating, the overflow
#     warning, switching to the chart and back. Screenshots of both windows
#     are left in build-windows/screenshots/;
#  6. in a fresh Wine prefix, the installer (tests/packaging/check_msi.py):
#     its tables; installed quietly, the program started from its Start menu
#     shortcut on the same walk (screenshots in build-windows/screenshots/
#     installed/); upgraded in place by a higher version built for the test,
#     which an older one cannot then replace; uninstalled, leaving nothing.
# Usage: tools/windows.sh [--packages-only]
#   --packages-only  steps 1, 3 and 4 alone: the program, the zip and the
#                    installer, no tests
set -euo pipefail
packages_only=false
[ "${1:-}" != --packages-only ] || packages_only=true
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
mkdir -p "$out"
# MinGW's strip stamps a program with the time it is run unless given one: the
# time of the last commit, so that two builds of one commit are alike.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}

bash tools/bootstrap.sh windows
# The checks use the windows platform plugin, whatever the caller's shell says.
unset QT_QPA_PLATFORM WINEPATH

source tools/x_server.sh

source tools/cross_build_common.sh

mingw=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64-x86_64.cmake

step "Qt for Windows"
qt=$(bash tools/qt_build.sh windows)

if ! $packages_only; then
    step "The core and its tests, under Wine"
    bash tools/core_tests.sh wine "$out/core"
fi

step "The program and its window tests, for Windows"
# fast_float's headers come from the host, as for the core (cmake/CrossBuild.cmake).
app=$out/app
cmake -S . -B "$app" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
    -DXPCALC_BENCHMARKS=OFF >"$out/configure.log" || { cat "$out/configure.log"; exit 1; }
targets=(xpcalc)
$packages_only || targets+=(design_test calculator_window_test award_chart_test chart_window_test windows_test)
nice -n 19 cmake --build "$app" -j "$jobs" --target "${targets[@]}"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$app/CMakeCache.txt")
"$mingw-gcc-posix" -std=c11 -O2 -Wall -Wextra -Wpedantic -Wconversion -Werror \
    -o "$out/wine_driver.exe" tools/wine_driver.c -luser32
# The windows' designs, which the drive under Wine walks, exported by a tool
# built for this machine.
if ! $packages_only; then
    cmake -S . -B "$out/design" -G Ninja -DXPCALC_TESTS=OFF -DXPCALC_BENCHMARKS=OFF >"$out/design.log" ||
        { cat "$out/design.log"; exit 1; }
    cmake --build "$out/design" --target design_json >>"$out/design.log" || { cat "$out/design.log"; exit 1; }
fi
# The default colour scheme for the Wine prefix, printed from the program's
# own table by a tool built for this machine.
g++ -std=c++17 -O2 -Wall -Wextra -Wconversion -Werror -Iplatform \
    -o "$out/colour_scheme_reg" tools/colour_scheme_reg.cpp platform/system_colours.cpp

# Copies into a folder the DLLs the given programs and plugins load, taken
# from Qt and from MinGW's runtime, and the DLLs those load in turn, stripped.
# Windows' own DLLs are left to Windows.
deploy() {
    local dest=$1
    shift
    local queue=("$@") file dll found
    while [ ${#queue[@]} -gt 0 ]; do
        file=${queue[0]}
        queue=("${queue[@]:1}")
        for dll in $("$mingw-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
            [ ! -e "$dest/$dll" ] || continue
            found=$qt/bin/$dll
            [ -f "$found" ] || found=$("$mingw-g++-posix" -print-file-name="$dll")
            [ -f "$found" ] || continue
            cp "$found" "$dest/$dll"
            "$mingw-strip" --strip-unneeded "$dest/$dll"
            queue+=("$dest/$dll")
        done
    done
}
# The plugins a Widgets program loads on Windows: the platform, and the
# native style.
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll)
with_plugins() {
    local dest=$1 plugin
    for plugin in "${plugins[@]}"; do
        mkdir -p "$dest/$(dirname "$plugin")"
        cp "$qt/plugins/$plugin" "$dest/$plugin"
        "$mingw-strip" --strip-unneeded "$dest/$plugin"
    done
    deploy "$dest" "$dest"/*.exe "${plugins[@]/#/$dest/}"
}

step "The zip"
name=xpcalc-$version-win64
folder=$out/$name
rm -rf "$folder" "$out/$name.zip"
mkdir -p "$folder"
cp "$app/xpcalc.exe" "$folder/"
"$mingw-strip" --strip-unneeded "$folder/xpcalc.exe"
with_plugins "$folder"
# The licences: the program's, and those of the Qt and MinGW runtime DLLs
# beside it, with a note of which file is under which, in Windows line ends.
mkdir -p "$folder/licenses"
windows_text() { sed 's/$/\r/' >"$1"; }
windows_text "$folder/LICENSE.txt" <LICENSE
windows_text "$folder/THIRD-PARTY.txt" <packaging/windows/THIRD-PARTY.txt
windows_text "$folder/licenses/winpthreads.txt" <packaging/windows/winpthreads.txt
windows_text "$folder/licenses/LGPL-3.txt" </usr/share/common-licenses/LGPL-3
windows_text "$folder/licenses/GPL-3.txt" </usr/share/common-licenses/GPL-3
# Debian keeps the exception's text in the MinGW compiler's copyright file.
awk '/^GCC RUNTIME LIBRARY EXCEPTION$/ { on = 1 } on && /^libquadmath/ { exit } on' \
    /usr/share/doc/g++-mingw-w64-x86-64-posix/copyright | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' |
    windows_text "$folder/licenses/GCC-exception-3.1.txt"
grep -q "No Weakening of GCC Copyleft" "$folder/licenses/GCC-exception-3.1.txt" ||
    fail "the GCC Runtime Library Exception's text was not found whole"
# Alike byte for byte from any build of the same commit: every file dated by
# the last commit and with the same modes whatever the umask, in one order,
# with no owner or extra times, and the times (zip keeps local ones) in UTC.
find "$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
chmod -R u=rwX,go=rX "$folder"
(cd "$out" && find "$name" | LC_ALL=C sort | TZ=UTC0 zip -q -9 -X -@ "$name.zip")
ls "$folder" "$folder"/*/

step "The installer"
# Built from the zip's files as the zip holds them, in a folder of its own.
# Alike byte for byte from any build of a commit: the file list, its
# identifiers and GUIDs come from the files' paths and the ProductCode from
# the version (tools/msi_files.py); the cabinet keeps each file's date, the
# commit's; wixl stamps the summary with the time it runs, so it runs with
# its clock stopped at the commit's; and it draws a random PackageCode, which
# msibuild replaces with one made from the inputs.
msi() { # msi ZIP VERSION OUT.msi
    local zip=$1 msi_version=$2 msi=$3 top work
    top=$(basename "$zip" .zip)
    work=$(mktemp -d "$out/msi.XXXXXX")
    unzip -q -d "$work" "$zip"
    find "$work/$top" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    chmod -R u=rwX,go=rX "$work/$top"
    python3 tools/msi_files.py fragment "$work/$top" "$zip" >"$work/files.wxs"
    cp assets/xpcalc.ico "$work/xpcalc.ico"
    local codes
    codes=$(python3 tools/msi_files.py codes "$msi_version" packaging/windows/xpcalc.wxs "$work/files.wxs" \
        "$work/xpcalc.ico" $(find "$work/$top" -type f | LC_ALL=C sort))
    local product_code package_code
    product_code=$(sed -n 's/^ProductCode=//p' <<<"$codes")
    package_code=$(sed -n 's/^PackageCode=//p' <<<"$codes")
    # wixl finds a file only by a path relative to the folder it runs in.
    (cd "$work" && TZ=UTC0 faketime -f "$(TZ=UTC0 date -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')" \
        wixl -a x64 -o xpcalc.msi -D Version="$msi_version" -D ProductCode="$product_code" \
        -D SourceDir="$top" -D IconFile=xpcalc.ico "$root/packaging/windows/xpcalc.wxs" files.wxs)
    # The subject, author and template again as wixl wrote them, with our PackageCode.
    msibuild "$work/xpcalc.msi" -s "Kestrow's Experience Calculator $msi_version installer" Kestrow "x64;1033" \
        "$package_code"
    mv "$work/xpcalc.msi" "$msi"
    rm -rf "$work"
}
msi "$out/$name.zip" "$version" "$out/$name.msi"
sha256=$(sha256sum "$out/$name.msi" | cut -d' ' -f1)
echo "$name.msi: sha256 $sha256"
# The winget manifest of this build: the installer's SHA-256 filled in.
rm -rf "$out/winget"
mkdir -p "$out/winget"
for manifest in packaging/windows/winget/*.yaml; do
    sed "s/^\(  InstallerSha256: \)0\{64\}\$/\1$sha256/" "$manifest" >"$out/winget/$(basename "$manifest")"
done
python3 tests/packaging/check_winget.py "$out/winget" "$out/$name.msi" ||
    fail "the winget manifest does not keep its rules or does not match the installer"
if $packages_only; then
    step "Done: $out/$name.zip, $(du -k "$out/$name.zip" | cut -f1) KiB; $out/$name.msi, $(du -k "$out/$name.msi" | cut -f1) KiB"
    exit 0
fi

tests=$out/window-tests
rm -rf "$tests"
mkdir -p "$tests"
cp "$app"/tests/ui/*_test.exe "$tests/"
with_plugins "$tests"

step "The icon and version block"
python3 tests/packaging/check_windows_resources.py --exe "$folder/xpcalc.exe" "$version" ||
    fail "the program's icon or version block is not as it should be"

step "A Wine prefix set up like a stock Windows desktop"
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
screen=1024x768
x_server_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "$x_server_pid" ] || kill "$x_server_pid" 2>/dev/null || true
}
trap cleanup EXIT
x_server_start "$screen" "$out/xvfb.log"
# The default colour scheme, from the table the program draws with elsewhere;
# no visual theme over it; 96 dots per inch; one desktop the size of the
# screen, drawn by Wine as Windows draws it; and, for Verdana and Times New
# Roman, which Windows has and Debian does not, faces with their metrics.
"$out/colour_scheme_reg" >"$out/colour_scheme.reg"
{
    printf 'REGEDIT4\n\n'
    cat "$out/colour_scheme.reg"
    cat <<'EOF'

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\ThemeManager]
"ThemeActive"="0"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="SCREEN"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"
"Verdana"="DejaVu Sans"
EOF
} >"$out/desktop.reg"
sed -i "s/SCREEN/$screen/" "$out/desktop.reg"
# A fresh prefix at WINEPREFIX, with the settings above.
stock_prefix() {
    rm -rf "$WINEPREFIX"
    wineboot --init 2>/dev/null
    wineserver --wait
    wine regedit /S "$(winepath -w "$out/desktop.reg")"
    wineserver --wait
}
stock_prefix

step "The window tests, under Wine"
passed=0
failed=0
# Qt Test writes its report to a file: under Wine its standard output can stay empty.
for test in "$tests"/*_test.exe; do
    program=$(basename "$test" .exe)
    rm -f "$tests/$program.txt"
    if (cd "$tests" && timeout 600 wine "./$program.exe" -o "$program.txt,txt" >/dev/null 2>&1); then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "$program failed:"
    fi
    tr -d '\r' <"$tests/$program.txt" 2>/dev/null | grep -a -E '^(FAIL|XPASS|QFATAL|Totals)|failure location' ||
        echo "$program left no report"
done
echo "window tests: $passed passed, $failed failed"

step "The program from the zip, in an empty folder, under Wine"
shots=$out/screenshots
rm -rf "$out/unzipped" "$shots"
mkdir -p "$out/unzipped" "$shots"
(cd "$out/unzipped" && unzip -q "../$name.zip")
(cd "$out/unzipped/$name" && exec wine xpcalc.exe >"$out/xpcalc.log" 2>&1) &

drive=("$out/wine_driver.exe" "$out/design/design.json" "$out/colour_scheme.reg")
python3 tools/wine_drive.py "${drive[@]}" "$shots" || fail "the program from the zip did not go the user's walk"
wineserver -k
wineserver --wait

step "The installer, under Wine"
# A higher version to upgrade to: the same files but for one licence
# dropped and one file added, so that the upgrade must remove and add.
newer_version=$(awk -F. '{ printf "%d.%02d", $1, $2 + 1 }' <<<"$version")
newer=xpcalc-$newer_version-win64
rm -rf "$out/upgrade-test"
mkdir -p "$out/upgrade-test"
cp -a "$folder" "$out/upgrade-test/$newer"
rm "$out/upgrade-test/$newer/licenses/winpthreads.txt"
echo "Only in the installer test's newer version." >"$out/upgrade-test/$newer/NEWER.txt"
(cd "$out/upgrade-test" && find "$newer" | LC_ALL=C sort | TZ=UTC0 zip -q -X -@ "$newer.zip")
msi "$out/upgrade-test/$newer.zip" "$newer_version" "$out/upgrade-test/$newer.msi"
export WINEPREFIX=$out/msi-prefix
stock_prefix
python3 tests/packaging/check_msi.py "$out/$name.msi" "$out/$name.zip" "$out/upgrade-test/$newer.msi" \
    "$out/upgrade-test/$newer.zip" "${drive[@]}" "$shots/installed" ||
    fail "the installer did not install, upgrade or uninstall the program as it should"

[ "$failed" -eq 0 ] || fail "$failed window test programs failed under Wine"
step "Done: $out/$name.zip, $(du -k "$out/$name.zip" | cut -f1) KiB; $out/$name.msi, \
$(du -k "$out/$name.msi" | cut -f1) KiB; screenshots in $shots"
