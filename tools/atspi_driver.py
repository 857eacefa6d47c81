#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""Drives the program through the accessibility bus, finding each control by
its accessible name as a screen reader does: no point on the screen is named,
so a control that moves, grows or changes its look is still found.

Usage: atspi_driver.py COMMAND NAME [TEXT]
  press NAME          presses the push button of that name
  set-text NAME TEXT  puts TEXT in the text box of that name, in place of
                      what it held
  focus NAME          gives the control of that name the keyboard focus
  text NAME           prints the text of the text box of that name
  expect NAME TEXT    waits until the text box of that name holds TEXT: a
                      press is carried out after the program has answered it
  wait NAME           waits for the push button or text box of that name
Each waits for the program and the control to show, and fails naming what it
could not find or do, and what it found instead.

Run on a desktop with an accessibility bus (desktop_session.sh). Qt opens its
side of the bus only while a screen reader runs, unless the program is started
with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.
"""
import os
import sys
import time

import pyatspi
from gi.repository import GLib

APPLICATION = "xpcalc"
PUSH_BUTTON = ("push button",)
TEXT_BOX = ("text",)
KINDS = {"text": "text box"}
SECONDS = 20


class DriverError(Exception):
    pass


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == APPLICATION:
            return app
    return None


def window(app, word):
    for child in app:
        if child is not None and word in child.name:
            return child
    return None


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def controls(roles):
    """The showing controls of those roles in the program's showing windows,
    by name. A window that closes meanwhile has none."""
    found = {}
    app = application()
    try:
        for top in (app or []):
            if top is None or not showing(top):
                continue
            for node in descendants(top):
                if node.getRoleName() in roles and showing(node):
                    found.setdefault(node.name, node)
    except (GLib.Error, LookupError):  # a window going away under the walk: look again later
        return {}
    return found


def control(name, roles, seconds=SECONDS):
    deadline = time.monotonic() + seconds
    while True:
        found = controls(roles)
        if name in found:
            return found[name]
        if time.monotonic() > deadline:
            kind = " or ".join(KINDS.get(role, role) for role in roles)
            if application() is None:
                raise DriverError(f"no {kind} named {name!r}: the program {APPLICATION!r} is not on the "
                                  "accessibility bus")
            raise DriverError(f"no {kind} named {name!r} showed in {seconds} s; showing: "
                              + (", ".join(repr(n) for n in found) or "none"))
        time.sleep(0.2)


def press(name):
    button = control(name, PUSH_BUTTON)
    actions = button.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if "press" not in [n.lower() for n in names]:
        raise DriverError(f"the button {name!r} has no press action, only {names}")
    if not actions.doAction([n.lower() for n in names].index("press")):
        raise DriverError(f"the button {name!r} refused to be pressed")


def text_of(name):
    return control(name, TEXT_BOX).queryText().getText(0, -1)


def set_text(name, text):
    box = control(name, TEXT_BOX)
    box.queryEditableText().setTextContents(text)
    now = box.queryText().getText(0, -1)
    if now != text:
        raise DriverError(f"the text box {name!r} holds {now!r} after being given {text!r}")


def expect_text(name, text, seconds=SECONDS):
    box = control(name, TEXT_BOX)
    deadline = time.monotonic() + seconds
    while (now := box.queryText().getText(0, -1)) != text:
        if time.monotonic() > deadline:
            raise DriverError(f"the text box {name!r} holds {now!r}, not {text!r}, after {seconds} s")
        time.sleep(0.1)


def focus(name, seconds=5):
    node = control(name, PUSH_BUTTON + TEXT_BOX)
    node.queryComponent().grabFocus()
    deadline = time.monotonic() + seconds
    while not node.getState().contains(pyatspi.STATE_FOCUSED):
        if time.monotonic() > deadline:
            raise DriverError(f"{name!r} did not take the keyboard focus in {seconds} s")
        time.sleep(0.1)


COMMANDS = {
    "press": (press, 1),
    "set-text": (set_text, 2),
    "focus": (focus, 1),
    "text": (lambda name: print(text_of(name)), 1),
    "expect": (expect_text, 2),
    "wait": (lambda name: control(name, PUSH_BUTTON + TEXT_BOX), 1),
}


def main(arguments):
    command = COMMANDS.get(arguments[0]) if arguments else None
    if command is None or len(arguments) - 1 != command[1]:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    try:
        command[0](*arguments[1:])
    except DriverError as error:
        sys.exit(f"{os.path.basename(sys.argv[0])} {arguments[0]}: {error}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
