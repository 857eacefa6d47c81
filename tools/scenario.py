# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The user's walk through both windows (scenario.json, beside this), replayed on
the windows' designs (design.json) by a driver of the real program: the
screenshot script drives it through the accessibility bus, the Wine drive by
keys. A driver has one method per kind of step:

  window(window)                 the window the next steps are in is showing
  shot(name)                     a screenshot called name
  type(control, text)            text typed into a box, in place of its own
  press(control)                 a button pressed
  expect(control, text, focused) the box holds text (and has the focus)
  warning(says)                  a warning shows, whose text contains says
  answer(button)                 the warning answered with its button

where window and control are the design's entries from design.json. A step
names its control by role, and a count box by its challenge rating too.
"""
import json
import os

HERE = os.path.dirname(os.path.abspath(__file__))
SCENARIO = os.path.join(HERE, "scenario.json")


class ScenarioError(Exception):
    pass


def heard_as(control):
    """What screen readers call a control: its accessible name, or else its
    caption."""
    return control["accessibleName"] or control["text"]


def replay(design_path, driver, scenario_path=SCENARIO):
    """Replays every step on the driver; a step naming a window or control
    the designs lack raises ScenarioError before the driver is asked."""
    with open(design_path, encoding="utf-8") as file:
        design = json.load(file)
    with open(scenario_path, encoding="utf-8") as file:
        steps = json.load(file)["steps"]
    window = None

    def control(step, role):
        rating = step.get("challengeRating")
        found = [c for c in (window or {}).get("controls", [])
                 if c["role"] == role and c["challengeRating"] == rating]
        if not found:
            raise ScenarioError(f"the {window and window['name']} window's design has no {role} control"
                                + (f" for challenge rating {rating}" if rating else ""))
        return found[0]

    for step in steps:
        if "window" in step:
            if step["window"] not in design:
                raise ScenarioError(f"no window called {step['window']!r} in the designs")
            window = design[step["window"]]
            driver.window(window)
        elif "shot" in step:
            driver.shot(step["shot"])
        elif "type" in step:
            driver.type(control(step, step["type"]), step["text"])
        elif "press" in step:
            driver.press(control(step, step["press"]))
        elif "expect" in step:
            driver.expect(control(step, step["expect"]), step["text"], step.get("focused", False))
        elif "warning" in step:
            driver.warning(step["warning"])
        elif "answer" in step:
            driver.answer(step["answer"])
        else:
            raise ScenarioError(f"a step of no known kind: {step}")
