"""The screen reader's side of tools/atspi-check: drives the calculator and
its report, data, scores and planning windows through AT-SPI and prints what
it is told. Exits 1 if the program or a window cannot be found.

Announcements are read as a listener hears them: a notification's name
when it starts showing, or an alert's. The program's events cross two buses
before they reach this process, so each step waits until one has come (or a
few seconds have passed) rather than for a fixed moment, which a loaded
machine outlasts."""

import os
import subprocess
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
    """A notification that starts showing, or an alert: what a screen reader
    speaks. One announcement raises both for an assertive message; it is
    heard once."""
    try:
        source = event.source
        if source.getRole() not in (pyatspi.ROLE_NOTIFICATION, pyatspi.ROLE_ALERT):
            return
        if event.type.startswith("object:state-changed:showing") and event.detail1 != 1:
            return
        name = source.name
        if name and (not heard or heard[-1] != name):
            heard.append(name)
    except GLib.Error:
        pass  # a window closed while its events were on their way



def find_application():
    pid = int(os.environ["TARNWICK_PID"])
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid and app.childCount > 0:
                return app
        time.sleep(0.1)
    sys.exit("the program did not appear on the accessibility bus")


def find_program():
    return find_application()[0]


def find_window(name):
    """A top-level window of the program by its accessible name."""
    for _ in range(100):
        for window in find_application():
            if window is not None and window.name == name:
                return window
        time.sleep(0.1)
    sys.exit(f"no window named {name!r} appeared")


def press_button(name):
    """Presses the button from another process: a button that opens a modal
    window answers its press only when that window closes, and this reader
    must go on reading meanwhile."""
    return subprocess.Popen([sys.executable, __file__, "--press", name])


def wait_for_events(seconds, until=None):
    """Lets events arrive for `seconds`, or until `until()` holds and a
    moment more has passed for any that belong with it."""
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < end:
        context.iteration(False)
        if until is not None and until():
            end = min(end, time.time() + 0.3)
            until = None
        time.sleep(0.01)


def print_heard():
    for message in heard:
        print(f"  announced: {message!r}")
    if not heard:
        print("  announced: nothing")


def announcement(seconds=5.0):
    """Waits for the next announcement (or `seconds`) and prints what came."""
    wait_for_events(seconds, until=lambda: heard)
    print_heard()


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
    # A run that announces nothing (Start again) waits the whole time.
    wait_for_events(5.0, until=lambda: heard)
    print(f"== {title}")
    for name in COLOURED:
        box = found[(pyatspi.ROLE_TEXT, name)]
        text = box.queryText().getText(0, -1)
        if text or box.description:
            print(f"  {name}: {text!r}  description: {box.description!r}")
    print_heard()


def set_text(found, name, text):
    found[(pyatspi.ROLE_TEXT, name)].queryEditableText().setTextContents(text)


def read_report():
    """The report of the last run: what is announced when a setting changes
    its conclusion, and when a setting cannot be used."""
    opener = press_button("Report...")
    report = find_window("Tarnwick - Report")
    wait_for_events(1.0)
    found = controls(report)
    for title, alpha in (("alpha 0.005", "0.005"), ("alpha not a number", "five")):
        heard.clear()
        set_text(found, "Alpha", alpha)
        print(f"== report window, {title}")
        announcement()
    controls(report)[(pyatspi.ROLE_PUSH_BUTTON, "Close")].queryAction().doAction(0)
    opener.wait(timeout=10)


def print_named(found, role, names):
    for name in names:
        node = found.get((role, name))
        if node is None:
            sys.exit(f"no {name!r} in the window")
        print(f"  {name}: {node.description!r}")


def read_data_and_scores():
    """The data window's summaries of pasted scores, then the scores window's
    status and the first lines of its report."""
    main_window = find_program()
    opener = press_button("Data...")
    data = find_window("Fill the boxes from data")
    found = controls(data)
    found[(pyatspi.ROLE_TEXT, "Pasted scores")].queryEditableText().setTextContents(
        "10,9\n12,11\n11,10\n13,11\n9,9\n")
    wait_for_events(1.0)
    found = controls(data)
    print("== data window, five pairs of scores pasted")
    print_named(found, pyatspi.ROLE_LABEL, ["Summaries", "Problem with the choices"])
    analyser = press_button("Analyse the scores...")
    scores = find_window("Tarnwick - Scores report")
    wait_for_events(1.0)
    found = controls(scores)
    print("== scores window, before the bounds")
    print_named(found, pyatspi.ROLE_LABEL, ["Status"])
    heard.clear()
    for name, text in (("Lower bound", "-2"), ("Upper bound", "2")):
        set_text(found, name, text)
    # The analyses run after a pause for typing; the news waits until it stands.
    wait_for_events(5.0, until=lambda: heard)
    found = controls(scores)
    print("== scores window, bounds -2 and 2")
    print_named(found, pyatspi.ROLE_LABEL, ["Status"])
    print_heard()
    report = next((node for (role, name), node in found.items() if name == "Scores report text"),
                  None)
    if report is None:
        sys.exit("no scores report text")
    lines = report.queryText().getText(0, -1).splitlines()
    for line in lines[:3]:
        print(f"  report: {line[:100]!r}")
    heard.clear()
    set_text(found, "Alpha", "five")
    print("== scores window, alpha not a number")
    announcement()
    print_named(controls(scores), pyatspi.ROLE_LABEL, ["Status"])
    for window, process in ((scores, analyser), (data, opener)):
        closer = controls(window).get((pyatspi.ROLE_PUSH_BUTTON, "Close"))
        closer.queryAction().doAction(0)
        process.wait(timeout=10)
    return main_window


def read_crossover():
    """The data window's crossover layout: the summaries of a pasted study,
    then the crossover report's study line, status and first lines, and
    what is announced when alpha changes and when it cannot be used."""
    opener = press_button("Data...")
    data = find_window("Fill the boxes from data")
    found = controls(data)
    # A combo box is named by the item it shows; the layout's is the one
    # that offers the crossover layout.
    def items(combo):
        return [combo[0][i].name for i in range(combo[0].childCount)] if combo.childCount else []
    layout = next(node for (role, name), node in found.items()
                  if role == pyatspi.ROLE_COMBO_BOX
                  and any(item.startswith("Crossover") for item in items(node)))
    # The list offers no selection through AT-SPI: the keyboard chooses,
    # as a screen reader's user would (Alt+L, and End for the last layout).
    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                             "^Fill the boxes from data$"],
                            check=True, capture_output=True, text=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    # The window takes the keys only once it is active: give it a moment.
    wait_for_events(0.5)
    subprocess.run(["xdotool", "key", "alt+l"], check=True)
    wait_for_events(0.2)
    subprocess.run(["xdotool", "key", "End"], check=True)
    wait_for_events(0.3)
    found[(pyatspi.ROLE_TEXT, "Pasted scores")].queryEditableText().setTextContents(
        "subject,sequence,period,formulation,response\n"
        "1,TR,1,T,541.8\n1,TR,2,R,656.1\n2,RT,1,R,549.0\n2,RT,2,T,623.8\n"
        "3,TR,1,T,417.4\n3,TR,2,R,419.5\n4,RT,1,R,1029.5\n4,RT,2,T,1154.5\n")
    wait_for_events(1.0)
    found = controls(data)
    print(f"== data window, a crossover study pasted (layout {layout.name!r})")
    for name in ("Summaries", "Problem with the scores", "Problem with the choices"):
        node = found.get((pyatspi.ROLE_LABEL, name))
        print(f"  {name}: {node.name if node else None!r}  description: "
              f"{node.description if node else None!r}")
    print("  combo boxes: " + ", ".join(repr(name) for (role, name) in found
                                         if role == pyatspi.ROLE_COMBO_BOX))
    analyser = press_button("Analyse the scores...")
    report = find_window("Tarnwick - Crossover report")
    wait_for_events(2.0)
    found = controls(report)
    print("== crossover report")
    print_named(found, pyatspi.ROLE_LABEL, ["Study analysed", "Status"])
    text = next((node for (role, name), node in found.items()
                 if name == "Crossover report text"), None)
    if text is None:
        sys.exit("no crossover report text")
    for line in text.queryText().getText(0, -1).splitlines()[:6]:
        print(f"  report: {line[:110]!r}")
    for title, alpha in (("alpha 0.025", "0.025"), ("alpha not a number", "five")):
        heard.clear()
        set_text(found, "Alpha", alpha)
        print(f"== crossover report, {title}")
        announcement()
    for window, process in ((report, analyser), (data, opener)):
        closer = controls(window).get((pyatspi.ROLE_PUSH_BUTTON, "Close"))
        closer.queryAction().doAction(0)
        process.wait(timeout=10)


def read_plan(window):
    """The planning window's answer for the calculator's numbers, and what is
    announced when it changes."""
    found = controls(window)
    found[(pyatspi.ROLE_TEXT, "Non-trivial difference, the blue box")].queryEditableText() \
        .setTextContents("1")
    for name in ("Group 1 SD", "Group 2 SD"):
        found[(pyatspi.ROLE_TEXT, name)].queryEditableText().setTextContents("2")
    found[(pyatspi.ROLE_PUSH_BUTTON, "Plan...")].queryAction().doAction(0)
    plan = find_window("Tarnwick - Plan a study")
    wait_for_events(1.5)
    found = controls(plan)
    heard.clear()
    found[(pyatspi.ROLE_TEXT, "Target power")].queryEditableText().setTextContents("0.9")
    wait_for_events(5.0, until=lambda: heard)
    print("== planning window, target power 0.9")
    answer = next(node for (role, name), node in found.items() if name == "Answer")
    print(f"  Answer: {answer.description!r}")
    print_heard()


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
    read_report()
    run_scenario(window, "start again", {}, "Start again")
    read_data_and_scores()
    read_crossover()
    read_plan(window)


if len(sys.argv) == 3 and sys.argv[1] == "--press":
    for top in find_application():
        button = controls(top).get((pyatspi.ROLE_PUSH_BUTTON, sys.argv[2]))
        if button is not None:
            button.queryAction().doAction(0)
            break
    else:
        sys.exit(f"no button {sys.argv[2]!r}")
else:
    main()
