#!/usr/bin/python3
"""What a screen reader gets of a running program through AT-SPI.

  atspi-tree.py tree [APP]      prints the accessibility tree of APP (default: voltmetr): one line
                                per object, indented, with its role, name, description, states
                                and relations
  atspi-tree.py listen SECONDS  prints the events a screen reader would hear (alerts, objects
                                shown or hidden, names, descriptions, checked states, focus)

Run inside the session of the program (the same D-Bus session bus), with the program started
with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Needs the Debian package python3-pyatspi.
"""
import sys
import time

import pyatspi

# The states worth a line; the rest (enabled, sensitive, visible …) hold for nearly everything.
STATES = {
    pyatspi.STATE_CHECKED: "checked",
    pyatspi.STATE_FOCUSED: "focused",
    pyatspi.STATE_FOCUSABLE: "focusable",
    pyatspi.STATE_SHOWING: "showing",
    pyatspi.STATE_EDITABLE: "editable",
    pyatspi.STATE_ACTIVE: "active",
    pyatspi.STATE_MODAL: "modal",
}


def describe(obj):
    parts = [obj.getRoleName()]
    if obj.name:
        parts.append('"%s"' % obj.name)
    if obj.description:
        parts.append("desc=\"%s\"" % obj.description)
    states = obj.getState()
    shown = [name for state, name in STATES.items() if states.contains(state)]
    if shown:
        parts.append("[" + ",".join(shown) + "]")
    for relation in obj.getRelationSet():
        targets = [relation.getTarget(i) for i in range(relation.getNTargets())]
        kind = pyatspi.relationToString(relation.getRelationType())
        parts.append("%s→%s" % (kind, ",".join('"%s"' % t.name for t in targets)))
    return " ".join(parts)


def print_tree(obj, depth=0):
    print("  " * depth + describe(obj))
    for child in obj:
        if child is not None:
            print_tree(child, depth + 1)


def tree(app_name):
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [app for app in desktop if app is not None and app.name == app_name]
    if not apps:
        print("Aplikace %s na sběrnici AT-SPI není." % app_name, file=sys.stderr)
        return 1
    for app in apps:
        print_tree(app)
    return 0


def listen(seconds):
    def heard(event):
        source = event.source
        try:
            who = '%s "%s"' % (source.getRoleName(), source.name)
        except Exception:  # the object is already gone
            who = "?"
        print("%s %s detail=%s,%s %s" % (event.type, who, event.detail1, event.detail2,
                                         event.any_data if isinstance(event.any_data, str) else ""),
              flush=True)

    kinds = ["object:state-changed", "object:property-change:accessible-name",
             "object:property-change:accessible-description", "object:children-changed",
             "window:activate", "object:announcement"]
    pyatspi.Registry.registerEventListener(heard, *kinds)
    deadline = time.monotonic() + seconds

    def stop_when_due():
        if time.monotonic() >= deadline:
            pyatspi.Registry.stop()
            return False
        return True

    from gi.repository import GLib
    GLib.timeout_add(100, stop_when_due)
    pyatspi.Registry.start()
    return 0


if __name__ == "__main__":
    if len(sys.argv) >= 2 and sys.argv[1] == "tree":
        sys.exit(tree(sys.argv[2] if len(sys.argv) > 2 else "voltmetr"))
    if len(sys.argv) == 3 and sys.argv[1] == "listen":
        sys.exit(listen(float(sys.argv[2])))
    print(__doc__, file=sys.stderr)
    sys.exit(2)
