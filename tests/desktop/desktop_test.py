# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""What the desktop tests share: waiting for what the program shows, and the
closing report."""
import shutil
import sys
import time


def wait_for(find, what, program=None, seconds=20):
    """What find() returns once it is not None, polled until `seconds` have
    passed; ends the test naming `what` if it never shows, or if the program
    (a Popen) ends first."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        if program is not None and program.poll() is not None:
            sys.exit(f"not found: {what}; the program ended with status {program.returncode}")
        time.sleep(0.2)
    sys.exit(f"not found: {what}")


def report(name, failures, folder=None, kept=None, most=40):
    """Prints the failures (the first `most`) and a closing count, and returns
    the exit status. The folder of logs is kept for a failed run, with the line
    `kept` saying where to look, and removed after a passing one."""
    for failure in failures[:most]:
        print("FAIL:", failure)
    if folder is not None:
        if failures:
            print(kept or f"the logs: {folder}")
        else:
            shutil.rmtree(folder, ignore_errors=True)
    print(f"{name}: {len(failures)} failures")
    return 1 if failures else 0
