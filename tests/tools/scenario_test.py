#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The user's walk names only windows and controls the designs have, and
reaches the driver step by step, in order.

Usage: scenario_test.py DESIGN_JSON
"""
import json
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from scenario import ScenarioError, replay  # noqa: E402

DESIGN = sys.argv.pop(1) if len(sys.argv) > 1 else ""


class Recorder:
    """A driver that writes down what it is asked."""

    def __init__(self):
        self.asked = []

    def __getattr__(self, step):
        return lambda *arguments: self.asked.append(
            (step, *[a["role"] if isinstance(a, dict) and "role" in a else a for a in arguments]))


class Scenario(unittest.TestCase):
    def test_replays_on_the_designs(self):
        recorder = Recorder()
        replay(DESIGN, recorder)
        kinds = [asked[0] for asked in recorder.asked]
        self.assertEqual(kinds[0], "window")
        for kind in ("shot", "type", "press", "expect", "warning", "answer"):
            self.assertIn(kind, kinds)
        self.assertIn(("press", "showChart"), recorder.asked)  # XP Chart, on to the chart
        self.assertEqual(recorder.asked[-1][0], "expect")

    def test_a_control_the_design_lacks_is_refused(self):
        with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as file:
            json.dump({"steps": [{"window": "calculator"}, {"press": "count", "challengeRating": 21}]}, file)
        self.addCleanup(os.unlink, file.name)
        recorder = Recorder()
        with self.assertRaises(ScenarioError):
            replay(DESIGN, recorder, file.name)
        self.assertEqual([asked[0] for asked in recorder.asked], ["window"])


if __name__ == "__main__":
    unittest.main()
