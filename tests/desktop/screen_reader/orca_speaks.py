#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""What the Orca screen reader says as a blind user drives the program by
keys alone: the total after Calculate, each box read whole, the working on
Shift+F1, the chart's cells with their headers, and the overflow warning;
and the program writes nothing to the console meanwhile.

Usage: orca_speaks.py XPCALC
Run on a desktop with a window manager and an accessibility bus
(desktop_session.sh --window-manager). Orca speaks through speech_log.py,
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

    def utterances(self):
        try:
            with open(self.log, encoding="utf-8") as log:
                return [line.rstrip("\n") for line in log]
        except FileNotFoundError:
            return []

    def wait_for(self, text, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if any(text in said for said in self.utterances()[self.heard:]):
                return True
            time.sleep(0.1)
        return False

    def after(self, keys, settle=1.5, seconds=30):
        """Presses the keys, then returns what Orca said until it had been
        quiet for `settle` seconds."""
        for key in keys:
            subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)
            time.sleep(0.25)
        deadline = time.monotonic() + seconds
        count, quiet_since = -1, time.monotonic()
        while time.monotonic() < deadline:
            now = len(self.utterances())
            if now != count:
                count, quiet_since = now, time.monotonic()
            elif time.monotonic() - quiet_since >= settle:
                break
            time.sleep(0.1)
        said = self.utterances()[self.heard:]
        self.heard += len(said)
        return said

    def stop(self):
        self.process.terminate()
        self.process.wait(10)


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


def main():
    xpcalc = sys.argv[1]
    folder = tempfile.mkdtemp()
    orca = Orca(folder)
    # What the program writes to the console while a screen reader drives it:
    # nothing, however slowly the screen reader answers.
    console = open(os.path.join(folder, "console.log"), "w+")
    program = subprocess.Popen([xpcalc], env=dict(os.environ, QT_QPA_PLATFORM="xcb"), stdout=console,
                               stderr=subprocess.STDOUT)
    failures = []
    try:
        if not orca.wait_for("CR1 text.", 60):
            sys.exit(f"Orca never spoke of the calculator: {orca.utterances()}")
        for what, keys, expected, unexpected in STEPS:
            said = orca.after(keys)
            print(f"{what}: {said}")
            missing = [text for text in expected if not any(text in utterance for utterance in said)]
            wrong = [text for text in unexpected if any(text in utterance for utterance in said)]
            if missing or wrong:
                failures.append(f"{what}: Orca did not say {missing}" + (f" but said {wrong}" if wrong else ""))
            if program.poll() is not None:
                failures.append(f"the program ended with status {program.returncode}")
                break
    finally:
        program.terminate()
        program.wait(10)
        orca.stop()
    console.seek(0)
    written = console.read()
    console.close()
    if written:
        failures.append(f"the program wrote to the console:\n{written[:2000]}")
    return report("screen reader", failures, folder, f"Orca's debug log: {orca.debug}")


if __name__ == "__main__":
    sys.exit(main())
