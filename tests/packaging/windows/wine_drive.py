#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Replays the user's walk (tools/scenario.json) on the Windows program under
Wine, by keys, as a keyboard user does, and takes its screenshots.

Under Wine there is no accessibility bus to find a control by its name, so
the drive walks each window by Tab in the tab order of its design
(design.json), keeping track of the focus, and reads a box by copying its
text. wine_driver.exe (wine_driver.c) lists the program's windows,
types keys and reads the clipboard.

Usage: wine_drive.py DRIVER_EXE DESIGN_JSON COLOUR_SCHEME_REG SHOTS
Run with the program started under Wine, on the X screen DISPLAY names.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no cache of the shared module in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools"))
from scenario import ScenarioError, replay  # noqa: E402

# The colour probes, the only points of the windows named here: the
# screenshot, a point of its window's client area, the colour of the default
# scheme that must show there (by its name in the registry), and what shows it.
COLOUR_PROBES = [
    ("calculator-fresh", 440, 100, "ActiveBorder", "the calculator's ground"),
    ("calculator-fresh", 430, 54, "ButtonFace", "the version label's ground"),
    ("chart", 100, 344, "TitleText", "the chart box's ground, below the chart picture"),
]


class DriveError(Exception):
    pass


def run_wine(*arguments):
    """Runs a Windows program under Wine; returns its exit code and what it
    printed. The output goes through a file, not a pipe: a Wine process the
    program starts on the way, such as the desktop's explorer.exe, inherits
    the output and outlives the program, and a pipe would stay open until it
    ends."""
    with tempfile.TemporaryFile() as output:
        code = subprocess.run(["wine", *arguments], stdout=output, stderr=subprocess.DEVNULL).returncode
        output.seek(0)
        return code, output.read().decode(errors="replace").replace("\r", "")


class WineDriver:
    def __init__(self, driver, scheme, shots):
        self.driver, self.shots = driver, shots
        with open(scheme, encoding="utf-8") as file:
            self.scheme = {name: tuple(int(v) for v in rgb.split())
                           for name, rgb in re.findall(r'^"(\w+)"="(\d+ \d+ \d+)"$', file.read(), re.M)}
        self.current = None  # the window's design
        self.focus = None  # the name of the control with the focus, as far as the drive knows
        self.origin = (0, 0)  # the window's client area on the screen

    def drive(self, *arguments):
        code, said = run_wine(self.driver, *arguments)
        if code != 0:
            raise DriveError(f"wine_driver.exe {' '.join(arguments)} failed with {code}")
        return said

    def wait_for(self, kind, size=None):
        """Waits until the program shows the window it should and holds it
        still: with kind "free", one window of that client size and no
        message box; with kind "owned", one message box, of any size."""
        shown = None
        for _ in range(60):
            before, shown = shown, self.drive("list", self.current["caption"])
            if shown != before:
                time.sleep(0.5)
                continue
            windows = [line.split() for line in shown.splitlines() if line.strip()]
            free = [w for w in windows if w[-1] == "free"]
            owned = [w for w in windows if w[-1] == "owned"]
            if kind == "free" and not owned and len(free) == 1 and free[0][0] == size:
                self.origin = tuple(int(v) for v in free[0][1].split(","))
                return
            if kind == "owned" and len(owned) == 1:
                return
            time.sleep(0.5)
        raise DriveError(f"expected the {size or 'message box'} {kind} window; saw: {shown or 'none'}")

    def focus_on(self, control):
        """Moves the focus forward, by Tab, to a control of the current
        window."""
        order = self.current["tabOrder"]
        index = self.current["controls"].index(control)
        if index not in order:
            raise DriveError(f"{control['name']} is not in the {self.current['name']} window's tab order")
        if self.focus is None:
            raise DriveError(f"where the focus is, is not known, to move it to {control['name']}")
        tabs = (order.index(index) - order.index(self.focus)) % len(order)
        if tabs:
            self.drive("keys", *["tab"] * tabs)
        self.focus = index

    def read(self, control):
        self.focus_on(control)
        self.drive("keys", "ctrl+a", "ctrl+c")
        return self.drive("clipboard")

    # The steps of the walk.

    def window(self, window):
        size = window["size"]
        self.current = window
        self.wait_for("free", f"{size['width']}x{size['height']}")
        time.sleep(1)  # painted in full
        self.focus = window["firstFocus"]

    def shot(self, name):
        path = os.path.join(self.shots, f"{name}.png")
        subprocess.run(["import", "-window", "root", path], check=True)
        for shot, x, y, colour, what in COLOUR_PROBES:
            if shot != name:
                continue
            at = (self.origin[0] + x, self.origin[1] + y)
            found = subprocess.run(
                ["convert", path, "-format",
                 "%[fx:int(255*p{X,Y}.r+0.5)] %[fx:int(255*p{X,Y}.g+0.5)] %[fx:int(255*p{X,Y}.b+0.5)]"
                 .replace("X", str(at[0])).replace("Y", str(at[1])), "info:"],
                check=True, capture_output=True, text=True).stdout.split()
            if tuple(int(v) for v in found) != self.scheme[colour]:
                raise DriveError(f"{what} ({colour}): expected {self.scheme[colour]}, got {found}")

    def type(self, control, text):
        self.focus_on(control)
        self.drive("keys", "ctrl+a", f"text:{text}")

    def press(self, control):
        self.focus_on(control)
        self.drive("keys", "space")

    def expect(self, control, text, focused):
        if focused:
            # Reading the box where the focus is said to be checks that it is.
            self.focus = self.current["controls"].index(control)
        shown = self.read(control)
        if shown != text:
            raise DriveError(f"{control['name']}: expected {text!r}, got {shown!r}")
        print(f"{control['name']} shows {text}", flush=True)

    def warning(self, says):
        self.wait_for("owned")
        time.sleep(0.5)
        self.drive("keys", "ctrl+c")
        message = self.drive("clipboard")
        if says not in message:
            raise DriveError(f"the warning says: {message}")
        print(f"the warning: {says}", flush=True)

    def answer(self, button):
        self.drive("keys", "return")  # the warning's one button, OK
        size = self.current["size"]
        self.wait_for("free", f"{size['width']}x{size['height']}")
        self.focus = None  # the window hands it to the box concerned


def main(arguments):
    if len(arguments) != 4:
        print(__doc__.split("\n\n")[-2], file=sys.stderr)
        return 2
    driver, design, scheme, shots = arguments
    os.makedirs(shots, exist_ok=True)
    try:
        replay(design, WineDriver(driver, scheme, shots))
    except (DriveError, ScenarioError) as error:
        print(f"wine_drive.py: {error}", file=sys.stderr)
        return 1
    print("the walk: calculated, warned of the overflow, to the chart and back")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
