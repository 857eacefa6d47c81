#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Replays the user's walk (scenario.json) on the real program through
the accessibility bus, finding each control by the name screen readers hear,
and takes its screenshots.

Usage: screenshot.py XPCALC DESIGN_JSON OUT_DIR
Run on a desktop with an accessibility bus (desktop_session.sh).
"""
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no caches of the shared modules in the source tree
import atspi_driver as bus  # noqa: E402
import pyatspi  # noqa: E402
from scenario import ScenarioError, heard_as, replay  # noqa: E402


class BusDriver:
    def __init__(self, out):
        self.out = out

    def window(self, window):
        last = window["controls"][window["tabOrder"][-1]]
        bus.control(heard_as(last), bus.PUSH_BUTTON)  # showing once its last stop is

    def shot(self, name):
        """The screen as NAME.png, and the active window's client area alone,
        without the window manager's frame, as NAME-window.png."""
        time.sleep(0.5)  # painted in full
        subprocess.run(["import", "-window", "root", os.path.join(self.out, f"{name}.png")], check=True)
        active = subprocess.run(["xdotool", "getactivewindow"], check=True, capture_output=True, text=True)
        subprocess.run(["import", "-window", active.stdout.strip(), os.path.join(self.out, f"{name}-window.png")],
                       check=True)

    def type(self, control, text):
        bus.set_text(heard_as(control), text)

    def press(self, control):
        bus.press(heard_as(control))

    def expect(self, control, text, focused):
        bus.expect_text(heard_as(control), text)
        if focused:
            box = bus.control(heard_as(control), bus.TEXT_BOX)
            deadline = time.monotonic() + bus.SECONDS
            while not box.getState().contains(pyatspi.STATE_FOCUSED):
                if time.monotonic() > deadline:
                    raise bus.DriverError(f"{heard_as(control)!r} does not have the focus")
                time.sleep(0.1)

    def warning(self, says):
        deadline = time.monotonic() + bus.SECONDS
        while True:
            app = bus.application()
            texts = [node.name for top in (app or []) if top is not None and top.getRoleName() == "alert"
                     for node in bus.descendants(top)] if app else []
            if any(says in text for text in texts):
                return
            if time.monotonic() > deadline:
                raise bus.DriverError(f"no warning saying {says!r} showed; saw {texts}")
            time.sleep(0.2)

    def answer(self, button):
        bus.press(button)


def main(arguments):
    if len(arguments) != 3:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    xpcalc, design, out = arguments
    os.makedirs(out, exist_ok=True)
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = subprocess.Popen([xpcalc], env=environment)
    try:
        replay(design, BusDriver(out))
    except (bus.DriverError, ScenarioError) as error:
        sys.exit(f"screenshot.py: {error}")
    finally:
        program.terminate()
        program.wait(10)
    print(f"screenshots in {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
