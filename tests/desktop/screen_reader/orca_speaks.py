#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""What the Orca screen reader says as a blind user drives the program by
keys alone: the total after Calculate, each box read whole, the working on
Shift+F1, the chart's cells with their headers, and the overflow warning;
then what it says for each key of one walk through both windows, typed at a
steady pace, slow and as fast as a practised user types; and the program
writes nothing to the console meanwhile.

Usage: orca_speaks.py XPCALC
Run on a desktop with a window manager and an accessibility bus
(tools/desktop_session.sh --window-manager). Orca speaks through speech_log.py,
which writes each utterance to a file instead of a synthesiser.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
sys.dont_write_bytecode = True  # no cache of the shared module in the source tree
from desktop_test import report  # noqa: E402


class Orca:
    def __init__(self, folder):
        shutil.copy(os.path.join(HERE, "user-settings.conf"), folder)
        self.log = os.path.join(folder, "speech.log")
        self.debug = os.path.join(folder, "debug.out")
        environment = dict(os.environ, PYTHONPATH=HERE, XPCALC_SPEECH_LOG=self.log)
        self.process = subprocess.Popen(["orca", "--user-prefs", folder, "--debug-file", self.debug],
                                        env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.heard = 0
        if not self.wait_for("Screen reader on.", 60):
            sys.exit("Orca did not start")

    def timed_utterances(self):
        """What Orca has said, as (time.monotonic(), utterance) pairs."""
        try:
            with open(self.log, encoding="utf-8") as log:
                return [(float(when), said) for when, said in (line.rstrip("\n").split("\t", 1) for line in log)]
        except FileNotFoundError:
            return []

    def utterances(self):
        return [said for _, said in self.timed_utterances()]

    def wait_for(self, text, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if any(text in said for said in self.utterances()[self.heard:]):
                return True
            time.sleep(0.1)
        return False

    def after(self, keys, expected=(), settle=1.5, seconds=30):
        """Presses the keys, then returns what Orca said until it had said
        the expected texts, however long a busy machine keeps it, and had
        then been quiet for `settle` seconds."""
        for key in keys:
            press(key)
            time.sleep(0.25)
        for text in expected:
            self.wait_for(text, seconds)
        self.settle(settle, seconds)
        said = self.utterances()[self.heard:]
        self.heard += len(said)
        return said

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
    subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)


# Each step: what it does, the keys, and what Orca must say (each text
# within one utterance), or must not say (texts after "not").
STEPS = [
    ("the calculator opens, the first box read whole", [], ["CR1 text.", "0."], []),
    ("2 encounters at CR 3", ["Tab", "Tab", "2"], ["CR3 text."], []),
    ("back to the party level, level 4", ["shift+Tab"] * 6 + ["4"], ["Party level text."], []),
    ("to Calculate Experience", ["Tab"], ["Calculate Experience push button."], []),
    ("Calculate announces the total", ["Return"], ["Total experience: 1600"], []),
    ("the total box is read whole", ["Tab"], ["Total experience text.", "1600 selected."], ["160 selected."]),
    ("Shift+F1 reads the working", ["shift+F1"], ["CR 3: 2 × 800 = 1600"], []),
    ("to XP Chart", ["Escape", "Tab"], ["XP Chart push button."], []),
    ("the chart window", ["Return"], ["Click here to return to the Calculator push button."], []),
    ("into the chart", ["Tab"], ["table with 18 rows 21 columns", "Party level 1-3", "300."], []),
    ("down to level 7", ["Down"] * 4, ["Party level 7."], []),
    ("right to CR 3", ["Right", "Right"], ["CR 3 column header 525."], []),
    ("back to the calculator", ["Tab", "Return"], ["calculator frame.", "CR1 text."], []),
    ("too many encounters at CR 1, level 1", ["9", "e", "9"] + ["shift+Tab"] * 4 + ["1", "Tab"],
     ["Calculate Experience push button."], []),
    ("Calculate announces the overflow", ["Return"], ["The calculation overflowed.", "OK push button."], []),
    ("OK returns to the box that overflowed", ["Return"], ["CR1 text.", "09e9 selected."], []),
]


# One walk through both windows, key by key, as a user types it without
# waiting for Orca: each key, and what Orca must say for it (each text within
# one utterance). One encounter at CR 1 and two at CR 2, level 1, make 1500.
# Orca reads a row of the chart whole as the focus enters it, which takes it
# longer than a practised user's next key: those texts are asked of the slow
# pace only. A key that switches windows is followed by a wait for the new
# window, as a user waits for it to show.
SWITCHES = {"award chart frame.", "calculator frame."}
WALK = (
    [("1", []), ("Tab", ["CR2 text."]), ("2", [])]
    + [("Tab", [f"CR{rating} text."]) for rating in range(3, 21)]
    + [
        ("Tab", ["Party level text."]),
        ("1", []),
        ("Tab", ["Calculate Experience push button."]),
        ("Return", ["Total experience: 1500"]),
        ("Tab", ["Total experience text.", "1500 selected."]),
        ("Tab", ["XP Chart push button."]),
        ("Return", ["award chart frame."]),
        ("Tab", ["table with 18 rows 21 columns", "Party level 1-3."]),
        ("Tab", ["Click here to return to the Calculator push button."]),
        ("Return", ["calculator frame.", "CR1 text."]),
    ]
)
CHART_ROW_TEXTS = {"table with 18 rows 21 columns", "Party level 1-3.",
                   "Click here to return to the Calculator push button."}
PACES = [("slow", 1.2), ("practised", 0.3)]


def walk(orca, pace, fast):
    """Types the walk at one key every `pace` seconds; returns the failures
    and, for each key, what Orca said from its press until the next key's,
    with a grace of half a key for Orca's own delay."""
    presses = []
    for key, expected in WALK:
        presses.append(time.monotonic())
        press(key)
        switch = SWITCHES.intersection(expected)
        if switch:
            orca.wait_for(switch.pop(), 20)
        time.sleep(pace)
    orca.settle()
    said = orca.timed_utterances()[orca.heard:]
    orca.heard += len(said)
    ends = presses[1:] + [float("inf")]
    failures, heard = [], []
    for (key, expected), start, end in zip(WALK, presses, ends):
        for_key = [text for when, text in said if start <= when < end + pace / 2]
        heard.append((key, [f"+{when - start:.2f} s {text}" for when, text in said if start <= when < end]))
        wanted = [text for text in expected if not (fast and text in CHART_ROW_TEXTS)]
        missing = [text for text in wanted if not any(text in utterance for utterance in for_key)]
        if missing:
            failures.append(f"key {len(heard)} ({key}): Orca did not say {missing}, only {for_key}")
    return failures, heard


def start(xpcalc, console, orca):
    """Starts the program; what Orca says of it from then on is heard. A
    window manager may leave a window that maps as another closes without
    the focus, as a user would find it: then it is clicked into view, as a
    user would."""
    orca.heard = len(orca.utterances())
    program = subprocess.Popen([xpcalc], env=dict(os.environ, QT_QPA_PLATFORM="xcb"), stdout=console,
                               stderr=subprocess.STDOUT)
    if not orca.wait_for("CR1 text.", 15):
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(program.pid),
                        "windowactivate", "--sync"], timeout=30, check=False, stdout=subprocess.DEVNULL)
        if not orca.wait_for("CR1 text.", 45):
            program.terminate()
            sys.exit(f"Orca never spoke of the calculator: {orca.utterances()[orca.heard:]}")
    return program


def stop(program):
    program.terminate()
    program.wait(10)


def main():
    xpcalc = sys.argv[1]
    folder = tempfile.mkdtemp()
    orca = Orca(folder)
    # What the program writes to the console while a screen reader drives it:
    # nothing, however slowly the screen reader answers.
    console = open(os.path.join(folder, "console.log"), "w+")
    failures = []
    program = start(xpcalc, console, orca)
    try:
        for what, keys, expected, unexpected in STEPS:
            said = orca.after(keys, expected)
            print(f"{what}: {said}")
            missing = [text for text in expected if not any(text in utterance for utterance in said)]
            wrong = [text for text in unexpected if any(text in utterance for utterance in said)]
            if missing or wrong:
                failures.append(f"{what}: Orca did not say {missing}" + (f" but said {wrong}" if wrong else ""))
            if program.poll() is not None:
                failures.append(f"the program ended with status {program.returncode}")
                break
        stop(program)
        orca.settle()
        for name, pace in PACES:
            program = start(xpcalc, console, orca)
            orca.after([])  # the calculator's opening
            walk_failures, heard = walk(orca, pace, fast=pace < 1)
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
