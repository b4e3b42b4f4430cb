"""An AT-SPI client that checks the running program as a screen reader sees it.

It finds the program on the accessibility bus, checks that the main window's
controls have their names, reads the port from the status bar, joins the chat
as a raw guest, and waits for the chat view to report the received line as
inserted text."""
import socket
import sys
import time

import pyatspi
from gi.repository import GLib

NAMED = {"Chat": pyatspi.ROLE_TEXT, "Message": pyatspi.ROLE_TEXT}


def fail(why):
    print("accessibility check failed: " + why, file=sys.stderr)
    sys.exit(1)


def program():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == "vanu":
                return app
        time.sleep(0.1)
    fail("the program is not on the accessibility bus")


def named(root):
    found = {}
    for node in _walk(root):
        if node.name in NAMED and node.name not in found:
            found[node.name] = node
    return found


def _walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for child in node:
        yield from _walk(child, depth + 1)


def main():
    app = program()
    controls = named(app)
    for name, role in NAMED.items():
        if name not in controls:
            fail("no control named %r" % name)
        if controls[name].getRole() != role:
            fail("%r is a %s" % (name, controls[name].getRoleName()))
    chat = controls["Chat"]
    # The status bar's text is its label's name: "Host: A Listening on port: P".
    status = [node.name for node in _walk(app) if node.getRole() == pyatspi.ROLE_LABEL and node.description == "Status"]
    if not status or "port:" not in status[0]:
        fail("no status text that names the port: %r" % status)
    port = int(status[0].split("port:")[1].split()[0])

    heard = []

    def on_insert(event):
        if event.source == chat and "hello from afar" in str(event.any_data):
            heard.append(event.any_data)
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(on_insert, "object:text-changed:insert")
    guest = socket.create_connection(("127.0.0.1", port))

    def speak():
        guest.sendall(b" Remo")
        time.sleep(1.5)  # the host reads the registration on its own
        guest.sendall(b"0<Remo> hello from afar")
        return False

    GLib.timeout_add(200, speak)
    GLib.timeout_add_seconds(20, lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    guest.close()
    if not heard:
        fail("the received line was not reported as text inserted into the chat view")
    print("named: %s; the chat view reported %r as inserted" % (", ".join(NAMED), heard[0]))


main()
