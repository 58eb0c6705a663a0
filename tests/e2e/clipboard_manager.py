#!/usr/bin/python3
"""A stand-in for the desktop's clipboard manager, just enough for the tests.

It owns the CLIPBOARD_MANAGER selection. Asked for SAVE_TARGETS (a program that owns
the clipboard is about to end), it fetches the clipboard's text as UTF8_STRING, takes
the clipboard over with that text and tells the asking program it is done. From then
on it answers requests for the clipboard itself, as long as it runs.

Usage: clipboard_manager.py READY_FILE   (the file is made once the selection is owned)
"""
import sys

from Xlib import X, Xatom, display
from Xlib.protocol import event

dpy = display.Display()
window = dpy.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
atom = lambda name: dpy.intern_atom(name)
MANAGER, SAVE_TARGETS, CLIPBOARD = atom("CLIPBOARD_MANAGER"), atom("SAVE_TARGETS"), atom("CLIPBOARD")
UTF8, TARGETS, FETCHED = atom("UTF8_STRING"), atom("TARGETS"), atom("STAND_IN_FETCHED")

window.set_selection_owner(MANAGER, X.CurrentTime)
dpy.sync()
if dpy.get_selection_owner(MANAGER) != window:
    sys.exit("could not own CLIPBOARD_MANAGER")
open(sys.argv[1], "w").close()
saved = None


def notify(request, prop):
    request.requestor.send_event(event.SelectionNotify(
        time=request.time, requestor=request.requestor, selection=request.selection,
        target=request.target, property=prop))
    dpy.flush()


def fetch_clipboard():
    window.convert_selection(CLIPBOARD, UTF8, FETCHED, X.CurrentTime)
    dpy.flush()
    while True:
        e = dpy.next_event()
        if e.type == X.SelectionNotify and e.requestor == window:
            if e.property == X.NONE:
                return None
            return window.get_full_property(FETCHED, X.AnyPropertyType).value


while True:
    e = dpy.next_event()
    if e.type != X.SelectionRequest:
        continue
    if e.selection == MANAGER and e.target == SAVE_TARGETS:
        saved = fetch_clipboard()
        if saved is not None:
            window.set_selection_owner(CLIPBOARD, X.CurrentTime)
        notify(e, e.property if saved is not None else X.NONE)
    elif e.selection == CLIPBOARD and saved is not None and e.target in (UTF8, TARGETS):
        if e.target == TARGETS:
            e.requestor.change_property(e.property, Xatom.ATOM, 32, [TARGETS, UTF8])
        else:
            e.requestor.change_property(e.property, UTF8, 8, saved)
        notify(e, e.property)
    else:
        notify(e, X.NONE)
