#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# The program from the Windows zip, unzipped into an empty folder, started
# under Wine (on wine_desktop.sh's desktop) and driven along the user's walk
# by wine_drive.py: calculating, the overflow warning, switching to the
# chart and back.
# Usage: zip_walk.sh ZIP FOLDER DRIVE...   (DRIVE: wine_drive.py's arguments)
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 ZIP FOLDER DRIVE..." >&2; exit 2; }
zip=$(realpath "$1")
folder=$(realpath -m "$2")
shift 2
rm -rf "$folder"
mkdir -p "$folder"
(cd "$folder" && unzip -q "$zip")
(cd "$folder/$(basename "$zip" .zip)" && exec wine xpcalc.exe >"$folder.log" 2>&1) &
python3 "$(dirname "$0")/wine_drive.py" "$@"
