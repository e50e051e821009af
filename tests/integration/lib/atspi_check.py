#!/usr/bin/python3
"""Reads the program's window through the accessibility bus, as a screen
reader does, and checks what it finds there; then saves the selection
through the Save As button and the file dialog, and listens for the notice
that a screen reader speaks.

Runs inside a session bus of its own (dbus-run-session). Starts the
accessibility bus, then the program with a sound file, then walks the
program's objects with pyatspi.

Usage: atspi_check.py PROGRAM FILE LANGUAGE OUTPUT
LANGUAGE is "en" or "de": the names expected are those of that language.
"""
import os
import subprocess
import sys
import threading
import time

import pyatspi
from gi.repository import GLib

PROGRAM, SOUND, LANGUAGE, OUTPUT = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]

NAMES = {
    "en": {"open": "Open", "save": "Save As", "about": "About", "minimize": "Minimize",
           "close": "Close", "position": "Position", "start": "Start tag", "end": "End tag",
           "overview": "Overview", "words": "Start 0:00.000, end ", "saved": "Saved as %s."},
    "de": {"open": "Öffnen", "save": "Speichern unter", "about": "Über Vivizu",
           "minimize": "Minimieren", "close": "Schließen", "position": "Position",
           "start": "Startmarke", "end": "Endmarke", "overview": "Übersicht",
           "words": "Anfang 0:00.000, Ende ", "saved": "Gespeichert als %s."},
}[LANGUAGE]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def find_application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name and app.name.lower().startswith("vivizu"):
            return app
    return None


def named(app, name, *roles):
    """The first object named name (with one of roles, when given)."""
    def wanted(acc):
        return acc.name == name and (not roles or acc.getRole() in roles)
    return pyatspi.findDescendant(app, wanted)


def save_and_listen(app):
    """Saves through the Save As button and the file dialog's name field,
    and checks that a notification with the saved file's name appears."""
    save = named(app, NAMES["save"], pyatspi.ROLE_PUSH_BUTTON)
    if save is None:
        return
    shown = []

    def appeared(event):
        if event.detail1 == 1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            shown.append(event.source.name)
            pyatspi.Registry.stop()

    def work():
        time.sleep(0.5)
        save.queryAction().doAction(0)
        field = None
        for _ in range(30):
            time.sleep(0.3)
            field = pyatspi.findDescendant(app, lambda acc: acc.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
                                           and acc.getState().contains(pyatspi.STATE_FOCUSED))
            if field is not None:
                break
        if field is None:
            failures.append("the save dialog's name field did not take the focus")
            pyatspi.Registry.stop()
            return
        field.queryEditableText().setTextContents(OUTPUT)
        time.sleep(0.3)
        pyatspi.Registry.generateKeyboardEvent(36, None, pyatspi.KEY_PRESSRELEASE)  # Return

    pyatspi.Registry.registerEventListener(appeared, "object:state-changed:showing")
    threading.Thread(target=work, daemon=True).start()
    GLib.timeout_add(20000, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    expected = NAMES["saved"] % os.path.basename(OUTPUT)
    check(shown == [expected], "after the save, notifications said %r, not %r" % (shown, expected))
    check(os.path.exists(OUTPUT), "the save wrote no %s" % OUTPUT)


launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
time.sleep(1.0)
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
program = subprocess.Popen([PROGRAM, SOUND], env=env)
try:
    app = None
    overview = None
    for _ in range(150):
        time.sleep(0.2)
        if program.poll() is not None:
            failures.append("the program ended early with status %d" % program.returncode)
            break
        app = app or find_application()
        if app is None:
            continue
        overview = named(app, NAMES["overview"])
        if overview is not None and overview.getState().contains(pyatspi.STATE_SHOWING):
            break
    check(app is not None, "the program is not on the accessibility bus")
    if app is not None:
        for key in ("open", "save", "about", "minimize", "close"):
            button = named(app, NAMES[key], pyatspi.ROLE_PUSH_BUTTON)
            check(button is not None, "no push button named %r" % NAMES[key])
        position = named(app, NAMES["position"], pyatspi.ROLE_SLIDER)
        check(position is not None, "no slider named %r" % NAMES["position"])
        if position is not None:
            check(position.description != "", "the position bar has no description")
            check(position.queryValue().maximumValue > 1000, "the position bar's range is not the file's")
        for key in ("start", "end"):
            # The caption beside the field carries the same words; the
            # field is the one that can be typed into.
            field = named(app, NAMES[key], pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
            check(field is not None, "no text field named %r" % NAMES[key])
            if field is not None:
                check(field.description != "", "the field %r has no description" % NAMES[key])
        check(overview is not None, "no overview named %r" % NAMES["overview"])
        if overview is not None:
            check(overview.getRole() == pyatspi.ROLE_CHART,
                  "the overview's role is %s" % overview.getRoleName())
            words = overview.description
            print("overview says: %s" % words)
            check(words.startswith(NAMES["words"]), "the overview says %r" % words)
            value = overview.queryValue()
            check(value.maximumValue > 1000, "the overview's value range is %r" % value.maximumValue)
        save_and_listen(app)
finally:
    program.terminate()
    program.wait(timeout=10)
    launcher.terminate()
    launcher.wait(timeout=10)

for failure in failures:
    print("accessibility_bus (%s): %s" % (LANGUAGE, failure), file=sys.stderr)
sys.exit(1 if failures else 0)
