#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""What Orca says as a blind user drives the program by keys alone, held
against the designs' export: the user's walk (tools/scenario.json) along each
window's tab order, and then its first calculation through every stop of both
windows at a practised user's pace; and the program writes nothing to the
console. Usage: orca_speaks.py XPCALC DESIGN_JSON, under
tools/desktop_session.sh --window-manager; Orca speaks into a file (speech_log.py).
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(HERE)))
SCENARIO = os.path.join(SOURCE, "tools", "scenario.json")
sys.path.insert(0, os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SOURCE, "tools"))
sys.dont_write_bytecode = True  # no caches of the shared modules in the source tree
from desktop_test import report  # noqa: E402
from scenario import ScenarioError, heard_as, replay  # noqa: E402

# Orca's words for the roles of the controls that take the focus, for a
# window, for a table the focus enters and for a column header it crosses.
ROLE_WORDS = {"text box": "text", "button": "push button"}
WINDOW = "{name} frame."
TABLE = "table with {rows} rows {columns} columns"
COLUMN_HEADER = "{header} column header {cell}."
# The core's words (calc/messages.cpp), which the export does not carry; the
# numbers come from the walk and the award table.
ANNOUNCEMENT = "Total experience: {total}"
WORKING_LINE = "CR {rating}: {count} \u00d7 {award} = {product}"
# The chart is walked from the cell the focus enters it at down so many rows,
# then across so many columns.
CHART_DOWN, CHART_ACROSS = 4, 2
PACE = 0.3  # a practised user's seconds a key


def missing(expected, said):
    """The expected texts that no one utterance holds."""
    return [text for text in expected if not any(text in utterance for utterance in said)]


def press(key):
    """A key by its X name, or ("type", text, select): text typed, over the box's text if select."""
    if isinstance(key, tuple):
        if key[2]:
            subprocess.run(["xdotool", "key", "--clearmodifiers", "ctrl+a"], check=True)
        subprocess.run(["xdotool", "type", "--clearmodifiers", "--", key[1]], check=True)
    else:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)


class Orca:
    def __init__(self, folder):
        shutil.copy(os.path.join(HERE, "user-settings.conf"), folder)
        self.log, self.debug = os.path.join(folder, "speech.log"), os.path.join(folder, "debug.out")
        environment = dict(os.environ, PYTHONPATH=HERE, XPCALC_SPEECH_LOG=self.log)
        # Orca's launcher ends at once while another Orca of the same user
        # runs, on any desktop: then it is started again once none runs.
        deadline = time.monotonic() + 600
        while True:
            while time.monotonic() < deadline and subprocess.run(
                    ["pgrep", "-u", str(os.getuid()), "-x", "orca"], stdout=subprocess.DEVNULL).returncode == 0:
                time.sleep(2)
            self.process = subprocess.Popen(["orca", "--user-prefs", folder, "--debug-file", self.debug],
                                            env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            started = time.monotonic() + 60
            while self.process.poll() is None and time.monotonic() < started:
                if self.wait_for("Screen reader on.", 0, 1):
                    return
            if self.process.poll() is None or time.monotonic() > deadline:
                self.stop()
                sys.exit("Orca did not start")
            print("Orca ended at once, as it does while another Orca runs; once none runs, again", flush=True)

    def timed_utterances(self):
        """What Orca has said, as (time.monotonic(), utterance) pairs."""
        try:
            with open(self.log, encoding="utf-8") as log:
                return [(float(when), said) for when, said in (line.rstrip("\n").split("\t", 1) for line in log)]
        except FileNotFoundError:
            return []

    def utterances(self):
        return [said for _, said in self.timed_utterances()]

    def wait_for(self, text, since, seconds):
        """Whether Orca says text after its first `since` utterances, within `seconds`."""
        deadline = time.monotonic() + seconds
        while missing([text], self.utterances()[since:]):
            if time.monotonic() > deadline:
                return False
            time.sleep(0.1)
        return True

    def settle(self, quiet=1.5, seconds=30):
        """Waits until Orca has been quiet for `quiet` seconds."""
        deadline, count, since = time.monotonic() + seconds, -1, time.monotonic()
        while time.monotonic() < deadline:
            if len(self.utterances()) != count:
                count, since = len(self.utterances()), time.monotonic()
            elif time.monotonic() - since >= quiet:
                return
            time.sleep(0.1)

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:  # busy with a program that has gone
            self.process.kill()
            self.process.wait(10)


class Design:
    """The designs' export, and what Orca says of what it describes."""

    def __init__(self, path):
        with open(path, encoding="utf-8") as file:
            self.export = json.load(file)
        self.chart = self.export["awardChart"]
        self.columns = sorted((column for grid in self.chart["grids"] for column in grid["columns"]),
                              key=lambda column: column["challengeRating"])

    def award(self, level, rating):
        return self.export["awardTable"][level - 1][rating - 1]

    def name(self, window, control):
        """The label that labels a control (each count box's, of its challenge
        rating), else its accessible name or caption; the chart's title."""
        if control["kind"] == "chart":
            return self.chart["title"]
        labels = [c["text"] for c in window["controls"] if control["challengeRating"] is not None
                  and c["kind"] == "label" and c["challengeRating"] == control["challengeRating"]]
        return labels[0] if labels else heard_as(control)

    def reached(self, window, control):
        """What Orca says as the focus reaches a control: its name and role; for
        the chart, its size with the row labels' column, and its first cell."""
        if control["kind"] != "chart":
            return [f"{self.name(window, control)} {ROLE_WORDS[control['kind']]}."]
        row = self.chart["rows"][0]
        return [f"{self.chart['title']}.", TABLE.format(rows=len(self.chart["rows"]), columns=1 + len(self.columns)),
                f"{row['heardAs']}.", f"{self.award(row['firstLevel'], self.columns[0]['challengeRating'])}."]

    def opened(self, window):
        """What Orca says as a window opens: its name, and where the focus is."""
        return [WINDOW.format(name=window["accessibleName"])] + self.reached(window, first_focus(window))


def first_focus(window):
    return window["controls"][window["firstFocus"]]


class ProgramEnded(Exception):
    """The program ended halfway through the walk."""


class OrcaDriver:
    """Replays the walk by keys, checking what Orca says after each step's
    keys; a press's outcome is heard by the step after it."""

    def __init__(self, orca, design, program, since):
        self.orca, self.design, self.program = orca, design, program
        self.since = self.printed = since  # what Orca says after its first `since` utterances is the last keys'
        self.current = self.focus = self.pressed = None  # the window, the focus's index, the button to hear of
        self.typed, self.failures = {}, []  # what the walk typed, by the box's index

    def keys(self, *keys):
        self.orca.settle()
        self.since = self.printed = len(self.orca.utterances())
        for key in keys:
            press(key)
            time.sleep(0.25)

    def hear(self, what, expected):
        """What Orca said of the last keys, once it said the expected texts and was quiet."""
        for text in expected:
            self.orca.wait_for(text, self.since, 30)
        self.orca.settle()
        said = self.orca.utterances()[self.since:]
        print(f"{what}: {said[self.printed - self.since:]}", flush=True)
        self.printed = self.since + len(said)
        if missing(expected, said):
            self.failures.append(f"{what}: Orca did not say {missing(expected, said)}, only {said}")
        if self.program.poll() is not None:
            raise ProgramEnded(f"the program ended with status {self.program.returncode}")
        return said

    def name(self, control):
        return self.design.name(self.current, control)

    def reached(self, control):
        return self.design.reached(self.current, control)

    def focus_on(self, control):
        """Moves the focus by Tab, or Shift+Tab where shorter; returns what Orca said."""
        order, index = self.current["tabOrder"], self.current["controls"].index(control)
        if index not in order or self.focus is None:
            raise ScenarioError(f"{self.name(control)} is not in the {self.current['name']} window's tab order"
                                if index not in order else f"the focus is lost, on the way to {self.name(control)}")
        forward = (order.index(index) - order.index(self.focus)) % len(order)
        if forward == 0:
            return None
        self.keys(*(["Tab"] * forward if forward <= len(order) - forward else ["shift+Tab"] * (len(order) - forward)))
        self.focus = index
        return self.hear(f"to {self.name(control)}", self.reached(control))

    def read_whole(self, what, control, text, said, selected=False):
        """Right after a box's name Orca reads what it holds, selected or not, or selected where the program
        selected it. (user-settings.conf has it read a run of one digit as written.)"""
        name = self.reached(control)[0]
        at = [i for i, utterance in enumerate(said) if name in utterance]
        read = said[at[-1] + 1] if at and at[-1] + 1 < len(said) else None
        readings = ([] if selected else [f"{text}."]) + [f"{text} selected."]
        if at and read not in readings:
            self.failures.append(f"{what}: after {name!r} Orca read {read!r}, not {' or '.join(map(repr, readings))}")

    def working(self):
        """Shift+F1 on the total reads a line for each count typed that earned experience."""
        typed = [(self.current["controls"][i], int(text)) for i, text in self.typed.items()]
        levels = [number for control, number in typed if control["role"] == "partyLevel"]
        lines = [WORKING_LINE.format(rating=control["challengeRating"], count=count, award=award, product=count * award)
                 for control, count in typed if control["role"] == "count" and levels
                 for award in [self.design.award(levels[-1], control["challengeRating"])] if count and award]
        if not lines:
            raise ScenarioError("the walk's calculation earns nothing, so has no working to hear")
        self.keys("shift+F1")
        self.hear("Shift+F1 reads the working", lines)
        self.keys("Escape")  # the working's tooltip

    def walk_chart(self, chart):
        """Down the chart's rows, named by their headers, and across its columns, with the cell's award."""
        self.focus_on(chart)
        row, column = self.design.chart["rows"][CHART_DOWN], self.design.columns[CHART_ACROSS]
        self.keys(*["Down"] * CHART_DOWN)
        self.hear(f"down to {row['heardAs']}", [f"{row['heardAs']}."])
        self.keys(*["Right"] * CHART_ACROSS)
        award = self.design.award(row["firstLevel"], column["challengeRating"])
        self.hear(f"across to {column['heardAs']}", [COLUMN_HEADER.format(header=column["heardAs"], cell=award)])

    # The steps of the walk.

    def window(self, window):
        self.current, self.pressed, self.typed, self.focus = window, None, {}, window["firstFocus"]
        what, first = f"the {window['accessibleName']} window opens", first_focus(window)
        said = self.hear(what, self.design.opened(window))
        if first["kind"] == "text box":
            self.read_whole(what, first, first["text"], said)
        for chart in (control for control in window["controls"] if control["kind"] == "chart"):
            self.walk_chart(chart)
            self.focus_on(first)

    def shot(self, name):
        pass  # nothing to hear

    def type(self, control, text):
        self.focus_on(control)
        self.keys(("type", text, True))
        self.hear(f"{text} typed into {self.name(control)}", [])
        self.typed[self.current["controls"].index(control)] = text

    def press(self, control):
        self.focus_on(control)
        self.keys("Return")
        self.pressed = control

    def expect(self, control, text, focused):
        what, calculated = f"{self.name(control)} holds {text}", self.pressed is not None
        if calculated:  # what a press worked out, which Orca is told of
            self.hear(f"{heard_as(self.pressed)} announces {text}", [ANNOUNCEMENT.format(total=text)])
            self.pressed = None
        index = self.current["controls"].index(control)
        if focused:  # where the program put the focus: Orca said so after the last keys
            said = self.hear(f"the focus is on {self.name(control)}", self.reached(control))
            self.focus = index
        elif self.focus == index:  # away and back, for Orca to read it
            self.keys("Tab", "shift+Tab")
            said = self.hear(what, self.reached(control))
        else:
            said = self.focus_on(control)
        self.read_whole(what, control, text, said, selected=focused)
        if calculated:
            self.working()

    def warning(self, says):
        self.pressed = None
        self.hear(f"the warning says {says!r}", [says])

    def answer(self, button):
        self.hear(f"the warning's {button} button", [f"{button} {ROLE_WORDS['button']}."])
        self.keys("Return")
        self.focus = None  # the window hands it to the box concerned


class Recorder(list):
    """A driver that writes down the steps as the replayer resolves them."""

    def __getattr__(self, kind):
        return lambda *arguments: self.append((kind, *arguments))


def paced_walk(design, steps):
    """The walk's first calculation and its way through the windows as keys,
    each with what Orca must say for it and whether it opens a window: Tab to
    every stop of each window in turn, typing where the walk types, pressing
    the button it presses first, then on to the button it leaves by."""
    starts = [i for i, step in enumerate(steps) if step[0] == "window"]
    walk = []
    for start, end in zip(starts, starts[1:]):
        window, here = steps[start][1], steps[start + 1:end]
        if not here or here[-1][0] != "press":
            raise ScenarioError(f"the walk leaves the {window['name']} window by no press")
        controls, order = window["controls"], window["tabOrder"]
        first_press = next(i for i, step in enumerate(here) if step[0] == "press")
        typed, calculate, total = {}, None, None
        if first_press < len(here) - 1:  # a press before the one that leaves
            typed = {controls.index(step[1]): step[2] for step in here[:first_press] if step[0] == "type"}
            calculate, outcome = controls.index(here[first_press][1]), here[first_press + 1]
            if outcome[0] == "expect":
                total = (controls.index(outcome[1]), outcome[2])
        stop, seen = window["firstFocus"], set()
        while True:
            seen.add(stop)
            if stop in typed:
                walk.append((("type", typed[stop], stop == window["firstFocus"]), [], False))
            if stop == calculate:
                walk.append(("Return", [ANNOUNCEMENT.format(total=total[1])] if total else [], False))
                calculate = None  # pressed
            if len(seen) == len(order) and stop == controls.index(here[-1][1]):
                break
            left, stop = stop, order[(order.index(stop) + 1) % len(order)]
            # Orca reads a row of the chart whole as the focus enters it,
            # which takes it longer than a practised user's next key.
            said = [] if "chart" in (controls[left]["kind"], controls[stop]["kind"]) else \
                design.reached(window, controls[stop])
            if calculate is None and total and stop == total[0]:
                said.append(f"{total[1]} selected.")
            walk.append(("Tab", said, False))
        walk.append(("Return", design.opened(steps[end][1]), True))
    return walk


def typed_walk(orca, walk):
    """Types the walk a key every PACE seconds, waiting only for a window a key
    opens, as a user waits for Orca to say where the focus is; returns the
    failures. Each key's words are those from its press to the next key's,
    with a grace of half a key for Orca's own delay."""
    since, presses, failures = len(orca.utterances()), [], []
    for key, expected, opens in walk:
        before = len(orca.utterances())
        presses.append(time.monotonic())
        press(key)
        for text in expected if opens else []:
            orca.wait_for(text, before, 20)
        time.sleep(PACE)
    orca.settle()
    said = orca.timed_utterances()[since:]
    print(f"the walk at a practised pace, one key every {PACE} s:")
    for number, ((key, expected, _), start, end) in enumerate(zip(walk, presses, presses[1:] + [float("inf")]), 1):
        print(f"  {number:2} {key}: {[f'+{when - start:.2f} s {text}' for when, text in said if start <= when < end]}")
        for_key = [text for when, text in said if start <= when < end + PACE / 2]
        if missing(expected, for_key):
            failures.append(f"key {number} ({key}): Orca did not say {missing(expected, for_key)}, only {for_key}")
    return failures


def start(xpcalc, console, orca, opening):
    """Starts the program; returns it and how many utterances Orca had said. A
    window mapped without the focus, as another closes, is clicked into view."""
    since = len(orca.utterances())
    program = subprocess.Popen([xpcalc], env=dict(os.environ, QT_QPA_PLATFORM="xcb"), stdout=console,
                               stderr=subprocess.STDOUT)
    if not orca.wait_for(opening, since, 15):
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(program.pid),
                        "windowactivate", "--sync"], timeout=30, check=False, stdout=subprocess.DEVNULL)
        if not orca.wait_for(opening, since, 45):
            program.terminate()
            sys.exit(f"Orca never spoke of the program: {orca.utterances()[since:]}")
    return program, since


def end(program, orca):
    if program.poll() is None:
        program.terminate()
        program.wait(10)
        orca.settle()


def main():
    xpcalc, design_path = sys.argv[1:]
    design, steps = Design(design_path), Recorder()
    try:
        replay(design_path, steps, SCENARIO)
        walk = paced_walk(design, steps)
    except ScenarioError as error:
        sys.exit(f"orca_speaks.py: {error}")
    opening = design.reached(steps[0][1], first_focus(steps[0][1]))[0]
    folder = tempfile.mkdtemp()
    orca = Orca(folder)
    # What the program writes to the console while a screen reader drives it:
    # nothing, however slowly the screen reader answers.
    console = open(os.path.join(folder, "console.log"), "w+")
    program, since = start(xpcalc, console, orca, opening)
    try:
        driver = OrcaDriver(orca, design, program, since)
        try:
            replay(design_path, driver, SCENARIO)
        except (ProgramEnded, ScenarioError) as error:
            driver.failures.append(f"the walk stopped: {error}")
        failures = driver.failures
        end(program, orca)
        program, _ = start(xpcalc, console, orca, opening)
        orca.settle()  # the program's opening
        failures += typed_walk(orca, walk)
        if program.poll() is not None:
            failures.append(f"the program ended with status {program.returncode}")
    finally:
        end(program, orca)
        orca.stop()
    console.seek(0)
    written = console.read()
    console.close()
    if written:
        failures.append(f"the program wrote to the console:\n{written[:2000]}")
    return report("screen reader", failures, folder, f"Orca's debug log: {orca.debug}")


if __name__ == "__main__":
    sys.exit(main())
