#!/usr/bin/env python3
"""Drives the GUI smoke program under Wine with xdotool.

Clicks a button, types into a text box, moves between boxes with Tab, copies
and pastes through the real clipboard, scrolls a list with the wheel, chooses
a context-menu row and checks a box; each effect is read back from the lines
the program prints (see GuiSmokeWin32.cpp), never from pixels.
"""
import argparse
import os
import queue
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from winedriver import click_at, move_pointer  # noqa: E402


class Program:
    def __init__(self, command, env):
        self.proc = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                     stdin=subprocess.DEVNULL, env=env, text=True, errors="replace")
        self.lines = queue.Queue()
        self.seen = []
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip("\r\n"))
        self.lines.put(None)

    def expect(self, wanted, timeout=20.0):
        """Waits for a line that starts with `wanted`; returns it."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            try:
                line = self.lines.get(timeout=max(0.05, deadline - time.time()))
            except queue.Empty:
                break
            if line is None:
                break
            self.seen.append(line)
            if line.startswith(wanted):
                return line
        raise AssertionError("no line %r within %.0f s; seen:\n  %s" % (wanted, timeout, "\n  ".join(self.seen[-40:])))


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--gfx", default="")
    args = parser.parse_args()

    env = dict(os.environ)
    command = [os.path.join(args.source, "scripts", "wine-run"), args.program]
    if args.gfx and os.path.exists(args.gfx):
        command.append("Z:" + args.gfx.replace("/", "\\"))
    program = Program(command, env)
    try:
        ready = program.expect("ready", timeout=90)
        _, left, top = ready.split()
        left, top = int(left), int(top)
        controls = {}
        for line in program.seen:
            if line.startswith("control "):
                _, cid, x, y, w, h = line.split()
                controls[int(cid)] = (int(x), int(y), int(w), int(h))

        def at(cid, dx, dy):
            x, y, _, _ = controls[cid]
            return left + x + dx, top + y + dy

        # The pointer's move and the press reach the program in order, and
        # each effect is waited for as the line that reports it.
        def click(cid, dx, dy, button=1):
            click_at(*at(cid, dx, dy), button=button)

        window = subprocess.run(["xdotool", "search", "--sync", "--name", "^GUI smoke"],
                                capture_output=True, text=True, timeout=30).stdout.split()
        if window:
            # No window manager on the virtual display: give the window the
            # keyboard ourselves.
            subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], timeout=10)

        # A button's callback fires.
        click(10, 50, 12)
        program.expect("button Press")

        # Typing into a text box, Tab to the next one.
        click(11, 10, 10)
        program.expect("focus 11")
        xdotool("type", "--delay", "50", "hello")
        program.expect("text 11 hello")
        xdotool("key", "Tab")
        program.expect("focus 12")
        xdotool("type", "--delay", "50", "world")
        program.expect("text 12 world")

        # Copy from the first box and paste into the second through the clipboard.
        click(11, 10, 10)
        program.expect("focus 11")
        # The keys are handled in order, the copy before the paste.
        xdotool("key", "ctrl+a")
        xdotool("key", "ctrl+c")
        xdotool("key", "Tab")
        program.expect("focus 12")
        xdotool("key", "ctrl+v")
        program.expect("text 12 worldhello")

        # The wheel scrolls the list under the mouse (button 5: towards the user).
        x, y = at(14, 50, 50)
        move_pointer(x, y)
        xdotool("click", "--repeat", "2", "--delay", "100", "5")
        program.expect("list 0 30")
        click(14, 50, 5)
        program.expect("list 1 30")

        # A right click opens a context menu; choose its second row. The menu
        # opens on an empty part of the dialog: presses go through menus.
        click(17, 360, 30, button=3)
        program.expect("menu open")
        x, y = at(17, 360, 30)
        click_at(x + 40, y + 3 + 20 + 10)
        program.expect("menu 2")

        # The check box, the table, a tab and the selector.
        click(13, 5, 5)
        program.expect("checkbox 1")
        click(16, 30, 25 + 20 + 5)
        program.expect("table Axe")
        click(15, 150, 10)
        program.expect("tab History")
        x, y, w, h = controls[17]
        click_at(left + x + w - 10, top + y + 10)
        program.expect("selector 1")

        click(18, 50, 12)
        program.expect("bye")
        program.proc.wait(timeout=30)
        print("\n".join(program.seen))
        print("GUI smoke test passed")
        return 0
    except Exception as error:  # report and fail
        print("GUI smoke test failed: %s" % error, file=sys.stderr)
        return 1
    finally:
        if program.proc.poll() is None:
            program.proc.kill()


if __name__ == "__main__":
    sys.exit(main())
