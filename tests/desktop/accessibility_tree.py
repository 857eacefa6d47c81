#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""What a screen reader finds of the program, read through AT-SPI.

Usage: accessibility_tree.py XPCALC DESIGN_JSON
DESIGN_JSON is the designs' export (design.json in the build folder): the
controls' names and the award table.
Run on a desktop with an accessibility bus (tools/desktop_session.sh).
"""
import json
import os
import subprocess
import sys

sys.dont_write_bytecode = True  # no cache of the shared modules in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from atspi_driver import DriverError, application, descendants, press, window  # noqa: E402
from desktop_test import report, wait_for  # noqa: E402

failures = []


def check(holds, what):
    if not holds:
        failures.append(what)


def check_calculator(calculator, design):
    check(calculator.getRoleName() in ("frame", "window", "dialog"),
          f"the calculator's role is {calculator.getRoleName()}")
    # Its first children are the count boxes, in tab order, by the names the design gives them.
    controls = design["controls"]
    boxes = [controls[i]["accessibleName"] for i in design["tabOrder"] if controls[i]["role"] == "count"]
    names = [child.name for child in calculator]
    check(len(boxes) == 20 and names[:20] == boxes,
          f"the calculator's first children are not the count boxes in tab order: {names[:20]}")
    pictures = {node.name for node in descendants(calculator) if node.getRoleName() == "image"}
    for control in design["controls"]:
        if control["kind"] == "picture box":
            check(control["accessibleName"] in pictures,
                  f"no picture named {control['accessibleName']!r}: {sorted(pictures)}")


def check_chart(chart, awards):
    check(chart.getRoleName() in ("frame", "window", "dialog"), f"the chart window's role is {chart.getRoleName()}")
    roles = [child.getRoleName() for child in chart]
    check(roles == ["table", "label", "label", "push button"],
          f"the chart window's children are not in tab order: {roles}")
    table = next((node for node in descendants(chart) if node.getRoleName() == "table"), None)
    if table is None:
        failures.append("the chart is not a table")
        return
    cells = table.queryTable()
    check((cells.nRows, cells.nColumns) == (18, 21), f"the chart table is {cells.nRows} x {cells.nColumns}")
    for row in range(cells.nRows):
        level = 1 if row == 0 else row + 3
        label = f"Party level {'1-3' if row == 0 else level}"
        # The row's label is its header, and its first cell.
        for what, cell in (("header", cells.getRowHeader(row)), ("first cell", cells.getAccessibleAt(row, 0))):
            check(cell is not None and cell.name == label, f"row {row}'s {what} is {cell and cell.name!r}")
        for column in range(1, cells.nColumns):
            award = awards[level - 1][column - 1]
            expected = str(award) if award else ""
            cell = cells.getAccessibleAt(row, column)
            check(cell is not None and cell.name == expected,
                  f"{label}, CR {column}: {cell and cell.name!r} instead of {expected!r}")
    for column in range(cells.nColumns):
        expected = f"CR {column}" if column else "Party level"
        header = cells.getColumnHeader(column)
        check(header is not None and header.name == expected, f"column {column} has header {header and header.name!r}")


def main():
    xpcalc, design_path = sys.argv[1:3]
    with open(design_path, encoding="utf-8") as export:
        design = json.load(export)
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([xpcalc], env=environment)
    try:
        app = wait_for(application, "the program on the accessibility bus", program)
        calculator = wait_for(lambda: window(app, "calculator"), "the calculator window", program)
        check_calculator(calculator, design["calculator"])
        try:
            press("XP Chart")
        except DriverError as error:
            sys.exit(str(error))
        chart = wait_for(lambda: window(app, "chart"), "the chart window", program)
        check(chart.name != calculator.name, "both windows have the same name")
        check_chart(chart, design["awardTable"])
    finally:
        program.terminate()
        program.wait(10)
    return report("accessibility tree", failures)


if __name__ == "__main__":
    sys.exit(main())
