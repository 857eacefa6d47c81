#!/usr/bin/env bash
# Builds the program for 64-bit Windows from this code, on Debian 12, and
# checks it under Wine:
#  1. Qt for Windows, built from Debian's source once and cached outside the
#     work tree (tools/windows_qt.sh; the first run takes about half an hour);
#  2. the Qt-free core and its tests, run under Wine (tools/wine_core_tests.sh);
#  3. the program, with its icon and version block, and its window tests;
#  4. build-windows/xpcalc-<version>-win64.zip: a folder holding xpcalc.exe,
#     the stripped Qt and MinGW runtime DLLs and the plugins it loads;
#  5. under Wine, on a virtual X screen, in a Wine prefix set up like a stock
#     Windows desktop (the default colour scheme, and faces with the metrics
#     of Times New Roman and Verdana): the window tests, then the program
#     unzipped into an empty folder, driven as a user would: calculating, the
#     overflow warning, switching to the chart and back. Screenshots of both
#     windows are left in build-windows/screenshots/.
# Usage: tools/windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
started=$SECONDS

bash tools/bootstrap.sh windows
# The checks use the windows platform plugin, whatever the caller's shell says.
unset QT_QPA_PLATFORM WINEPATH

step() { echo "== $* ($((SECONDS - started)) s)"; }
fail() { echo "windows.sh: $*" >&2; exit 1; }

mingw=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64-x86_64.cmake
host_cmake_dir=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake
jobs=$(nproc)
[ "$jobs" -le 2 ] || jobs=2

step "Qt for Windows"
qt=$(bash tools/windows_qt.sh)

step "The core and its tests, under Wine"
bash tools/wine_core_tests.sh "$out/core"

step "The program and its window tests, for Windows"
# The core's step left fast_float's headers (and GoogleTest) for Windows in
# its deps folder.
app=$out/app
cmake -S . -B "$app" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt;$out/core/deps" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
    -DXPCALC_BENCHMARKS=OFF >"$out/configure.log" || { cat "$out/configure.log"; exit 1; }
nice -n 19 cmake --build "$app" -j "$jobs" --target xpcalc calculator_window_test award_chart_test chart_window_test windows_test
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$app/CMakeCache.txt")
"$mingw-gcc-posix" -std=c11 -O2 -Wall -Wextra -Wpedantic -Wconversion -Werror \
    -o "$out/wine_driver.exe" tools/wine_driver.c -luser32

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
(cd "$out" && zip -q -r -9 "$name.zip" "$name")
ls "$folder" "$folder"/*/

tests=$out/window-tests
rm -rf "$tests"
mkdir -p "$tests"
cp "$app"/tests/ui/*_test.exe "$tests/"
with_plugins "$tests"

step "The icon and version block"
resources=$(wrestool -l "$folder/xpcalc.exe")
[ "$(grep -c -- '--type=3 ' <<<"$resources")" -eq 7 ] || fail "the icon has not 7 images: $resources"
grep -q -- '--type=14 ' <<<"$resources" || fail "no icon group: $resources"
version_block=$(wrestool -x --raw --type=16 "$folder/xpcalc.exe" | tr -d '\0')
for field in FileVersion ProductVersion; do
    grep -aq "$field$version" <<<"$version_block" || fail "the version block has no $field $version"
done
grep -aq 040904B0 <<<"$version_block" || fail "the version block is not US English (040904B0)"
echo "7 icon images; file and product version $version"

step "A Wine prefix set up like a stock Windows desktop"
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
screen=1024x768
display=:$((70 + RANDOM % 19))
Xvfb "$display" -noreset -screen 0 "${screen}x24" -nolisten tcp 2>/dev/null &
xvfb=$!
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
wineboot --init 2>/dev/null
wineserver --wait
# The default colour scheme (the one platform/ gives the windows elsewhere);
# no visual theme over it; 96 dots per inch; one desktop the size of the
# screen, drawn by Wine as Windows draws it; and, for Verdana and Times New
# Roman, which Windows has and Debian does not, faces with their metrics.
cat >"$out/desktop.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Control Panel\Colors]
"ActiveBorder"="180 180 180"
"ActiveTitle"="153 180 209"
"AppWorkspace"="171 171 171"
"Background"="0 0 0"
"ButtonAlternateFace"="0 0 0"
"ButtonDkShadow"="105 105 105"
"ButtonFace"="240 240 240"
"ButtonHilight"="255 255 255"
"ButtonLight"="227 227 227"
"ButtonShadow"="160 160 160"
"ButtonText"="0 0 0"
"GradientActiveTitle"="185 209 234"
"GradientInactiveTitle"="215 228 242"
"GrayText"="109 109 109"
"Hilight"="0 120 215"
"HilightText"="255 255 255"
"HotTrackingColor"="0 102 204"
"InactiveBorder"="244 247 252"
"InactiveTitle"="191 205 219"
"InactiveTitleText"="0 0 0"
"InfoText"="0 0 0"
"InfoWindow"="255 255 225"
"Menu"="240 240 240"
"MenuBar"="240 240 240"
"MenuHilight"="0 120 215"
"MenuText"="0 0 0"
"Scrollbar"="200 200 200"
"TitleText"="255 255 255"
"Window"="255 255 255"
"WindowFrame"="100 100 100"
"WindowText"="0 0 0"

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
# corner on the screen, "X Y", for the clicks that follow.
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
# Clicks at a point given in the current window's client pixels.
click() {
    local x y
    read -r x y <<<"$window"
    drive click $((x + $1)) $((y + $2))
}
# The text of the box at a client point, read by copying it.
text_of() {
    click "$1" "$2"
    drive keys ctrl+a ctrl+c
    drive clipboard
}
type_into() {
    click "$1" "$2"
    drive keys ctrl+a "text:$3"
}
shot() { import -window root "$shots/$1.png"; }
# The colour on the screen at a client point, as "R,G,B".
colour_at() {
    local x y
    read -r x y <<<"$window"
    x=$((x + $2)) y=$((y + $3))
    convert "$shots/$1.png" -format "%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]" info:
}
expect() { [ "$2" = "$3" ] || fail "$1: expected '$3', got '$2'"; }

wait_for 450x371 free
sleep 1
shot calculator-fresh
expect "the calculator's ground (active border)" "$(colour_at calculator-fresh 440 100)" 180,180,180
expect "the version label's ground (button face)" "$(colour_at calculator-fresh 430 54)" 240,240,240

type_into 20 84 2     # cr3
type_into 368 66 4    # party
click 300 108         # Calculate Experience
expect "the total of 2 encounters at CR 3 for level 4" "$(text_of 344 164)" 1600
shot calculator
echo "calculates: 1600"

type_into 20 20 99999999999 # cr1, beyond a 32-bit count
click 300 108
wait_for "a message box" owned
sleep 0.5
shot overflow
drive keys ctrl+c
message=$(drive clipboard)
grep -q "overflowed" <<<"$message" || fail "the overflow warning says: $message"
drive keys return
wait_for 450x371 free
expect "the total after the overflow" "$(text_of 344 164)" 1600
echo "the overflow warning, and the total unchanged"

click 400 292 # XP Chart
wait_for 448x369 free
sleep 1
shot chart
# Below the chart picture, the chart box shows its ground: active title-bar text.
expect "the chart box's ground (active title-bar text)" "$(colour_at chart 100 344)" 255,255,255
click 356 252 # Click here to return to the Calculator
wait_for 450x371 free
expect "cr3 on the fresh calculator" "$(text_of 20 84)" 0
expect "the total on the fresh calculator" "$(text_of 344 164)" 0
echo "to the chart and back, to a fresh calculator"

[ "$failed" -eq 0 ] || fail "$failed window test programs failed under Wine"
step "Done: $out/$name.zip, $(du -k "$out/$name.zip" | cut -f1) KiB; screenshots in $shots"
