#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The user's walk reaches the driver step by step, on controls the designs have. Usage: scenario_test.py DESIGN_JSON"""
import json
import sys
import tempfile
import unittest

from scenario import ScenarioError, replay

DESIGN = sys.argv.pop(1) if len(sys.argv) > 1 else ""


class Recorder(list):
    """A driver that writes down what it is asked, a control by its role."""
    def __getattr__(self, step):
        return lambda *args: self.append((step, *[a.get("role", a) if isinstance(a, dict) else a for a in args]))


class Scenario(unittest.TestCase):
    def test_replays_on_the_designs(self):
        asked = Recorder()
        replay(DESIGN, asked)
        self.assertEqual({kind for kind, *_ in asked},
                         {"window", "shot", "type", "press", "expect", "warning", "answer"})
        self.assertIn(("press", "showChart"), asked)  # XP Chart, on to the chart

    def test_a_step_the_designs_lack_is_refused_before_the_driver_is_asked(self):
        for steps, asked_before in [([{"window": "calculator"}, {"press": "count", "challengeRating": 21}], ["window"]),
                                    ([{"window": "nowhere"}], []),
                                    ([{"window": "calculator"}, {"dance": "count"}], ["window"])]:
            with self.subTest(steps), tempfile.NamedTemporaryFile("w", suffix=".json") as file:
                json.dump({"steps": steps}, file)
                file.flush()
                asked = Recorder()
                with self.assertRaises(ScenarioError):
                    replay(DESIGN, asked, file.name)
                self.assertEqual([kind for kind, *_ in asked], asked_before)


if __name__ == "__main__":
    unittest.main()
