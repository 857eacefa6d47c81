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
#     the licences of all of them;
#  5. under Wine, on a virtual X screen, in a Wine prefix set up like a stock
#     Windows desktop (the default colour scheme, and faces with the metrics
#     of Times New Roman and Verdana): the window tests, then the program
#     unzipped into an empty folder, driven as a user would: calculating, the
#     overflow warning, switching to the chart and back. Screenshots of both
#     windows are left in build-windows/screenshots/.
# Usage: tools/windows.sh [--zip-only]
#   --zip-only  steps 1, 3 and 4 alone: the program and the zip, no tests
set -euo pipefail
zip_only=false
[ "${1:-}" != --zip-only ] || zip_only=true
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

if ! $zip_only; then
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
$zip_only || targets+=(calculator_window_test award_chart_test chart_window_test windows_test)
nice -n 19 cmake --build "$app" -j "$jobs" --target "${targets[@]}"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$app/CMakeCache.txt")
"$mingw-gcc-posix" -std=c11 -O2 -Wall -Wextra -Wpedantic -Wconversion -Werror \
    -o "$out/wine_driver.exe" tools/wine_driver.c -luser32
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
if $zip_only; then
    step "Done: $out/$name.zip, $(du -k "$out/$name.zip" | cut -f1) KiB"
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
rm -rf "$WINEPREFIX"
screen=1024x768
x_server_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "$x_server_pid" ] || kill "$x_server_pid" 2>/dev/null || true
}
trap cleanup EXIT
x_server_start "$screen" "$out/xvfb.log"
wineboot --init 2>/dev/null
wineserver --wait
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
wine regedit /S "$(winepath -w "$out/desktop.reg")"
wineserver --wait

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

title="Kestrow's Experience Calculator"
drive() { wine "$out/wine_driver.exe" "$@" | tr -d '\r'; }
# Waits until the program shows the window it should, and holds it still:
# with kind "free", one window of that client size and no message box; with
# kind "owned", one message box, of any size. Keeps its client area's top-left
# corner on the screen, "X Y", for the colour probes.
window=""
wait_for() {
    local size=$1 kind=$2 shown="" before="" free owned
    for _ in $(seq 60); do
        before=$shown
        shown=$(drive list "$title")
        [ "$shown" = "$before" ] || { sleep 0.5; continue; }
        free=$(grep ' free$' <<<"$shown" || true)
        owned=$(grep ' owned$' <<<"$shown" || true)
        if { [ "$kind" = free ] && [ -z "$owned" ] && [ "$(grep -c . <<<"$free")" -eq 1 ] &&
            [[ $free == "$size "* ]]; } || { [ "$kind" = owned ] && [ "$(grep -c . <<<"$owned")" -eq 1 ]; }; then
            window=$(grep " $kind\$" <<<"$shown" | cut -d' ' -f2 | tr , ' ')
            return 0
        fi
        sleep 0.5
    done
    fail "expected the $size $kind window; saw: ${shown:-none}"
}
# Under Wine there is no accessibility bus to find a control by its name, so
# the drive walks the calculator by Tab, as a keyboard user does, keeping
# track of the focus. The controls in tab order, by their design names: the
# twenty count boxes, the party level, "Calculate Experience", the total and
# "XP Chart".
tab_order=(cr{1..20} party Command1 totalxp Command2)
focus=cr1 # where the calculator puts it when it opens
# Moves the focus forward to the calculator's control of that name.
focus_on() {
    local from="" to="" i tabs=()
    [ "$BASH_SUBSHELL" -eq 0 ] || fail "focus_on $1 in a subshell, which loses track of the focus"
    for i in "${!tab_order[@]}"; do
        [ "${tab_order[i]}" != "$focus" ] || from=$i
        [ "${tab_order[i]}" != "$1" ] || to=$i
    done
    [ -n "$to" ] || fail "no control named $1 in the calculator's tab order"
    for ((i = from; i != to; i = (i + 1) % ${#tab_order[@]})); do tabs+=(tab); done
    [ ${#tabs[@]} -eq 0 ] || drive keys "${tabs[@]}"
    focus=$1
}
press() {
    focus_on "$1"
    drive keys space
}
type_into() {
    focus_on "$1"
    drive keys ctrl+a "text:$2"
}
# The text of a box, read by copying it, into $text (not printed: the focus
# it moves must be kept track of in this shell, not in a subshell).
read_text() {
    focus_on "$1"
    drive keys ctrl+a ctrl+c
    text=$(drive clipboard)
}
expect() { [ "$2" = "$3" ] || fail "$1: expected '$3', got '$2'"; }

# The colour probes, the only points of the windows named here: the
# screenshot, a point of its window's client area, the colour of the default
# scheme that must show there (by its name in the registry), and what shows it.
colour_probes=(
    "calculator-fresh 440 100 ActiveBorder the calculator's ground"
    "calculator-fresh 430 54 ButtonFace the version label's ground"
    "chart 100 344 TitleText the chart box's ground, below the chart picture"
)
# A colour of the scheme given to Wine above, as "R,G,B".
scheme_colour() {
    local rgb
    rgb=$(sed -n "s/^\"$1\"=\"\([0-9]*\) \([0-9]*\) \([0-9]*\)\"\$/\1,\2,\3/p" "$out/colour_scheme.reg")
    [ -n "$rgb" ] || fail "the default scheme has no colour named $1"
    echo "$rgb"
}
# The colour of a screenshot at a client point of the current window, as "R,G,B".
colour_at() {
    local x y
    read -r x y <<<"$window"
    x=$((x + $2)) y=$((y + $3))
    convert "$shots/$1.png" -format "%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]" info:
}
# A screenshot of the screen, and the colours its probes must find.
shot() {
    local probe name x y colour what
    import -window root "$shots/$1.png"
    for probe in "${colour_probes[@]}"; do
        read -r name x y colour what <<<"$probe"
        [ "$name" = "$1" ] || continue
        expect "$what ($colour)" "$(colour_at "$1" "$x" "$y")" "$(scheme_colour "$colour")"
    done
}

wait_for 450x371 free
sleep 1
shot calculator-fresh

type_into cr3 2
type_into party 4
press Command1 # Calculate Experience
read_text totalxp
expect "the total of 2 encounters at CR 3 for level 4" "$text" 1600
shot calculator
echo "calculates: 1600"

type_into cr1 99999999999 # beyond a 32-bit count
press Command1
wait_for "a message box" owned
sleep 0.5
shot overflow
drive keys ctrl+c
message=$(drive clipboard)
grep -q "overflowed" <<<"$message" || fail "the overflow warning says: $message"
drive keys return
wait_for 450x371 free
focus=cr1 # the warning hands it back to the box that overflowed
read_text cr1
expect "the box that overflowed, with the focus again" "$text" 99999999999
read_text totalxp
expect "the total after the overflow" "$text" 1600
echo "the overflow warning, and the total unchanged"

press Command2 # XP Chart
wait_for 448x369 free
sleep 1
shot chart
# The chart opens with the focus on its one button: "Click here to return to
# the Calculator".
drive keys space
wait_for 450x371 free
focus=cr1
read_text cr3
expect "cr3 on the fresh calculator" "$text" 0
read_text totalxp
expect "the total on the fresh calculator" "$text" 0
echo "to the chart and back, to a fresh calculator"

[ "$failed" -eq 0 ] || fail "$failed window test programs failed under Wine"
step "Done: $out/$name.zip, $(du -k "$out/$name.zip" | cut -f1) KiB; screenshots in $shots"
