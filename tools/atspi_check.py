"""The screen reader's side of tools/atspi-check: drives the calculator through
AT-SPI and prints what it is told. Exits 1 if the program cannot be found."""

import os
import sys
import time

import pyatspi
from gi.repository import GLib

COLOURED = [
    "Welch's two tailed p", "Welch's one tailed p",
    "Student's two tailed p", "Student's one tailed p",
    "Independent samples t (upper)", "Independent samples t (lower)",
    "Independent samples verdict",
    "Matched samples two tailed p",
    "Matched samples t (upper)", "Matched samples t (lower)",
    "Matched samples verdict",
]

heard = []


def on_event(event):
    if event.source.getRole() == pyatspi.ROLE_NOTIFICATION and event.detail1 == 1:
        heard.append(event.source.name)


def find_program():
    pid = int(os.environ["TARNWICK_PID"])
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid and app.childCount > 0:
                return app[0]
        time.sleep(0.1)
    sys.exit("the program did not appear on the accessibility bus")


def controls(window):
    found = {}

    def walk(node):
        for child in node:
            found.setdefault((child.getRole(), child.name), child)
            walk(child)

    walk(window)
    return found


def run_scenario(window, title, inputs, press):
    found = controls(window)
    for name, text in inputs.items():
        found[(pyatspi.ROLE_TEXT, name)].queryEditableText().setTextContents(text)
    if "Mean Difference Of Matched Samples" in inputs:
        found[(pyatspi.ROLE_RADIO_BUTTON, "Matched")].queryAction().doAction(0)
    button = next(node for (role, name), node in found.items()
                  if role == pyatspi.ROLE_PUSH_BUTTON and name.startswith(press))
    heard.clear()
    button.queryAction().doAction(0)
    end = time.time() + 1.0
    context = GLib.MainContext.default()
    while time.time() < end:  # let the events of the run arrive
        context.iteration(False)
        time.sleep(0.01)
    print(f"== {title}")
    for name in COLOURED:
        box = found[(pyatspi.ROLE_TEXT, name)]
        text = box.queryText().getText(0, -1)
        if text or box.description:
            print(f"  {name}: {text!r}  description: {box.description!r}")
    for message in heard:
        print(f"  announced: {message!r}")
    if not heard:
        print("  announced: nothing")


def main():
    pyatspi.Registry.registerEventListener(on_event, "object:state-changed:showing")
    window = find_program()
    found = controls(window)
    blue = found.get((pyatspi.ROLE_TEXT, "Non-trivial difference, the blue box"))
    print(f"non-trivial difference box found by its name: {blue is not None}")
    groups = {"Group 1 Mean": "10", "Group 1 SD": "2", "Group 1 N": "10",
              "Group 2 Mean": "9", "Group 2 SD": "2", "Group 2 N": "10"}
    blue_box = "Non-trivial difference, the blue box"
    run_scenario(window, "independent, equivalent", {**groups, blue_box: "3"}, "OK")
    run_scenario(window, "independent, not equivalent",
                 {**groups, "Group 2 Mean": "5", blue_box: "1"}, "OK")
    run_scenario(window, "no non-trivial difference", {**groups, blue_box: ""}, "OK")
    run_scenario(window, "matched",
                 {**groups, blue_box: "3", "Mean Difference Of Matched Samples": "1",
                  "SD Of Matched Difference Scores": "1.5"}, "OK")
    run_scenario(window, "start again", {}, "Start again")


main()
