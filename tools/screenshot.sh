#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Screenshots of the real program on a virtual X screen of its own, along the
# user's walk (tools/scenario.json): the calculator fresh and after a
# calculation, the overflow warning, and the chart window (tools/screenshot.py).
# Usage: tools/screenshot.sh [OUT_DIR]   (default build/screenshots; needs a build)
set -euo pipefail
cd "$(dirname "$0")/.."
exec bash tools/desktop_session.sh --window-manager --screen 800x600 -- \
    /usr/bin/python3 tools/screenshot.py build/xpcalc build/design.json "${1:-build/screenshots}"
