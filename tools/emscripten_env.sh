# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Sourced by the scripts that build for the web: sets up Debian's Emscripten
# the way emcc expects to find it, as the node preset's environment does.
#  - emcc's JavaScript optimiser loads acorn, which Debian keeps among its
#    shared node modules.
#  - The emcc wrapper runs whichever python3 comes first on PATH; the
#    system's own has the modules emcc needs.
export NODE_PATH=/usr/share/nodejs
export EMSDK_PYTHON=/usr/bin/python3
