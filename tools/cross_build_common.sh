# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT

# Sourced by the scripts that build for another platform (windows.sh, web.sh,
# qt_build.sh): what they share.
#  host_cmake_dir  where the host Qt's CMake packages live (QT_HOST_PATH_CMAKE_DIR)
#  jobs            how many compilers to run at once: the cores, at most two
#  step TEXT       a progress line, with the seconds since the script began
#  fail TEXT       stops the script, naming it and the fault
host_cmake_dir=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake
jobs=$(nproc)
[ "$jobs" -le 2 ] || jobs=2
step() { echo "== $* ($SECONDS s)"; }
fail() { echo "$(basename "$0"): $*" >&2; exit 1; }
