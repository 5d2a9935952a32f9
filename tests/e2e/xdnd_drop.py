#!/usr/bin/python3
"""Drops files onto whatever X window lies at a point of the screen, as a file manager would,
through the XDND protocol (version 5). Wine turns such a drop into WM_DROPFILES.

Usage: xdnd_drop.py RESULT X Y PATH...
  X, Y in root pixels; PATH are Unix paths. RESULT is a file that receives "ok" when the target
  accepted the drop and said it has finished, or what went wrong (Wine gives a Windows program
  that starts a Unix one no handle to wait on, so the outcome travels through a file).
"""
import os
import sys
import time
import urllib.parse

from Xlib import X, Xatom, display, protocol

LIMIT_SECONDS = 10


RESULT = None


def report(text):
    if RESULT:
        with open(RESULT + ".part", "w") as out:
            out.write(text)
        os.replace(RESULT + ".part", RESULT)


def fail(message):
    print("xdnd_drop: " + message, file=sys.stderr)
    report(message)
    sys.exit(1)


def aware_window_at(disp, x, y):
    """The deepest window at (x, y) that announces XdndAware, with its version."""
    root = disp.screen().root
    aware_atom = disp.intern_atom("XdndAware")
    found = None
    window = root
    while True:
        prop = window.get_full_property(aware_atom, Xatom.ATOM)
        if prop is not None and len(prop.value) > 0:
            found = (window, int(prop.value[0]))
        reply = window.translate_coords(root, x, y)
        child = reply.child
        if not child or child.id == X.NONE:
            return found
        window = child


def main():
    global RESULT
    if len(sys.argv) < 5:
        fail("usage: xdnd_drop.py RESULT X Y PATH...")
    RESULT = sys.argv[1]
    x, y = int(sys.argv[2]), int(sys.argv[3])
    uris = "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in sys.argv[4:]).encode()

    disp = display.Display()
    root = disp.screen().root
    atom = disp.intern_atom
    uri_list = atom("text/uri-list")
    selection = atom("XdndSelection")

    source = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    source.set_selection_owner(selection, X.CurrentTime)
    disp.flush()

    target = aware_window_at(disp, x, y)
    if target is None:
        fail("no XdndAware window at %d,%d" % (x, y))
    target_window, version = target
    version = min(version, 5)

    def send(name, data):
        event = protocol.event.ClientMessage(window=target_window, client_type=atom(name),
                                             data=(32, data))
        target_window.send_event(event, event_mask=0)
        disp.flush()

    send("XdndEnter", [source.id, version << 24, uri_list, 0, 0])
    send("XdndPosition", [source.id, 0, (x << 16) | y, X.CurrentTime, atom("XdndActionCopy")])

    accepted = None
    dropped = False
    deadline = time.monotonic() + LIMIT_SECONDS
    while time.monotonic() < deadline:
        while disp.pending_events():
            event = disp.next_event()
            if event.type == X.SelectionRequest:
                # The target asks for the dropped names.
                prop = event.property if event.property != X.NONE else event.target
                if event.target == uri_list:
                    event.requestor.change_property(prop, uri_list, 8, uris)
                else:
                    prop = X.NONE
                notify = protocol.event.SelectionNotify(time=event.time, requestor=event.requestor,
                                                        selection=event.selection, target=event.target,
                                                        property=prop)
                event.requestor.send_event(notify)
                disp.flush()
            elif event.type == X.ClientMessage:
                kind = disp.get_atom_name(event.client_type)
                data = event.data[1]
                if kind == "XdndStatus" and accepted is None:
                    accepted = bool(data[1] & 1)
                    if not accepted:
                        send("XdndLeave", [source.id, 0, 0, 0, 0])
                        fail("the window at %d,%d refused the drop" % (x, y))
                    send("XdndDrop", [source.id, 0, X.CurrentTime, 0, 0])
                    dropped = True
                elif kind == "XdndFinished" and dropped:
                    report("ok")
                    return 0
        time.sleep(0.005)
    fail("no answer from the drop target within %d s (accepted=%s)" % (LIMIT_SECONDS, accepted))


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Exception as error:  # the driver waits for a result, so every end must leave one
        fail("%s: %s" % (type(error).__name__, error))
