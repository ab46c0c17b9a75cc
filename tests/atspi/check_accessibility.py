#!/usr/bin/python3
"""Reads the chat window through AT-SPI, as a screen reader would.

Runs inside a private session bus and an X server (see run-atspi-test): starts the
accessibility bus, the session simulator and the harness, then checks the names, roles and
texts of the controls, that status labels follow the session's events, and that a received
line is announced as inserted text.
"""
import os
import subprocess
import sys
import time

harness, simulator = sys.argv[1], sys.argv[2]
failures = []
passed = 0


def check(condition, what):
    global passed
    if condition:
        passed += 1
    else:
        failures.append(what)
        print("FAIL: " + what, flush=True)


import gi  # noqa: E402
gi.require_version("Atspi", "2.0")
from gi.repository import Gio, GLib  # noqa: E402


def wait_for_accessibility_bus(timeout=60.0):
    """The bus launcher's address, once it answers: AT-SPI clients connect to it at once."""
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                      GLib.VariantType("(s)"), Gio.DBusCallFlags.NO_AUTO_START, 2000, None)
            return reply.unpack()[0]
        except GLib.Error:
            time.sleep(0.1)
    return None


launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
sim = None
app_process = None
if not wait_for_accessibility_bus():
    launcher.kill()
    print("FAIL: the accessibility bus starts", flush=True)
    sys.exit(1)

import pyatspi  # noqa: E402

sim = subprocess.Popen([simulator], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)


def sim_command(line):
    sim.stdin.write(line + "\n")
    sim.stdin.flush()


def wait_for_sim(line, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        got = sim.stdout.readline()
        if not got:
            return False
        if got.rstrip("\n") == line:
            return True
    return False


def pump(seconds):
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not context.iteration(False):
            time.sleep(0.01)


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def find_app(name, windows, timeout=60.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name and app.childCount >= windows:
                return app
        pump(0.2)
    return None


def by_name(app, name, role=None):
    for node in walk(app):
        if node.name == name and (role is None or node.getRole() == role):
            return node
    return None


def labelled_by(app, label_text):
    """The control a label names: how a screen reader names a drop-down list."""
    for node in walk(app):
        if node.getRole() != pyatspi.ROLE_LABEL or node.name != label_text:
            continue
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR and relation.getNTargets() > 0:
                return relation.getTarget(0)
    return None


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, text.characterCount)


def wait_text(app, name, expected, timeout=30.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        node = by_name(app, name)
        if node is not None and text_of(node) == expected:
            return True
        pump(0.1)
    return False


try:
    check(wait_for_sim("ready"), "the simulator starts")
    sim_command("callsign DL1ABC")
    # The window reads the call sign at start, so it must be set before.
    sim_command("echo callsign set")
    check(wait_for_sim("callsign set"), "the simulator takes the call sign")

    # Listening before the window starts: a program hears of listeners when it registers, and
    # of later ones only some time after they register.
    inserted = []

    def on_insert(event):
        if event.source is not None and event.source.name == "Transcript":
            inserted.append(str(event.any_data))

    pyatspi.Registry.registerEventListener(on_insert, "object:text-changed:insert")

    # The test runner's offscreen platform has no accessibility bridge.
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    app_process = subprocess.Popen([harness], env=env)
    # The main window and the Options dialog.
    app = find_app("tarnwave-atspi-harness", 2)
    check(app is not None, "the chat window and the Options dialog appear on the accessibility bus")
    if app is None:
        raise SystemExit(1)

    controls = [
        ("Message", pyatspi.ROLE_TEXT, None),
        ("Send", pyatspi.ROLE_PUSH_BUTTON, None),
        ("Transcript", pyatspi.ROLE_TEXT, None),
        ("Connection", pyatspi.ROLE_LABEL, "Disconnect"),
        ("Connected stations", pyatspi.ROLE_LABEL, None),
        ("Receive or transmit", pyatspi.ROLE_LABEL, "RX"),
        ("Station information", pyatspi.ROLE_TEXT, None),
        ("Font", pyatspi.ROLE_COMBO_BOX, None),
        ("Size", pyatspi.ROLE_COMBO_BOX, None),
        ("Style", pyatspi.ROLE_COMBO_BOX, None),
        ("My Text Color", pyatspi.ROLE_COMBO_BOX, None),
        ("Received Text Color", pyatspi.ROLE_COMBO_BOX, None),
        ("Background Color", pyatspi.ROLE_COMBO_BOX, None),
        ("Preview", pyatspi.ROLE_TEXT, None),
        ("Reset", pyatspi.ROLE_PUSH_BUTTON, None),
        ("OK", pyatspi.ROLE_PUSH_BUTTON, None),
        ("Cancel", pyatspi.ROLE_PUSH_BUTTON, None),
    ]
    for name, role, text in controls:
        node = by_name(app, name, role)
        if node is None and role == pyatspi.ROLE_COMBO_BOX:
            node = labelled_by(app, name)
        if node is None:
            node = by_name(app, name)
        check(node is not None, "a control is named %r" % name)
        if node is not None:
            check(node.getRole() == role, "%s has the role %s, not %s" % (name, role, node.getRoleName()))
            check(node.description != "", "%s has a description" % name)
            if text is not None:
                check(text_of(node) == text, "%s reads %r, not %r" % (name, text, text_of(node)))

    transcript = by_name(app, "Transcript", pyatspi.ROLE_TEXT)
    banner = text_of(transcript) or ""
    check(banner.startswith("TarnWave Chat Version"), "the transcript's text holds the banner")

    sim_command("connect W1AW")
    check(wait_text(app, "Connection", "Connected"), "the connection label reads Connected")
    check(wait_text(app, "Connected stations", "W1AW"), "the station list label reads W1AW")
    sim_command("tx on")
    check(wait_text(app, "Receive or transmit", "TX"), "the indicator reads TX")
    sim_command("station-text Locator JO62QM")
    check(wait_text(app, "Station information", "Locator JO62QM"), "the station information reads the text")

    sim_command("chat W1AW>hello DL1ABC <b>not bold</b>")
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline and not any("hello DL1ABC" in text for text in inserted):
        pump(0.1)
    check(any("W1AW>hello DL1ABC <b>not bold</b>" in text for text in inserted),
          "the received line is announced as inserted text, markup as text: %r" % inserted)
    pyatspi.Registry.deregisterEventListener(on_insert, "object:text-changed:insert")

    sim_command("disconnect W1AW")
    check(wait_text(app, "Connection", "Disconnect"), "the connection label reads Disconnect again")
finally:
    for process in (app_process, sim, launcher):
        if process is None:
            continue
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()

print("%d passed, %d failed" % (passed, len(failures)), flush=True)
sys.exit(1 if failures else 0)
