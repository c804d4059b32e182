#!/usr/bin/python3
"""Walks the running pupils' program through its windows over AT-SPI (see atspi-check.sh).

Signs in by name for e-mail, connects the meter (on its smallest range most tasks overload it),
waits out the overload, ends, and leaves through the summary and the report window; writes the
tree of each window and a screenshot into OUT. Buttons that open a modal window are pressed with
the keyboard (xdotool), since an AT-SPI action returns only once such a window has closed.
"""
import os
import runpy
import subprocess
import sys
import time

import pyatspi

here = os.path.dirname(os.path.abspath(__file__))
print_tree = runpy.run_path(os.path.join(here, "atspi-tree.py"))["print_tree"]
out = sys.argv[1]
EXERCISE = "Prověřovák měření na analogovém voltmetru"


def program():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "voltmetr":
                return app
        time.sleep(0.2)
    sys.exit("Program voltmetr se na sběrnici AT-SPI neobjevil.")


def window(name, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        for shown in program():
            if shown is not None and shown.name == name \
                    and shown.getState().contains(pyatspi.STATE_SHOWING):
                return shown
        time.sleep(0.2)
    return None


def find(root, role, name):
    hits = pyatspi.findAllDescendants(
        root, lambda o: o.getRoleName() == role and o.name == name)
    return hits[0] if hits else None


def record(shown, label):
    with open(os.path.join(out, label + ".txt"), "w") as tree:
        sys.stdout = tree
        print_tree(shown)
        sys.stdout = sys.__stdout__
    subprocess.run(["import", "-window", "root", os.path.join(out, label + ".png")], check=False)


def act(obj):
    """The object's first action other than taking the focus: Press, Toggle."""
    actions = obj.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    actions.doAction(next(i for i, n in enumerate(names) if n != "SetFocus"))


def key(obj, keys):
    obj.queryComponent().grabFocus()
    time.sleep(0.3)
    subprocess.run(["xdotool", "key", keys], check=True)


signin = window("Vítejte")
record(signin, "1-prihlaseni")
act(find(signin, "radio button", "Generovat data pro odeslání emailem"))
time.sleep(0.3)
find(signin, "text", "Jméno:").queryEditableText().setTextContents("Eva Testová")
find(signin, "text", "Třída:").queryEditableText().setTextContents("2.A")
act(find(signin, "push button", "OK"))
exercise = window(EXERCISE)
time.sleep(0.5)
record(exercise, "2-zkouseni")
act(find(exercise, "push button", "Připojit"))
time.sleep(1.5)
record(exercise, "3-zkouseni-pripojeno")
destroyed = window("Chyba", timeout=8)
if destroyed is not None:
    record(destroyed, "4-znicen")
    key(find(destroyed, "push button", "Beru na vědomí"), "space")
    time.sleep(1)
key(find(window(EXERCISE), "push button", "Konec"), "space")
key(find(window("Konec ?"), "push button", "Ano"), "space")
summary = window("Souhrn")
time.sleep(1)
record(summary, "5-souhrn")
key(find(summary, "push button", "OK"), "space")
report = window("Generované informace pro vyučujícího")
time.sleep(0.5)
record(report, "6-zprava")
key(find(report, "push button", "Konec"), "space")
