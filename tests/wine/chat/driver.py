#!/usr/bin/env python3
"""The chat console under Wine, played like a player against the fake game
server with the chat behaviour (tests/fakeserver/chat.py).

The program is the client with a main loop that logs in by itself and enters
the game (ChatProbeWin32.cpp); it prints a "state" line whenever what the chat
console shows changes: where the chat input, the tabs, the active box and the
close button are, the tab colours, the input's text, whether the book and the
confirmation box are open, the tips. The driver clicks and types with xdotool
and waits, with a time limit, for the server to receive the requests, for the
state to change and for pixels to appear.
"""
import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import chat  # noqa: E402
import fakeserver as fs  # noqa: E402
import world  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure  # noqa: E402

UNREAD = "ff40ffff"         # the yellow of a tab with news
OWN_SAY = (190, 215, 170)   # the player's own Say lines
TIMED = (130, 255, 130)     # the timed screen lines
TIP_FILL = (36, 52, 92)     # sprite 5722, drawn at alpha 185 over the field
CLIENT_WALK = 0x1A


def prepare(args, login_port):
    return winedriver.prepare_client(
        args.scratch, args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nengine=directx\r\n"
        b"[channels]\r\nMain=true\r\n")


def parse_state(line):
    state = dict(re.findall(r"(\w+)=(\S*)", line))
    tabs = {}
    for entry in filter(None, state.get("tabs", "").split("|")):
        name, rect, colour = entry.split(":")
        tabs[name] = (tuple(int(v) for v in rect.split(",")), colour)
    state["tabs"] = tabs
    return state


def rect(value):
    return tuple(int(v) for v in value.split(","))


class Shot(winedriver.Shot):
    """A screenshot of the window's client area that counts pixels of a colour."""

    def count(self, left, top, right, bottom, colour, tolerance=6):
        found = 0
        for y in range(max(top, 0), min(bottom, self.height)):
            for x in range(max(left, 0), min(right, self.width)):
                if all(abs(a - b) <= tolerance for a, b in zip(self.at(x, y), colour)):
                    found += 1
        return found


class Session(winedriver.StateSession):
    def __init__(self, program, server, window):
        super().__init__(program, server, window, parse_state)

    def wait_server(self, condition, what, timeout=20):
        winedriver.wait_server(self.server, condition, what, timeout)

    def wait_pixels(self, area, colour, what, timeout=20, minimum=3):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if Shot(self.window).count(*area, colour) >= minimum:
                return
            time.sleep(0.2)
        raise Failure(f"no pixels of {what} {colour} in {area} within {timeout} s")

    def wait_blend(self, area, before, colour, alpha, what, timeout=20):
        """Waits until most pixels of the area show colour at alpha over the
        same pixels of an earlier screenshot."""
        left, top, right, bottom = area
        total = (right - left) * (bottom - top)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            shot = Shot(self.window)
            hits = 0
            for y in range(top, bottom):
                for x in range(left, right):
                    wanted = tuple((c * alpha + b * (255 - alpha)) // 255 for c, b in zip(colour, before.at(x, y)))
                    if all(abs(a - b) <= 6 for a, b in zip(shot.at(x, y), wanted)):
                        hits += 1
            if hits * 10 >= total * 9:
                return
            time.sleep(0.2)
        raise Failure(f"{what} did not appear in {area} within {timeout} s")

    def settle(self):
        """Waits until the client has handled everything sent before now: a
        ping goes out and its pong comes back."""
        value = 0x7000 + len(self.requests(fs.CLIENT_PONG))
        before = len(self.requests(fs.CLIENT_PONG))
        self.server.send_ping(value)
        self.wait_server(lambda: len(self.requests(fs.CLIENT_PONG)) > before, "a pong")

    # --- input ---

    def move(self, x, y):
        winedriver.xdotool("mousemove", "--window", self.window, x, y)

    def click(self, x, y, button=1):
        self.move(x, y)
        winedriver.xdotool("click", button)

    # Real key events (XTEST) to the focused window: events sent to a window
    # would not change the key state that Shift and Ctrl are read from.
    def key(self, *keys):
        winedriver.xdotool("key", *keys)

    def type(self, text):
        winedriver.xdotool("type", "--delay", "40", text)


def wait_clipboard(wanted, timeout=20):
    """Waits until the X clipboard holds a text containing wanted."""
    import tkinter
    root = tkinter.Tk()
    root.withdraw()
    try:
        deadline = time.monotonic() + timeout
        text = None
        while time.monotonic() < deadline:
            try:
                text = root.clipboard_get()
            except tkinter.TclError:
                text = None
            if text and wanted in text:
                return text
            time.sleep(0.2)
        raise Failure(f"the X clipboard holds {text!r}, not {wanted!r}")
    finally:
        root.destroy()


def centre(r):
    return r[0] + r[2] // 2, r[1] + r[3] // 2


def play(session):
    s = session
    state = s.wait_state(lambda st: st.get("active") == "Main" and st.get("input", "-") != "-", "the Main tab")

    # Typing into the chat input and Enter: 0x03 ("Main", "hello"); the echo shows in Main.
    s.click(*centre(rect(state["input"])))
    s.type("hello")
    s.wait_state(lambda st: st.get("text") == "hello", "the typed text in the chat input")
    s.key("Return")
    s.wait_server(lambda: any(r.fields == {"channel": b"Main", "text": b"hello"} for r in s.requests(chat.CLIENT_CHAT)),
                  'the chat line ("Main", "hello")')
    # The echo is the player's own only once the map knows the player's
    # creature (the fake world sends it with the whole view at the start).
    s.wait_state(lambda st: st.get("player", "") != "", "the player's creature on the map")
    box = rect(s.state["box"])
    s.wait_pixels((box[0], box[1], box[0] + box[2], box[1] + box[3]), OWN_SAY, "the echoed line in Main")

    # The server opens "Trade"; Tab selects it; a line there carries "Trade"; Shift+Up recalls it.
    chat.Chat.open_channel(s.server, b"Trade")
    s.wait_state(lambda st: "Trade" in st["tabs"], "the Trade tab")
    s.key("Tab")
    s.wait_state(lambda st: st.get("active") == "Trade", "Trade selected by Tab")
    s.type("wts")
    s.wait_state(lambda st: st.get("text") == "wts", "the typed text")
    s.key("Return")
    s.wait_server(lambda: any(r.fields == {"channel": b"Trade", "text": b"wts"} for r in s.requests(chat.CLIENT_CHAT)),
                  'the chat line ("Trade", "wts")')
    s.wait_state(lambda st: st.get("text") == "", "the emptied chat input")
    # Shift is read as the key state when the client handles the arrow, so
    # it stays down until the line is back, as a player's finger does.
    winedriver.xdotool("keydown", "shift")
    try:
        s.key("Up")
        s.wait_state(lambda st: st.get("text") == "wts", "the recalled line")
    finally:
        winedriver.xdotool("keyup", "shift")
    s.key("ctrl+a", "BackSpace")

    # A private line from "Ana" opens her tab, yellow while Trade is active, and shows on screen.
    chat.Chat.private(s.server, b"Ana", b"are you there?")
    state = s.wait_state(lambda st: st["tabs"].get("Ana", (None, ""))[1] == UNREAD, "a yellow Ana tab")
    field = rect(state["field"])
    s.wait_pixels((field[0], field[1], field[0] + field[2], field[1] + field[3]), TIMED, "the timed screen text")

    # Click the Ana tab, then right-click her line: a private chat request 0x15 (1, "Ana").
    s.click(*centre(state["tabs"]["Ana"][0]))
    state = s.wait_state(lambda st: st.get("active") == "Ana", "the Ana tab selected")
    box = rect(state["box"])
    s.click(box[0] + 40, box[1] + 10, button=3)
    s.wait_server(lambda: any(r.fields == {"kind": 1, "name": b"Ana"} for r in s.requests(0x15)),
                  'the join request (1, "Ana")')

    # The close button on Trade: 0x16 (2, "Trade"), and the tab goes.
    s.click(*centre(state["tabs"]["Trade"][0]))
    state = s.wait_state(lambda st: st.get("active") == "Trade", "the Trade tab selected")
    s.click(*centre(rect(state["close"])))
    s.wait_server(lambda: any(r.fields == {"kind": 2, "name": b"Trade"} for r in s.requests(0x16)),
                  'the leave request (2, "Trade")')
    s.wait_state(lambda st: "Trade" not in st["tabs"] and st.get("active") == "Main", "Trade closed, Main selected")

    # A tip over the player: its box is drawn; its close button fades it away.
    camera = rect(s.state["camera"])
    before = Shot(s.window)
    chat.Chat.tip(s.server, 2, b"A tip", b"Read it.", camera[0] + 8, camera[1] + 8, camera[2])
    state = s.wait_state(lambda st: st.get("tips") == "1" and "tip" in st, "the tip")
    tip = rect(state["tip"])
    # Fully faded in, the box is its fill at alpha 185 over what was there.
    s.wait_blend((tip[0] + 4, tip[1] + 40, tip[0] + 100, tip[1] + 60), before, TIP_FILL, 185, "the tip box")
    s.click(tip[0] + 110, tip[1] + 45)
    s.wait_state(lambda st: st.get("tips") == "0", "the closed tip gone", timeout=10)

    # A paged text opens the book; a click outside it closes it and does not walk.
    chat.Chat.paged_text(s.server)
    state = s.wait_state(lambda st: st.get("book") == "1", "the open book")
    walks = len(s.requests(CLIENT_WALK))
    field = rect(state["field"])
    s.click(field[0] + 6, field[1] + 6)
    s.wait_state(lambda st: st.get("book") == "0", "the book closed by a click outside")
    s.settle()
    if len(s.requests(CLIENT_WALK)) != walks:
        raise Failure("the click that closed the book also walked")

    # A link from a stranger: selected in the pane, Ctrl+C warns first; OK
    # puts the selection on the clipboard, which X reads back.
    link = b"http://evil.example/page"
    chat.Chat.line(s.server, b"Stranger", b"Main", 4, link)
    s.settle()
    box = rect(s.state["box"])
    s.move(box[0] + 6, box[1] + 4)
    winedriver.xdotool("mousedown", 1)
    s.move(box[0] + box[2] - 24, box[1] + box[3] - 4)
    winedriver.xdotool("mouseup", 1)
    winedriver.xdotool("keydown", "ctrl")
    try:
        s.key("c")
        state = s.wait_state(lambda st: st.get("confirm") == "1", 'the "Warning!" box')
    finally:
        winedriver.xdotool("keyup", "ctrl")
    client = rect(state["client"])
    s.click(client[0] // 2 - 108 + 47, client[1] // 2 + 33 + 12)
    s.wait_state(lambda st: st.get("confirm") == "0", "the warning closed by OK")
    wait_clipboard(link.decode())

    # A resize: the chat area and the active box follow the new bottom edge.
    winedriver.xdotool("windowsize", s.window, 900, 640)
    state = s.wait_state(lambda st: st.get("client") == "900,640", "the new client size")
    state = s.wait_state(lambda st: rect(st["box"])[1] == 640 - int(st["chath"]) + 37, "the box following")
    if rect(state["input"])[1] != 640 - 27:
        raise Failure(f"the chat input did not follow the resize: {state['input']}")


def check_chat(args):
    stamp = fs.read_gfx_stamp(args.gfx)
    # The world names the player's creature, so that its own lines take their colour.
    server = fs.FakeServer(gfx_stamp=stamp, behaviours=[world.World(), chat.Chat()], log=lambda text: None)
    page = fs.StatusPage("Test server.")
    with server, page, winedriver.client_run(args, page.port, prepare(args, server.login_port)) as program:
        window = winedriver.game_window(program)
        session = Session(program, server, window)
        play(session)

        winedriver.close_cleanly(program, window, server)
        saved = program.wait_line(lambda l: l.startswith("saved channels="), 10, "the channels kept")
        if "Trade," in saved or "Main," not in saved:
            raise Failure(f"the channels kept at logout: {saved}")


def main():
    args = winedriver.scratch_args()
    check_chat(args)
    print("chat console: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
