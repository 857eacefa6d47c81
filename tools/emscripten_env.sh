# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Sourced by the scripts that build for the web: sets up Debian's Emscripten
# the way Qt's build and emcc itself expect to find it.
#  - emcc's JavaScript optimiser loads acorn, which Debian keeps among its
#    shared node modules.
#  - The emcc wrapper runs whichever python3 comes first on PATH; the
#    system's own has the modules emcc needs.
#  - Qt reads Emscripten's version from an emsdk folder:
#    $EMSDK/.emscripten and $EMSDK/upstream/emscripten/emcc. A stand-in
#    folder, outside the work tree, points both at Debian's Emscripten.
# It sets emscripten_toolchain to Debian's CMake toolchain file.
export NODE_PATH=/usr/share/nodejs
export EMSDK_PYTHON=/usr/bin/python3
export EMSDK=${XDG_CACHE_HOME:-$HOME/.cache}/xpcalc/emsdk
emscripten_toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
if [ ! -x "$EMSDK/upstream/emscripten/emcc" ]; then
    mkdir -p "$EMSDK/upstream/emscripten"
    echo "EMSCRIPTEN_ROOT = emsdk_path + '/upstream/emscripten'" >"$EMSDK/.emscripten"
    ln -sfn /usr/bin/emcc "$EMSDK/upstream/emscripten/emcc"
    ln -sfn /usr/share/emscripten/cmake "$EMSDK/upstream/emscripten/cmake"
fi
