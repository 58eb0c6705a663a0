#!/usr/bin/python3
"""The program's controls as its accessibility tree (AT-SPI) shows them to a screen
reader, for the end-to-end scripts: where a control is comes from the running window,
not from the layout that built it.

  controls.py --bus            starts the accessibility bus (before the program starts)
  controls.py PID TITLE        the controls of the program's window titled TITLE, one a
                               line: x y width height (within the window), role, name
  controls.py PID --focused    the role and name of the control that has the focus

Fields are separated by tabs. Exit status 1 when the window or the focus is not found.
"""
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# The roles a user clicks or types into; menus and their items are reached by keys.
CONTROL_ROLES = {
    Atspi.Role.PUSH_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.RADIO_BUTTON, Atspi.Role.TEXT,
    Atspi.Role.TABLE, Atspi.Role.LIST, Atspi.Role.TREE, Atspi.Role.LABEL, Atspi.Role.PROGRESS_BAR,
}


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        yield child
        # A list's rows and header are parts of it, not controls of their own.
        if child.get_role() not in (Atspi.Role.TABLE, Atspi.Role.LIST, Atspi.Role.TREE, Atspi.Role.MENU_BAR):
            yield from descendants(child)


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)


def main(args):
    if args == ["--bus"]:
        Atspi.get_desktop(0).get_child_count()  # asks for the bus, which starts it
        return 0
    app = application(int(args[0]))
    if app is None:
        return 1
    if args[1] == "--focused":
        for window in (app.get_child_at_index(i) for i in range(app.get_child_count())):
            for node in descendants(window):
                if node.get_state_set().contains(Atspi.StateType.FOCUSED):
                    print(f"{node.get_role_name()}\t{node.get_name()}")
                    return 0
        return 1
    for window in (app.get_child_at_index(i) for i in range(app.get_child_count())):
        if window is None or window.get_name() != args[1] or not showing(window):
            continue
        # On the screen, less the window's own place (not every toolkit version gives
        # places within the window when asked for them).
        origin = window.get_extents(Atspi.CoordType.SCREEN)
        lines = []
        for node in descendants(window):
            if node.get_role() in CONTROL_ROLES and showing(node):
                place = node.get_extents(Atspi.CoordType.SCREEN)
                x, y = place.x - origin.x, place.y - origin.y
                lines.append(f"{x} {y} {place.width} {place.height}\t{node.get_role_name()}\t{node.get_name()}\n")
        try:
            sys.stdout.write("".join(lines))
            sys.stdout.flush()
        except BrokenPipeError:  # a reader that has what it wanted
            pass
        return 0
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
