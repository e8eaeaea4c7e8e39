#!/usr/bin/env python3
"""The guild dialogs under Wine, played like a player against the fake game
server's world and guild behaviour (tests/fakeserver/guild.py).

1. Ctrl+G asks for the guild (0x37); the server's invitations (0x3a) open
   "No Guild" with two rows; "Join Selected" sends 38 05 with the first
   guild's id, and the guild data with the answer (0x38, 0x39) replace it by
   "Guild: <name>".
2. With the server's answers held back, a typed channel message and "Set"
   send 38 01 <text>; "Invite" is then disabled and a click on it sends
   nothing; once the answer (0x39) comes, "Invite" with a typed name sends
   38 02 <name>.
3. "Edit Ranks", "Vice-leader", a name and "Create New Rank" send
   38 0A 01 <name>.
4. A member's row, "Kick" and OK in the confirmation box send 38 03 <id>.
5. "Guild Wars", "Create New War", a name, days, a fee, the loyalty box and
   "Create" send 38 07 <name> <days> <fee> 01, byte for byte.
The run ends with no decoder failure and no message box.

The program is the client with a main loop that prints a "state" line
whenever the guild dialogs change (GuildProbeWin32.cpp).
"""
import os
import re
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import actions  # noqa: E402
import fakeserver as fs  # noqa: E402
import guild  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure  # noqa: E402

REQUEST_GUILD, GUILD = 0x37, 0x38
GUILD_WINDOW, NO_GUILD, CREATE_WAR, EDIT_RANKS, CONFIRM = 275, 288, 301, 308, 255
# Controls of the dialogs.
SET, INVITE, KICK, EDIT_RANKS_BUTTON, NEW_WAR = 286, 287, 285, 300, 278
MESSAGE_BOX, INVITE_BOX, MEMBERS = 280, 281, 283
JOIN, INVITES = 293, 292
RANK_NAME, VICE_LEADER, CREATE_RANK, CLOSE_RANKS = 310, 317, 311, 309
OPPONENT, DAYS, FEE, LOYALTY, CREATE = 304, 307, 305, 306, 302


def prepare(args, login_port):
    return winedriver.prepare_client(
        args.scratch, args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nfpslimit=60\r\n")


def numbers(value):
    return tuple(int(v) for v in value.split(","))


def parse_state(line):
    state = dict(re.findall(r"(\w+)=(\S*)", line))
    state["open"] = {int(v) for v in state.get("open", "").split(",") if v}
    state["tabs"] = {caption.replace("_", " "): numbers(rect)
                     for caption, _, rect in (e.partition(":") for e in state.get("tabs", "").split("|") if e)}
    state["members"] = [(name.replace("_", " "), int(member_id))
                        for name, _, member_id in (e.partition(":") for e in state.get("members", "").split("|") if e)]
    return state


def centre(r):
    return r[0] + r[2] // 2, r[1] + r[3] // 2


class Session(winedriver.StateSession):
    def __init__(self, program, server, behaviour, window):
        super().__init__(program, server, window, parse_state)
        self.guild = behaviour

    def move(self, x, y):
        winedriver.xdotool("mousemove", "--window", self.window, x, y)

    def click(self, x, y):
        self.move(x, y)
        winedriver.xdotool("click", 1)

    def control(self, kind, control_id):
        value = self.state.get(f"{kind}{control_id}")
        if value is None:
            raise Failure(f"control {control_id} is not shown: {self.state}")
        return numbers(value)

    def press(self, button):
        """Clicks a button once it is shown and enabled."""
        self.wait_state(lambda st: st.get(f"b{button}", "").endswith(",0"), f"button {button} enabled")
        self.click(*centre(self.control("b", button)))

    def type_into(self, box, text):
        """Clicks into a text box, selects what it holds and types over it."""
        self.wait_state(lambda st: f"t{box}" in st, f"text box {box}")
        self.click(*centre(self.control("t", box)))
        winedriver.xdotool("key", "ctrl+a")
        winedriver.xdotool("type", "--delay", "40", text)

    def guild_requests(self, sub):
        return [r for r in self.requests(GUILD) if r.fields.get("sub") == sub]

    def wait_guild_request(self, sub, fields, what):
        def sent():
            return any(all(r.fields.get(k) == v for k, v in fields.items()) for r in self.guild_requests(sub))
        winedriver.wait_server(self.server, sent, what, 20)
        return [r for r in self.guild_requests(sub) if all(r.fields.get(k) == v for k, v in fields.items())][-1]

    def settle(self):
        """Waits until the client has handled everything sent before now and
        sent what it queued: the mouse is seen at a new place, then a ping's
        answer comes back behind any request of that pass."""
        x, y = 5, 5 + len(self.server.requests) % 20
        self.move(x, y)
        self.wait_state(lambda st: st.get("mouse") == f"{x},{y}", "the mouse seen at its new place")
        before = len(self.requests(fs.CLIENT_PONG))
        self.server.send_ping(0x6000 + before)
        winedriver.wait_server(self.server, lambda: len(self.requests(fs.CLIENT_PONG)) > before, "the ping's answer")


def join(s):
    winedriver.stage("Ctrl+G, the invitations and joining the first guild")
    # The game screen reads Ctrl's state when it takes the queued key, so Ctrl
    # stays down until the request is out.
    winedriver.xdotool("keydown", "ctrl")
    try:
        winedriver.xdotool("key", "g")
        winedriver.wait_server(s.server, lambda: s.requests(REQUEST_GUILD), "the guild request 0x37")
    finally:
        winedriver.xdotool("keyup", "ctrl")
    st = s.wait_state(lambda st: NO_GUILD in st["open"] and f"l{INVITES}" in st, '"No Guild"')
    rows = numbers(st[f"l{INVITES}"])[4]
    if rows != 2:
        raise Failure(f'"No Guild" shows {rows} rows, not 2')
    s.press(JOIN)
    first_id, first_name = guild.INVITES[0]
    s.wait_guild_request(5, {"guild": first_id}, f"the join request 38 05 {first_id}")
    title = "Guild: " + first_name.decode()
    s.wait_state(lambda st: NO_GUILD not in st["open"] and st.get("title", "").replace("_", " ") == title,
                 f'"{title}" in place of "No Guild"')


def message_and_invite(s):
    winedriver.stage("a channel message while the answer is held, then an invitation")
    s.guild.hold_answers()
    s.type_into(MESSAGE_BOX, "Meet at noon")
    s.press(SET)
    s.wait_guild_request(1, {"text": b"Meet at noon"}, "the channel message 38 01")
    s.wait_state(lambda st: st.get(f"b{INVITE}", "").endswith(",1"), '"Invite" disabled while waiting')
    s.type_into(INVITE_BOX, "Zed")
    s.click(*centre(s.control("b", INVITE)))
    s.settle()
    if s.guild_requests(2):
        raise Failure(f'a click on the disabled "Invite" sent {s.guild_requests(2)}')
    if s.guild.release_answers() != 1:
        raise Failure("the server held no answer to the channel message")
    s.press(INVITE)
    s.wait_guild_request(2, {"name": b"Zed"}, "the invitation 38 02 Zed")


def new_rank(s):
    winedriver.stage("Edit Ranks: a vice-leaders' rank")
    s.press(EDIT_RANKS_BUTTON)
    s.wait_state(lambda st: EDIT_RANKS in st["open"], '"Edit Ranks"')
    s.press(VICE_LEADER)
    s.type_into(RANK_NAME, "Scouts")
    s.press(CREATE_RANK)
    s.wait_guild_request(10, {"level": 1, "rank_name": b"Scouts"}, "the new rank 38 0A 01 Scouts")
    s.press(CLOSE_RANKS)
    s.wait_state(lambda st: EDIT_RANKS not in st["open"], '"Edit Ranks" closed')


def kick(s):
    winedriver.stage("a member kicked")
    st = s.wait_state(lambda st: "Cedric" in [name for name, _ in st["members"]], "Cedric among the members")
    row = [name for name, _ in st["members"]].index("Cedric")
    member_id = st["members"][row][1]
    x, y, w, _, _, height, _ = numbers(st[f"l{MEMBERS}"])
    s.click(x + w // 2, y + 1 + row * height + height // 2)
    s.wait_state(lambda st: numbers(st[f"l{MEMBERS}"])[6] == row, f"row {row} selected")
    s.press(KICK)
    st = s.wait_state(lambda st: CONFIRM in st["open"] and "ok" in st, "the confirmation box")
    s.click(*centre(numbers(st["ok"])))
    s.wait_guild_request(3, {"member": member_id}, f"the kick 38 03 {member_id}")


def declare_war(s):
    winedriver.stage("a war declared")
    st = s.wait_state(lambda st: "Guild Wars" in st["tabs"], 'the "Guild Wars" tab')
    s.click(*centre(st["tabs"]["Guild Wars"]))
    s.wait_state(lambda st: st.get("tab") == "1", 'the "Guild Wars" page')
    s.press(NEW_WAR)
    s.wait_state(lambda st: CREATE_WAR in st["open"], '"Create New War"')
    s.type_into(OPPONENT, "Rogues")
    s.type_into(DAYS, "14")
    s.type_into(FEE, "2500")
    s.click(*centre(s.control("c", LOYALTY)))
    s.wait_state(lambda st: st.get(f"c{LOYALTY}", "").endswith(",1"), "the loyalty box ticked")
    s.press(CREATE)
    request = s.wait_guild_request(7, {"guild": b"Rogues"}, "the war 38 07")
    wanted = b"\x38\x07" + struct.pack("<H", 6) + b"Rogues" + struct.pack("<IIB", 14, 2500, 1)
    if request.raw != wanted:
        raise Failure(f"the war request was {request.raw.hex()}, not {wanted.hex()}")
    s.wait_state(lambda st: CREATE_WAR not in st["open"], '"Create New War" closed')


def check_guild(args):
    behaviour = guild.Guild()
    server = fs.FakeServer(gfx_stamp=fs.read_gfx_stamp(args.gfx), behaviours=[actions.ActionWorld(), behaviour],
                           log=lambda text: None)
    page = fs.StatusPage("Test server.")
    with server, page, winedriver.client_run(args, page.port, prepare(args, server.login_port)) as program:
        window = winedriver.game_window(program)
        s = Session(program, server, behaviour, window)
        join(s)
        message_and_invite(s)
        new_rank(s)
        kick(s)
        declare_war(s)

        winedriver.close_cleanly(program, window, server)


def main():
    args = winedriver.scratch_args()
    check_guild(args)
    print("guild: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
