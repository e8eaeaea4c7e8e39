#!/usr/bin/env python3
"""The main window under Wine: it opens with its title, synthetic mouse and
key input becomes the expected input events (client-area coordinates, signed
while the mouse is captured), a message box owned by the window disables it
while it is up and one without owner does not, Alt+F4 and WM_CLOSE reach the
close callback, and both folder functions give real folders."""
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from winedriver import Failure, Program, parse_args, request_close, run, unix_path, wait_window, xdotool  # noqa: E402

TITLE = "Velmora Engine Test"
MOVE, RESIZE = 7, 30


def fields(line, name, count):
    parts = line.split()
    if parts[0] != name or len(parts) != count + 1:
        raise Failure(f"expected '{name}' with {count} values, got {line!r}")
    return [int(p) for p in parts[1:]]


class Events:
    """The input events the program prints, checked action by action."""

    def __init__(self, program):
        self.program = program

    def expect(self, groups, what, timeout=10):
        """Waits for the groups of events in order; within a group any order.

        Mouse moves and resizes that are not expected are passed over (Wine
        sends moves of its own); any other event is a failure.
        """
        pending = [list(group) for group in groups]
        while pending:
            line = self.program.wait_line(lambda l: l.startswith("event "), timeout, what)
            event = tuple(fields(line, "event", 4))
            if event in pending[0]:
                pending[0].remove(event)
                if not pending[0]:
                    pending.pop(0)
            elif event[0] not in (MOVE, RESIZE):
                raise Failure(f"{what}: unexpected event {event}, still waiting for {pending}")


def check_folder(args, windows_path, what):
    path = unix_path(args.source, windows_path)
    if not path or not os.path.isdir(path):
        raise Failure(f"{what} {windows_path!r} ({path!r}) is not a folder")


def main():
    args = parse_args()
    work = tempfile.mkdtemp(prefix="velmora-window-")
    try:
        program = Program(args.source, args.program, cwd=work)
        try:
            drive(args, program)
        finally:
            program.stop()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("engine window test passed")


def drive(args, program):
    ready = program.wait_line(lambda l: l in ("ready", "no-window"), 120, "the window was made")
    if ready != "ready":
        raise Failure("the program could not make its window")
    info = {line.split()[0]: line.split(" ", 1)[1] for line in program.lines if " " in line}

    boxes = {line for line in program.lines if line.startswith("box ")}
    expected_boxes = {"box Velmora Owned Box main-enabled 0 owner-is-main 1",
                      "box Velmora Free Box main-enabled 1 owner-is-main 0"}
    if boxes != expected_boxes:
        raise Failure(f"message boxes: {sorted(boxes)}, expected {sorted(expected_boxes)}")
    if info["main-enabled-after"] != "1":
        raise Failure("the main window stayed disabled after its box was closed")

    # The folders: the application-data folder itself is made by its users,
    # so its parent must exist; the desktop must exist.
    appdata, desktop = info["appdata"], info["desktop"]
    if not appdata.endswith("/VelmoraOnline"):
        raise Failure(f"application-data folder {appdata!r} does not end in /VelmoraOnline")
    if info["appdata-parent-is-folder"] != "1" or info["desktop-is-folder"] != "1":
        raise Failure(f"the program does not see both folders: {info}")
    check_folder(args, appdata[: -len("/VelmoraOnline")], "application-data folder")
    check_folder(args, desktop, "desktop folder")

    left, top, width, height = fields("client " + info["client"], "client", 4)
    # The stored size is the client area's; the frame comes on top of it.
    if (width, height) != (800, 600):
        raise Failure(f"client area {width} x {height}, expected the stored 800 x 600")
    if info["min-track"] != "750 580":
        raise Failure(f"minimum tracking size {info['min-track']}, expected 750 580")

    window = wait_window(TITLE, 30)
    name = xdotool("getwindowname", window)
    if name != TITLE:
        raise Failure(f"window title {name!r}, expected {TITLE!r}")

    events = Events(program)
    x, y = 100, 80
    # A point left of and above the client area (on the window's frame).
    outside_x, outside_y = max(left - 4, 0), max(top - 5, 0)
    ox, oy = outside_x - left, outside_y - top
    mouse = [
        # From wherever the pointer was left, so that the next move is a move.
        (["mousemove", left + x // 2, top + y // 2], [], "pointer into the window"),
        (["mousemove", left + x, top + y], [[(MOVE, x, y, 0)]], "mouse move"),
        (["click", 1], [[(1, x, y, 0)], [(2, x, y, 0)]], "left click"),
        (["click", 3], [[(3, x, y, 0)], [(4, x, y, 0)]], "right click"),
        (["click", 2], [[(8, x, y, 0)], [(9, x, y, 0)]], "middle click"),
        (["click", 4], [[(5, x, y, -1)]], "wheel away from the user"),
        (["click", 5], [[(5, x, y, 1)]], "wheel towards the user"),
        (["mousedown", 1], [[(1, x, y, 0)]], "left button held"),
        (["mousemove", outside_x, outside_y], [[(MOVE, ox, oy, 0)]], "captured move outside the client area"),
        (["mouseup", 1], [[(2, ox, oy, 0)]], "release outside the client area"),
        (["mousemove", left + x, top + y], [[(MOVE, x, y, 0)]], "back inside"),
    ]
    for command, expected, what in mouse:
        xdotool(*command)
        events.expect(expected, what)

    # Keys go to the window under the pointer; give it the focus as well.
    xdotool("windowfocus", "--sync", window)
    keys = [
        ("a", [[(20, 0x41, 0, 0)], [(20, 0, ord("a"), 0)], [(21, 0x41, 0, 0)]]),
        ("shift+b", [[(20, 0x10, 0, 0)], [(20, 0x42, 0, 0)], [(20, 0, ord("B"), 0)],
                     [(21, 0x42, 0, 0), (21, 0x10, 0, 0)]]),
        ("Left", [[(20, 0x25, 0, 0)], [(21, 0x25, 0, 0)]]),
        # System keys are queued as keys; their characters are not.
        ("alt+x", [[(20, 0x12, 0, 0)], [(20, 0x58, 0, 0)], [(21, 0x58, 0, 0), (21, 0x12, 0, 0)]]),
    ]
    for key, expected in keys:
        xdotool("key", key)
        events.expect(expected, f"key {key}")

    # Alt+F4 is queued as keys and then reaches the close request.
    mark = len(program.lines)
    xdotool("key", "alt+F4")
    events.expect([[(20, 0x12, 0, 0)], [(20, 0x73, 0, 0)]], "key alt+F4")
    if "close-callback" not in program.lines[mark:]:
        program.wait_line(lambda l: l == "close-callback", 10, "Alt+F4 reached the close callback")

    request_close(window)
    program.wait_line(lambda l: l == "close-callback", 10, "the close callback ran")
    program.wait_line(lambda l: l == "exit", 10, "the program left its loop")
    code = program.wait_exit(20)
    if code != 0:
        raise Failure(f"the program ended with {code}")


if __name__ == "__main__":
    run(main)
