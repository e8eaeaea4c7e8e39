#!/usr/bin/env python3
"""The dialogs under Wine, played like a player against the fake game server,
one stage per dialog in one client session.

The client logs in by itself and enters the game (DialogsProbeWin32.cpp, which
prints a "state" line of every open dialog's controls by id whenever the GUI
changes). The server is FakeServer(behaviours=[trade.Trade(),
actions.ActionWorld(login_burst=False), sidewindows.SideWindows()]): the trade
ahead of the world, which otherwise takes every move. Once the backpack is
open (the side windows' cue), every stage_*.py of this folder runs, in name
order; each must leave no dialog open (side windows aside). Closing the
window then ends the program with code 0, no message box shown and no fault
found by the server's strict decoder.

A stage is a module with
    prepare(server)   optional: called before the client starts, to add its
                      behaviours (server.add_behaviour, after the three above)
    run(session)      plays the stage with the Session below
and needs no probe code: the state names every control by its id.
"""
import glob
import importlib
import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import actions  # noqa: E402
import fakeserver as fs  # noqa: E402
import sidewindows  # noqa: E402
import trade  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure, wait_server, xdotool  # noqa: E402

PONG = 0x19


def parse_state(line):
    return json.loads(line[len("state "):])


def open_dialogs(state):
    """The open dialogs that are no side window's frame."""
    return [d for d in state.get("dialogs", []) if not d["side"]]


def centre(item):
    """The middle of a control or dialog (anything with a "rect")."""
    x, y, w, h = item["rect"]
    return x + w // 2, y + h // 2


class Session(winedriver.StateSession):
    """What a stage works with: the latest state and waits on it, the
    controls by id, the mouse, and the fake server's requests."""

    # --- the state ---

    def dialog(self, dialog_id, state=None):
        """The open dialog with the id, or None."""
        state = self.state if state is None else state
        return next((d for d in state.get("dialogs", []) if d["id"] == dialog_id), None)

    def dialogs(self, dialog_id, state=None):
        state = self.state if state is None else state
        return [d for d in state.get("dialogs", []) if d["id"] == dialog_id]

    def control(self, control_id, state=None):
        """The first control with the id in any open dialog, or None."""
        state = self.state if state is None else state
        for dialog in state.get("dialogs", []):
            for control in dialog["controls"]:
                if control["id"] == control_id:
                    return control
        return None

    def wait_dialog(self, dialog_id, what, predicate=lambda dialog: True, timeout=20):
        self.wait_state(lambda st: (lambda d: d is not None and predicate(d))(self.dialog(dialog_id, st)), what,
                        timeout)
        return self.dialog(dialog_id)

    def wait_control(self, control_id, what, predicate=lambda control: True, timeout=20):
        self.wait_state(lambda st: (lambda c: c is not None and predicate(c))(self.control(control_id, st)), what,
                        timeout)
        return self.control(control_id)

    def wait_closed(self, dialog_id, what, timeout=20):
        self.wait_state(lambda st: self.dialog(dialog_id, st) is None, what, timeout)

    def cell(self, container, item_id):
        """The middle of the first cell of a container window that holds the item."""
        for window in self.state.get("containers", []):
            if window["index"] == container:
                for cell in window["cells"]:
                    if cell["item"] == item_id:
                        return cell["x"] + 16, cell["y"] + 16
        raise Failure(f"container {container} shows no item {item_id}: {self.state.get('containers')}")

    # --- the mouse ---

    def move(self, x, y):
        xdotool("mousemove", "--window", self.window, x, y)

    def click(self, x, y, button=1):
        self.move(x, y)
        xdotool("click", button)

    def click_control(self, control_id, button=1):
        control = self.control(control_id)
        if control is None:
            raise Failure(f"no control {control_id} to click")
        self.click(*centre(control), button=button)

    def drag(self, start, end, steps=4):
        """Presses at start, moves to end in a few steps and releases there."""
        self.move(*start)
        xdotool("mousedown", 1)
        try:
            for step in range(1, steps + 1):
                self.move(start[0] + (end[0] - start[0]) * step // steps,
                          start[1] + (end[1] - start[1]) * step // steps)
        finally:
            xdotool("mouseup", 1)

    # --- the server ---

    def behaviour(self, kind):
        """The server's behaviour of a class."""
        found = next((b for b in self.server.behaviours if isinstance(b, kind)), None)
        if found is None:
            raise Failure(f"the fake server has no {kind.__name__} behaviour")
        return found

    def count(self, opcode):
        return len(self.requests(opcode))

    def wait_request(self, opcode, what, after, timeout=20):
        """The first request of the opcode after the first `after` of them."""
        wait_server(self.server, lambda: len(self.requests(opcode)) > after, what, timeout)
        return self.requests(opcode)[after]

    def expect_raw(self, opcode, raw_hex, what, after):
        """The next request of the opcode, byte for byte."""
        request = self.wait_request(opcode, what, after)
        if bytes(request.raw) != bytes.fromhex(raw_hex):
            raise Failure(f"{what}: expected {raw_hex}, the client sent {bytes(request.raw).hex()}")
        return request

    def wait_pong(self, value, what, timeout=20):
        """The client answered the ping behind a frame: it has read the frame."""
        wait_server(self.server, lambda: any(r.fields.get("value") == value for r in self.requests(PONG)), what,
                    timeout)

    def wait_answer(self, behaviour, before, what, timeout=20):
        """A behaviour that ends its frames with pings (its `pings` list) has
        sent the frame after its first `before`, and the client has read it."""
        winedriver.wait_until(lambda: len(behaviour.pings) > before, timeout, what)
        self.wait_pong(behaviour.pings[before], what, timeout)


def load_stages():
    stages = []
    for path in sorted(glob.glob(os.path.join(HERE, "stage_*.py"))):
        name = os.path.splitext(os.path.basename(path))[0]
        # This folder is on the import path: each stage is a module of it.
        stages.append((name, importlib.import_module(name)))
    return stages


def check_dialogs(args):
    stamp = fs.read_gfx_stamp(args.gfx)
    side = sidewindows.SideWindows()
    server = fs.FakeServer(gfx_stamp=stamp, log=lambda text: None,
                           behaviours=[trade.Trade(), actions.ActionWorld(login_burst=False), side])
    stages = load_stages()
    if not stages:
        raise Failure("no stage_*.py beside the driver")
    for _, module in stages:
        if hasattr(module, "prepare"):
            module.prepare(server)
    options = b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nfpslimit=60\r\n"
    page = fs.StatusPage("Test server.")
    with server, page, winedriver.client_run(args, page.port,
                                             winedriver.prepare_client(args.scratch, args.gfx, server.login_port,
                                                                       options)) as program:
        window = winedriver.game_window(program)
        session = Session(program, server, window, parse_state)
        side.open(server, 0)
        session.wait_state(lambda st: any(c["index"] == 0 and c["cells"] for c in st["containers"]),
                           "the backpack with its items")
        for name, module in stages:
            winedriver.stage(name)
            module.run(session)
            session.wait_state(lambda st: not open_dialogs(st),
                               f"no dialog left open after {name} (open: {open_dialogs(session.state)})")
            print(f"ok    {name}", flush=True)

        winedriver.close_cleanly(program, window, server)


def main():
    args = winedriver.scratch_args()
    check_dialogs(args)
    print("dialogs: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
