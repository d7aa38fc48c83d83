#!/usr/bin/python3
"""Reads what a running program shows, as a screen reader reads it over AT-SPI: the names of
its windows, and the rows of each table in them, cells joined by ";".

    read_window.py PID [SECONDS]

Prints "window: NAME" for every window of process PID, then "row: CELL;CELL;..." for each
row of the tables in it. Waits up to SECONDS (default 20) for the process to show a window
with a table that has rows; exits 1 when it does not. The program must run with
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on the same session bus (dbus-run-session)."""

import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except gi.repository.GLib.Error:
            continue  # an application that went away while we looked
    return None


def tables(node, depth=0):
    if node is None or depth > 12:
        return
    if node.get_role() == Atspi.Role.TABLE:
        yield node
    for i in range(node.get_child_count()):
        yield from tables(node.get_child_at_index(i), depth + 1)


def rows(table):
    for row in range(Atspi.Table.get_n_rows(table)):
        texts = []
        for column in range(Atspi.Table.get_n_columns(table)):
            cell = Atspi.Table.get_accessible_at(table, row, column)
            texts.append(cell.get_name() if cell is not None else "")
        yield ";".join(texts)


def read(pid):
    app = application(pid)
    if app is None:
        return None
    lines = []
    for i in range(app.get_child_count()):
        window = app.get_child_at_index(i)
        lines.append("window: " + window.get_name())
        for table in tables(window):
            lines.extend("row: " + text for text in rows(table))
    return lines if any(line.startswith("row: ") for line in lines) else None


def main():
    pid = int(sys.argv[1])
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) > 2 else 20)
    while True:
        try:
            lines = read(pid)
        except gi.repository.GLib.Error:
            lines = None  # the tree changed while it was read: read it again
        if lines:
            print("\n".join(lines))
            return 0
        if time.monotonic() > deadline:
            print(f"process {pid} shows no window with a table of rows", file=sys.stderr)
            return 1
        time.sleep(0.2)


if __name__ == "__main__":
    sys.exit(main())
