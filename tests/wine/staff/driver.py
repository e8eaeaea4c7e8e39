#!/usr/bin/env python3
"""The game master's tools under Wine, played against the fake game server's
staff behaviour (tests/fakeserver/staff.py) in the world of actions with a
staff character (privilege 3).

The program is the client with a main loop that logs in by itself and enters
the game (StaffProbeWin32.cpp); it prints a "state" line whenever what the
staff dialogs show changes: which are open, where their controls are, the
text boxes' texts, the online list's rows and selection, the ban button's
caption and the form's disabled flags. The driver clicks and types with
xdotool and waits, with a time limit, for the state and for the requests the
server's strict decoder records:

1. Ctrl+Y opens the window; with "Bob" typed, "Teleport To", "Kick" and
   "Read a Report" send the chat lines "!t Bob", "!k Bob" and "!r" in "Main".
2. "Open Online List" asks for the list; three "Teleport Next" visit the
   three players, a fourth sends nothing; a continuation is appended.
3. The server opens the ban dialog; typing "Evil" looks it up (at most two
   lookups while typing, the last of the whole name); the answer "banned"
   turns the button to "Unban" and locks the form; "Unban" lifts the ban and
   looks the name up again.
4. The answer "not banned" empties and unlocks the form; days, a comment,
   rule 2 and the warning box go out with "Ban/warn", and a lookup follows.
5. The window's close request logs out and ends the program with 0.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import actions  # noqa: E402
import fakeserver as fs  # noqa: E402
import staff  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure  # noqa: E402

CLIENT_CHAT = 0x03
ROW_HEIGHT = 35        # the online list's rows
RULE_ROW_HEIGHT = 20   # the ban dialog's rule list


def prepare(args, login_port):
    return winedriver.prepare_client(
        args.scratch, args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nengine=directx\r\n"
        b"[channels]\r\nMain=true\r\n")


def parse_state(line):
    return dict(re.findall(r"(\w+)=(\S*)", line))


def rect(value):
    return tuple(int(v) for v in value.split(","))


def centre(value):
    x, y, w, h = rect(value)
    return x + w // 2, y + h // 2


def is_open(state, dialog):
    return f"{dialog}," in state.get("open", "")


class Session(winedriver.StateSession):
    def __init__(self, program, server, window):
        super().__init__(program, server, window, parse_state)

    def wait_server(self, condition, what, timeout=20):
        winedriver.wait_server(self.server, condition, what, timeout)

    def settle(self):
        """Waits until the client has sent everything it queued before now:
        a ping goes out and its pong comes back behind those requests."""
        before = len(self.requests(fs.CLIENT_PONG))
        self.server.send_ping(0x7100 + before)
        self.wait_server(lambda: len(self.requests(fs.CLIENT_PONG)) > before, "a pong")

    def click(self, x, y):
        winedriver.xdotool("mousemove", "--window", self.window, x, y)
        winedriver.xdotool("click", 1)

    def click_control(self, key):
        if key not in self.state:
            raise Failure(f"no {key} in the state: {self.state}")
        self.click(*centre(self.state[key]))

    def type(self, text):
        winedriver.xdotool("type", "--delay", "20", text)

    def type_into(self, box, text):
        """Clicks a text box and types; waits until the box holds the text."""
        self.click_control("r%d" % box)
        self.type(text)
        wanted = text.replace(" ", "_")
        return self.wait_state(lambda st: st.get("t%d" % box) == wanted, f'"{text}" in box {box}')

    def chats_since(self, mark):
        return [(r.fields["channel"], r.fields["text"]) for r in self.requests(CLIENT_CHAT)[mark:]]

    def game_requests_since(self, mark):
        return [r for r in list(self.server.requests) if r.server == "game"][mark:]

    def game_request_count(self):
        return len(self.game_requests_since(0))


def named(requests, opcode):
    return [r.fields["name"] for r in requests if r.opcode == opcode]


def game_master_window(s):
    s.wait_state(lambda st: st.get("privilege") == "3", "the staff character in the world", timeout=60)
    winedriver.xdotool("keydown", "ctrl")
    try:
        winedriver.xdotool("key", "y")
        s.wait_state(lambda st: is_open(st, 119), "the GM Window after Ctrl+Y")
    finally:
        winedriver.xdotool("keyup", "ctrl")
    s.type_into(123, "Bob")
    mark = len(s.requests(CLIENT_CHAT))
    for button in ("b119_TeleportTo", "b119_Kick", "b119_ReadaReport"):
        s.click_control(button)
    wanted = [(b"Main", b"!t Bob"), (b"Main", b"!k Bob"), (b"Main", b"!r")]
    s.wait_server(lambda: s.chats_since(mark) == wanted, f"the chat lines {wanted}")
    s.wait_state(lambda st: st.get("t123") == "Bob", "the name kept in its box")


def online_list(s):
    mark = len(s.requests(CLIENT_CHAT))
    s.click_control("b119_OpenOnlineList")
    s.wait_server(lambda: s.requests(0x3A), "the online list request")
    s.wait_state(lambda st: st.get("rows") == "Ana|Bob|Evil|" and st.get("sel") == "0", "three rows")
    for _ in range(3):
        s.click_control("b335_TeleportNext")
    wanted = [(b"Main", b"!t Ana"), (b"Main", b"!t Bob"), (b"Main", b"!t Evil")]
    s.wait_server(lambda: s.chats_since(mark) == wanted, f"the chat lines {wanted}")
    s.wait_state(lambda st: st.get("sel") == "3", "the selection past the last row")
    s.click_control("b335_TeleportNext")
    # A click on a row comes behind the fourth click; once its selection shows
    # and a pong is back, anything the fourth click sent has arrived.
    x, y, _, _ = rect(s.state["r336"])
    s.click(x + 40, y + 1 + ROW_HEIGHT + ROW_HEIGHT // 2)
    s.wait_state(lambda st: st.get("sel") == "1", "the second row selected")
    s.settle()
    if s.chats_since(mark) != wanted:
        raise Failure(f"a fourth Teleport Next sent {s.chats_since(mark)[3:]}")

    # A continuation, sent right after a fresh answer so that no refresh
    # replaces the list before the state shows it.
    staff_behaviour = s.server.behaviours[0]
    lists = staff_behaviour.lists_sent
    s.server.wait_for(lambda: staff_behaviour.lists_sent > lists, timeout=15)
    staff.Staff.more_players(s.server)
    s.wait_state(lambda st: st.get("rows") == "Ana|Bob|Evil|Cedric|Dora|", "the appended players")

    s.click_control("b335_Close")
    s.wait_state(lambda st: not is_open(st, 335), "the online list closed")
    s.click_control("b119_Close")
    s.wait_state(lambda st: not is_open(st, 119) and st.get("focus") == "25", "the GM Window closed, the chat focused")


def ban_dialog(s):
    staff.Staff.ban_dialog(s.server)
    s.wait_state(lambda st: is_open(st, 100) and st.get("caption") == "Ban/warn", "the Banish Player dialog")
    mark = s.game_request_count()
    s.click_control("r103")
    s.type("Evil")
    s.wait_server(lambda: named(s.game_requests_since(mark), 0x1D)[-1:] == [b"Evil"], "the lookup of Evil")
    s.wait_state(lambda st: st.get("caption") == "Unban" and st.get("disabled") == "1111" and st.get("t105") == "14",
                 "the form showing the ban, locked")
    lookups = named(s.game_requests_since(mark), 0x1D)
    if len(lookups) > 2:
        raise Failure(f"typing sent {len(lookups)} lookups: {lookups}")

    mark = s.game_request_count()
    s.click_control("b100_Unban")
    s.wait_server(lambda: [(r.opcode, r.fields.get("name")) for r in s.game_requests_since(mark)] ==
                  [(0x24, b"Evil"), (0x1D, b"Evil")], "the unban and the lookup behind it")
    s.wait_state(lambda st: st.get("caption") == "Ban/warn" and st.get("disabled") == "0000" and
                 st.get("t105") == "-" and st.get("t106") == "-", "the form emptied and unlocked")

    s.type_into(105, "3")
    s.type_into(106, "spam bot")
    x, y, _, _ = rect(s.state["r104"])
    s.click(x + 40, y + 1 + RULE_ROW_HEIGHT + RULE_ROW_HEIGHT // 2)
    s.click_control("r107")
    s.wait_state(lambda st: st.get("rule") == "1" and st.get("warning") == "1", "rule 2 and the warning box")
    mark = s.game_request_count()
    s.click_control("b100_Banwarn")
    banish = bytes([0x1E]) + b"\x04\x00Evil" + b"\x03\x00" + b"\x08\x00spam bot" + b"\x01" + b"\x01\x002"
    s.wait_server(lambda: [(r.opcode, bytes(r.raw)) for r in s.game_requests_since(mark)] ==
                  [(0x1E, banish), (0x1D, b"\x1d\x04\x00Evil")], "the ban/warn and the lookup behind it")


def check_staff(args):
    stamp = fs.read_gfx_stamp(args.gfx)
    server = fs.FakeServer(gfx_stamp=stamp, behaviours=[staff.Staff(), actions.ActionWorld(privilege=3)],
                           log=lambda text: None)
    page = fs.StatusPage("Test server.")
    with server, page, winedriver.client_run(args, page.port, prepare(args, server.login_port)) as program:
        window = winedriver.game_window(program)
        session = Session(program, server, window)
        winedriver.stage("the game master's window")
        game_master_window(session)
        winedriver.stage("the online list")
        online_list(session)
        winedriver.stage("the ban dialog")
        ban_dialog(session)

        winedriver.close_cleanly(program, window, server)
        if not server.requests_of(fs.CLIENT_LOGOUT):
            raise Failure("no logout request")


def main():
    args = winedriver.scratch_args()
    check_staff(args)
    print("staff tools: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
