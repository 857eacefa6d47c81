#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""What the Orca screen reader says as a blind user drives the program by
keys alone. The user's walk (tools/scenario.json) is replayed by keys, the
focus moved by Tab along each window's tab order, and what Orca says is held
against the designs' export (design.json): each window as it opens, each
control the focus reaches, by its label or name and its role, each box read
whole, the total announced and the warning. On the way, Shift+F1 reads the
working and the chart is walked with its row and column headers. Then the
walk's first calculation and its way through both windows, every stop of
each, typed key by key at a steady pace, slow and as fast as a practised
user types; and the program writes nothing to the console meanwhile.

Usage: orca_speaks.py XPCALC DESIGN_JSON
Run on a desktop with a window manager and an accessibility bus
(tools/desktop_session.sh --window-manager). Orca speaks through speech_log.py,
which writes each utterance to a file instead of a synthesiser.
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

# Orca's words: for the role of each kind of control that takes the focus,
# for a window, for a table as the focus enters it and for a column's header
# as the focus crosses into it.
ROLE_WORDS = {"text box": "text", "button": "push button"}
WINDOW_WORD = "frame"
TABLE = "table with {rows} rows {columns} columns"
COLUMN_HEADER = "{header} column header {cell}."
# The core's words for a new total and for how it came about
# (calc/messages.cpp): the export carries neither, so their form is written
# here; the numbers come from the walk and the award table.
ANNOUNCEMENT = "Total experience: {total}"
WORKING_LINE = "CR {rating}: {count} \u00d7 {award} = {product}"
# How far the chart is walked from the cell the focus enters it at, the
# first row's first award: down so many rows, then across so many columns.
CHART_DOWN, CHART_ACROSS = 4, 2
PACES = [("slow", 1.2), ("practised", 0.3)]


class ProgramEnded(Exception):
    pass


class Orca:
    def __init__(self, folder):
        shutil.copy(os.path.join(HERE, "user-settings.conf"), folder)
        self.log = os.path.join(folder, "speech.log")
        self.debug = os.path.join(folder, "debug.out")
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
            while self.process.poll() is None and time.monotonic() < started and not self.utterances():
                time.sleep(0.1)
            if self.process.poll() is None and self.wait_for("Screen reader on.", 0, 10):
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
        """Whether Orca says text, within one utterance, after its first
        `since` utterances, within `seconds`."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if any(text in said for said in self.utterances()[since:]):
                return True
            time.sleep(0.1)
        return False

    def settle(self, settle=1.5, seconds=30):
        """Waits until Orca has been quiet for `settle` seconds."""
        deadline = time.monotonic() + seconds
        count, quiet_since = -1, time.monotonic()
        while time.monotonic() < deadline:
            now = len(self.utterances())
            if now != count:
                count, quiet_since = now, time.monotonic()
            elif time.monotonic() - quiet_since >= settle:
                break
            time.sleep(0.1)

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:  # busy with a program that has gone
            self.process.kill()
            self.process.wait(10)


def press(key):
    """A key by its X name, or ("type", text, select): the text typed, over
    the box's whole text if select (a box the focus reaches by Tab has its
    text selected already)."""
    if isinstance(key, tuple):
        if key[2]:
            subprocess.run(["xdotool", "key", "--clearmodifiers", "ctrl+a"], check=True)
        subprocess.run(["xdotool", "type", "--clearmodifiers", "--", key[1]], check=True)
    else:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)


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

    def opened(self, window):
        return f"{window['accessibleName']} {WINDOW_WORD}."

    def name(self, window, control):
        """What Orca calls a control: Orca says a label that labels it in
        place of its accessible name, and the window makes each count box's
        label, of the same challenge rating, its buddy; else its accessible
        name or caption, and the chart's is the chart's title."""
        if control["kind"] == "chart":
            return self.chart["title"]
        rating = control["challengeRating"]
        labels = [c for c in window["controls"]
                  if rating is not None and c["kind"] == "label" and c["challengeRating"] == rating]
        return labels[0]["text"] if labels else heard_as(control)

    def reached(self, window, control):
        """What Orca says as the focus reaches a control: its name and role;
        for the chart, its name, its size counting the row labels as a
        column, and the row of the cell it enters at, by the row's header."""
        if control["kind"] == "chart":
            row = self.chart["rows"][0]
            return [f"{self.name(window, control)}.",
                    TABLE.format(rows=len(self.chart["rows"]), columns=1 + len(self.columns)),
                    f"{row['heardAs']}.", f"{self.award(row['firstLevel'], self.columns[0]['challengeRating'])}."]
        return [f"{self.name(window, control)} {ROLE_WORDS[control['kind']]}."]


class OrcaDriver:
    """Replays the scenario by keys and checks what Orca says at each step:
    what it says of the keys pressed last, from the press on, once it has
    said what the step expects and then been quiet. A press's outcome is
    heard by the step after it."""

    def __init__(self, orca, design, program, since):
        self.orca, self.design, self.program = orca, design, program
        self.since = self.printed = since  # what Orca says after its first `since` utterances is the last keys'
        self.current = None  # the window's design
        self.focus = None  # the index of the control with the focus, as far as the drive knows
        self.pressed = None  # the button pressed last, whose outcome the next step hears
        self.typed = {}  # what the walk typed, by the box's index
        self.failures = []

    def keys(self, *keys):
        self.orca.settle()
        self.since = self.printed = len(self.orca.utterances())
        for key in keys:
            press(key)
            time.sleep(0.25)

    def hear(self, what, expected):
        """What Orca said of the last keys, once it had said the expected
        texts (each within one utterance), however long a busy machine keeps
        it, and had then been quiet."""
        for text in expected:
            self.orca.wait_for(text, self.since, 30)
        self.orca.settle()
        said = self.orca.utterances()[self.since:]
        print(f"{what}: {said[self.printed - self.since:]}", flush=True)
        self.printed = self.since + len(said)
        missing = [text for text in expected if not any(text in utterance for utterance in said)]
        if missing:
            self.failures.append(f"{what}: Orca did not say {missing}, only {said}")
        if self.program.poll() is not None:
            raise ProgramEnded(f"the program ended with status {self.program.returncode}")
        return said

    def name(self, control):
        return self.design.name(self.current, control)

    def focus_on(self, control):
        """Moves the focus to a control of the current window by Tab, or by
        Shift+Tab where that is shorter; returns what Orca said of it."""
        order = self.current["tabOrder"]
        index = self.current["controls"].index(control)
        if index not in order or self.focus is None:
            raise ScenarioError(f"{self.name(control)} is not in the {self.current['name']} window's tab order"
                                if index not in order else f"the focus is lost, on the way to {self.name(control)}")
        forward = (order.index(index) - order.index(self.focus)) % len(order)
        if forward == 0:
            return None
        self.keys(*(["Tab"] * forward if forward <= len(order) - forward else ["shift+Tab"] * (len(order) - forward)))
        self.focus = index
        return self.hear(f"to {self.name(control)}", self.design.reached(self.current, control))

    def read_whole(self, what, control, text, said):
        """Right after a box's name, Orca reads what it holds, selected or
        not, and nothing else. (Its settings, user-settings.conf, have it read
        a run of one digit as written, not as a count of the digit.)"""
        name = self.design.reached(self.current, control)[0]
        at = [i for i, utterance in enumerate(said) if name in utterance]
        read = said[at[-1] + 1] if at and at[-1] + 1 < len(said) else None
        if at and read not in (f"{text}.", f"{text} selected."):
            self.failures.append(f"{what}: after {name!r} Orca read {read!r}, not {text!r}")

    def working(self):
        """Shift+F1 on the total: Orca reads how it came about, a line for
        each box typed into that earned experience at the level typed."""
        controls, table = self.current["controls"], self.design.export["awardTable"]
        levels = [int(text) for i, text in self.typed.items() if controls[i]["role"] == "partyLevel"]
        level = levels[-1] if levels else 0
        lines = []
        for i, text in self.typed.items():
            rating = controls[i]["challengeRating"]
            earns = controls[i]["role"] == "count" and 1 <= level <= len(table)
            award, count = (self.design.award(level, rating) if earns else 0), int(text)
            if award and count:
                lines.append(WORKING_LINE.format(rating=rating, count=count, award=award, product=count * award))
        if not lines:
            raise ScenarioError("the walk's calculation earns nothing, so has no working to hear")
        self.keys("shift+F1")
        self.hear("Shift+F1 reads the working", lines)
        self.keys("Escape")  # the working's tooltip

    def walk_chart(self, chart):
        """Into the chart, down its rows and across its columns: Orca names
        each row by its header, and each column by its header with the
        cell's award."""
        self.focus_on(chart)
        row = self.design.chart["rows"][CHART_DOWN]
        self.keys(*["Down"] * CHART_DOWN)
        self.hear(f"down to {row['heardAs']}", [f"{row['heardAs']}."])
        column = self.design.columns[CHART_ACROSS]
        self.keys(*["Right"] * CHART_ACROSS)
        award = self.design.award(row["firstLevel"], column["challengeRating"])
        self.hear(f"across to {column['heardAs']}", [COLUMN_HEADER.format(header=column["heardAs"], cell=award)])

    # The steps of the walk.

    def window(self, window):
        self.current, self.pressed, self.typed = window, None, {}
        first = window["controls"][window["firstFocus"]]
        said = self.hear(f"the {window['accessibleName']} window opens",
                         [self.design.opened(window)] + self.design.reached(window, first))
        self.focus = window["firstFocus"]
        if first["kind"] == "text box":
            self.read_whole(f"the {window['accessibleName']} window opens", first, first["text"], said)
        for control in window["controls"]:
            if control["kind"] == "chart":
                self.walk_chart(control)
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
        what = f"{self.name(control)} holds {text}"
        calculated = self.pressed is not None
        if calculated:
            # A box read straight after a press holds what the press worked
            # out, which Orca is told of.
            self.hear(f"{heard_as(self.pressed)} announces {text}", [ANNOUNCEMENT.format(total=text)])
            self.pressed = None
        index = self.current["controls"].index(control)
        if focused:  # where the program put the focus: Orca said so after the last keys
            said = self.hear(f"the focus is on {self.name(control)}", self.design.reached(self.current, control))
            self.focus = index
        elif self.focus == index:  # away and back, for Orca to read it
            self.keys("Tab", "shift+Tab")
            said = self.hear(what, self.design.reached(self.current, control))
        else:
            said = self.focus_on(control)
        self.read_whole(what, control, text, said)
        if calculated:
            self.working()

    def warning(self, says):
        self.pressed = None
        self.hear(f"the warning says {says!r}", [says])

    def answer(self, button):
        self.hear(f"the warning's {button} button", [f"{button} {ROLE_WORDS['button']}."])
        self.keys("Return")
        self.focus = None  # the window hands it to the box concerned


class Recorder:
    """A driver that writes down the steps as the replayer resolves them."""

    def __init__(self):
        self.steps = []

    def __getattr__(self, kind):
        return lambda *arguments: self.steps.append((kind, *arguments))


def paced_walk(design, steps):
    """The scenario's first calculation and its way through the windows as
    one walk of keys: in each window, Tab to every stop of its tab order in
    turn, typing where the scenario types and pressing the button it presses
    first, then on to the button it leaves by, and Return. Each key comes
    with what Orca must say for it, whether only at a slow pace (Orca reads
    a row of the chart whole as the focus enters it, which takes it longer
    than a practised user's next key), and whether it switches windows."""
    windows = [i for i, step in enumerate(steps) if step[0] == "window"]
    walk = []
    for start, end in zip(windows, windows[1:]):
        window, following, here = steps[start][1], steps[end][1], steps[start + 1:end]
        if not here or here[-1][0] != "press":
            raise ScenarioError(f"the walk leaves the {window['name']} window by no press")
        controls, order = window["controls"], window["tabOrder"]
        leave = controls.index(here[-1][1])
        first_press = next(i for i, step in enumerate(here) if step[0] == "press")
        typed, calculate, total = {}, None, None
        if first_press < len(here) - 1:  # a press before the one that leaves
            typed = {controls.index(step[1]): step[2] for step in here[:first_press] if step[0] == "type"}
            calculate = controls.index(here[first_press][1])
            outcome = here[first_press + 1]
            if outcome[0] == "expect":
                total = (controls.index(outcome[1]), outcome[2])
        stop, seen, calculated, after_chart = window["firstFocus"], set(), False, False
        while True:
            seen.add(stop)
            if stop in typed:
                walk.append((("type", typed[stop], stop == window["firstFocus"]), [], False, False))
            if stop == calculate and not calculated:
                walk.append(("Return", [ANNOUNCEMENT.format(total=total[1])] if total else [], False, False))
                calculated = True
            if len(seen) == len(order) and stop == leave:
                break
            stop = order[(order.index(stop) + 1) % len(order)]
            reached = design.reached(window, controls[stop])
            if total and calculated and stop == total[0]:
                reached.append(f"{total[1]} selected.")
            in_chart = controls[stop]["kind"] == "chart"
            walk.append(("Tab", reached, in_chart or after_chart, False))
            after_chart = in_chart
        first = following["controls"][following["firstFocus"]]
        walk.append(("Return", [design.opened(following)] + design.reached(following, first), False, True))
    return walk


def typed_walk(orca, walk, pace, fast):
    """Types the walk at one key every `pace` seconds, waiting only for a
    window a key opens, as a user waits for it to show and for Orca to say
    where the focus is; returns the failures and, for each key, what Orca said
    from its press until the next key's, with a grace of half a key for
    Orca's own delay."""
    since = len(orca.utterances())
    presses = []
    for key, expected, _, switch in walk:
        before = len(orca.utterances())
        presses.append(time.monotonic())
        press(key)
        if switch:
            for text in expected:
                orca.wait_for(text, before, 20)
        time.sleep(pace)
    orca.settle()
    said = orca.timed_utterances()[since:]
    ends = presses[1:] + [float("inf")]
    failures, heard = [], []
    for (key, expected, slow_only, _), start, end in zip(walk, presses, ends):
        for_key = [text for when, text in said if start <= when < end + pace / 2]
        heard.append((key, [f"+{when - start:.2f} s {text}" for when, text in said if start <= when < end]))
        wanted = [] if fast and slow_only else expected
        missing = [text for text in wanted if not any(text in utterance for utterance in for_key)]
        if missing:
            failures.append(f"key {len(heard)} ({key}): Orca did not say {missing}, only {for_key}")
    return failures, heard


def start(xpcalc, console, orca, opening):
    """Starts the program; returns it, and how many utterances Orca had said
    before. A window manager may leave a window that maps as another closes
    without the focus, as a user would find it: then it is clicked into view,
    as a user would."""
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


def stop(program):
    program.terminate()
    program.wait(10)


def main():
    if len(sys.argv) != 3:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    xpcalc, design_path = sys.argv[1:]
    design = Design(design_path)
    recorder = Recorder()
    try:
        replay(design_path, recorder, SCENARIO)
        walk = paced_walk(design, recorder.steps)
    except ScenarioError as error:
        sys.exit(f"orca_speaks.py: {error}")
    first = recorder.steps[0][1]
    opening = design.reached(first, first["controls"][first["firstFocus"]])[0]
    folder = tempfile.mkdtemp()
    orca = Orca(folder)
    # What the program writes to the console while a screen reader drives it:
    # nothing, however slowly the screen reader answers.
    console = open(os.path.join(folder, "console.log"), "w+")
    failures = []
    program, since = start(xpcalc, console, orca, opening)
    try:
        driver = OrcaDriver(orca, design, program, since)
        try:
            replay(design_path, driver, SCENARIO)
        except (ProgramEnded, ScenarioError) as error:
            failures.append(f"the walk stopped: {error}")
        failures += driver.failures
        stop(program)
        orca.settle()
        for name, pace in PACES:
            program, since = start(xpcalc, console, orca, opening)
            orca.settle()  # the program's opening
            walk_failures, heard = typed_walk(orca, walk, pace, fast=pace < 1)
            print(f"walk at a {name} pace, one key every {pace} s:")
            for number, (key, said) in enumerate(heard, 1):
                print(f"  {number:2} {key}: {said}")
            failures += [f"at a {name} pace: {failure}" for failure in walk_failures]
            if program.poll() is not None:
                failures.append(f"the program ended with status {program.returncode}")
            stop(program)
            orca.settle()
    finally:
        if program.poll() is None:
            stop(program)
        orca.stop()
    console.seek(0)
    written = console.read()
    console.close()
    if written:
        failures.append(f"the program wrote to the console:\n{written[:2000]}")
    return report("screen reader", failures, folder, f"Orca's debug log: {orca.debug}")


if __name__ == "__main__":
    sys.exit(main())
