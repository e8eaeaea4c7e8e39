#!/usr/bin/env python3
"""The side windows under Wine, played like a player against the fake game
server's world and side-windows behaviour (tests/fakeserver/sidewindows.py).

The player enters: the equipment cells hold the server's items, the skills
window its numbers, the friends and party lists their names. The server opens
the backpack as it does when the player uses it: the window opens in the right
panel; dragged by its title bar into the left panel it stays there; its close
button sends 0x10 and the window goes. Opened again, "Loot" sends 0x4A and
then 0x10. "Add New Person" in the friends list's menu with a typed name sends
0x17 and the server's answer shows the name; "Leave party" sends 0x1B with the
player's own name and 1. Quests, Spells and Guild send 0x28, 0x31 and 0x37.
With the pouch dragged into the left panel, Logout sends 0x13; the client
logs in again by itself and the login burst reopens the pouch where
"containers.ini" says it was.

The program is the client with a main loop that prints a "state" line
whenever the side windows change (SideWindowsProbeWin32.cpp).
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import fakeserver as fs  # noqa: E402
import sidewindows  # noqa: E402
import winedriver  # noqa: E402
import world  # noqa: E402
from winedriver import Failure, options_folder  # noqa: E402

PLAYER = b"Aldric"
QUESTS, SPELLS, GUILD, LOGOUT = 0x28, 0x31, 0x37, 0x13


def prepare(args, login_port):
    return winedriver.prepare_client(
        args.scratch, args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nfpslimit=60\r\n")


def rect(value):
    return tuple(int(v) for v in value.split(",")[:4])


def at_rest_left(state, index):
    """Container window `index` lies in the left panel and is not being dragged."""
    value = state.get(f"c{index}")
    return value is not None and rect(value)[0] == 0 and value.endswith(",0")


def centre(r):
    return r[0] + r[2] // 2, r[1] + r[3] // 2


def parse_state(line):
    state = dict(re.findall(r"(\w+)=(\S*)", line))
    menu = {}
    if state.get("menu", "-") != "-":
        box, _, entries = state["menu"].partition(":")
        state["menu_rect"] = rect(box)
        for entry in filter(None, entries.split("|")):
            label, _, y = entry.rpartition("@")
            menu[label.replace("_", " ")] = int(y)
    state["menu"] = menu
    state["inv"] = {int(s.split(":")[0]): tuple(int(v) for v in s.split(":")[1:])
                    for s in filter(None, state.get("inv", "").split("|"))}
    state["names"] = [n for n in state.get("names", "").split(",") if n]
    return state


class Session(winedriver.StateSession):
    def __init__(self, program, server, side, window):
        super().__init__(program, server, window, parse_state)
        self.side = side

    def wait_request(self, opcode, fields, what, timeout=20, after=0):
        """Waits for a request of the opcode with the fields, among those sent
        after the first `after` of that opcode."""
        def sent():
            return any(all(r.fields.get(k) == v for k, v in fields.items()) for r in self.requests(opcode)[after:])
        winedriver.wait_server(self.server, sent, what, timeout)

    def move(self, x, y):
        winedriver.xdotool("mousemove", "--window", self.window, x, y)

    def click(self, x, y, button=1):
        self.move(x, y)
        winedriver.xdotool("click", button)

    def drag_title(self, index, to_x, to_y):
        """Drags container window `index` by its title bar so that its left
        edge lands near to_x."""
        r = rect(self.state[f"c{index}"])
        grip_x, grip_y = r[0] + 40, r[1] + 8
        self.move(grip_x, grip_y)
        winedriver.xdotool("mousedown", 1)
        try:
            for step in range(1, 5):
                self.move(grip_x + (to_x + 40 - grip_x) * step // 4, grip_y + (to_y + 8 - grip_y) * step // 4)
            self.wait_state(lambda st: f"c{index}" in st and rect(st[f"c{index}"])[0] < 165,
                            f"container {index} following the mouse")
        finally:
            winedriver.xdotool("mouseup", 1)


def play(s):
    # The login burst: equipment, statistics, friends, party, then the action groups.
    st = s.wait_state(lambda st: st.get("loaded") == "1", "the end of the login burst")
    st = s.wait_state(lambda st: st["inv"].get(1) == (sidewindows.TORCH, 1) and st["inv"].get(5) ==
                      (sidewindows.COINS, 37), "the equipment from the server")
    stats = sidewindows.STATS
    wanted = ",".join(str(stats[k]) for k in ("health", "max_health", "mana", "max_mana", "level", "experience"))
    s.wait_state(lambda st: st.get("stats") == wanted, "the statistics in the skills window")
    s.wait_state(lambda st: {"Birch", "alder"} <= set(st["names"]), "the friends list")
    s.wait_state(lambda st: st.get("party", "-").endswith(",0"), "the party window shown")

    # The backpack opens in the right panel, at its default size.
    s.side.open(s.server, 0)
    st = s.wait_state(lambda st: "c0" in st and rect(st["c0"])[0] == 1000 - int(st["right"]), "the backpack")
    if rect(st["c0"])[2:] != (165, 88):
        raise Failure(f"the backpack opened at {st['c0']}, not 165 x 88")
    # Dragged by its title bar into the left panel, it stays there.
    s.drag_title(0, 20, 400)
    s.wait_state(lambda st: at_rest_left(st, 0), "the backpack collected by the left panel")
    # Its close button: 0x10 and the window goes.
    s.click(*centre(rect(s.state["cclose0"])))
    s.wait_request(0x10, {"container": 0}, "the container close 0x10")
    s.wait_state(lambda st: "c0" not in st, "the backpack closed")

    # Opened again: "Loot" sends 0x4A, then 0x10.
    closes = len(s.requests(0x10))
    s.side.open(s.server, 0)
    s.wait_state(lambda st: st.get("cloot0", "-") != "-", "the backpack with its Loot button")
    s.click(*centre(rect(s.state["cloot0"])))
    s.wait_request(0x4A, {"container": 0}, "the loot request 0x4A")
    s.wait_request(0x10, {"container": 0}, "the close after the loot", after=closes)
    loot = s.requests(0x4A)[-1]
    close = s.requests(0x10)[-1]
    if len(s.requests(0x10)) != closes + 1 or s.server.requests.index(loot) > s.server.requests.index(close):
        raise Failure("Loot did not send 0x4A and then one 0x10")

    # The friends list's menu: "Add New Person", a name, Enter.
    friends = rect(s.state["friends"])
    s.click(friends[0] + 30, friends[1] + friends[3] - 22, button=3)
    st = s.wait_state(lambda st: "Add New Person" in st["menu"], "the friends menu")
    s.click(st["menu_rect"][0] + 30, st["menu"]["Add New Person"])
    s.wait_state(lambda st: st.get("add") == "1", 'the "Add Person" dialog')
    winedriver.xdotool("type", "--delay", "40", "Zed")
    winedriver.xdotool("key", "Return")
    s.wait_request(0x17, {"name": b"Zed", "list": 0}, 'the add-friend request ("Zed", 0)')
    s.wait_state(lambda st: "Zed" in st["names"] and st.get("add") == "0", "Zed in the friends list")

    # The party list's menu: "Leave party".
    party = rect(s.state["party"])
    s.click(party[0] + 30, party[1] + 30, button=3)
    st = s.wait_state(lambda st: "Leave party" in st["menu"], "the party menu")
    s.click(st["menu_rect"][0] + 30, st["menu"]["Leave party"])
    s.wait_request(0x1B, {"name": PLAYER, "action": 1}, "the leave request (own name, 1)")
    s.wait_state(lambda st: st.get("party", "").endswith(",1"), "the party window hidden")

    # The actions window's requests.
    for name, opcode in (("quests", QUESTS), ("spells", SPELLS), ("guild", GUILD)):
        before = len(s.requests(opcode))
        s.click(*centre(rect(s.state[name])))
        winedriver.wait_server(s.server, lambda: len(s.requests(opcode)) > before, f"the {name} request")

    # The pouch into the left panel, then Logout: it comes back there.
    s.side.open(s.server, 1)
    s.wait_state(lambda st: "c1" in st and rect(st["c1"])[0] > 0, "the pouch in the right panel")
    s.drag_title(1, 20, 300)
    st = s.wait_state(lambda st: at_rest_left(st, 1), "the pouch collected by the left panel")
    placed = rect(st["c1"])
    s.click(*centre(rect(st["logout"])))
    s.wait_request(LOGOUT, {}, "the logout 0x13")
    s.program.wait_line(lambda l: l == "screen menu", 30, "the login screen after the logout")
    s.program.wait_line(lambda l: l == "screen game", 60, "the game again")
    _, section = winedriver.read_ini_section(os.path.join(options_folder(), "containers.ini"),
                                             f"containers {PLAYER.decode()}")
    saved = {name: int(value) for name, value in section.items()}
    if (saved.get("container1x"), saved.get("container1y")) != placed[:2]:
        raise Failure(f"containers.ini kept {saved}, not the pouch at {placed}")
    s.state = {}
    st = s.wait_state(lambda st: st.get("loaded") == "1" and "c1" in st, "the pouch reopened by the login burst")
    if rect(st["c1"]) != placed:
        raise Failure(f"the pouch reopened at {st['c1']}, not where it was ({placed})")


def check_side_windows(args):
    stamp = fs.read_gfx_stamp(args.gfx)
    side = sidewindows.SideWindows()
    server = fs.FakeServer(gfx_stamp=stamp, behaviours=[world.World(), side], log=lambda text: None)
    page = fs.StatusPage("Test server.")
    with server, page, winedriver.client_run(args, page.port, prepare(args, server.login_port)) as program:
        window = winedriver.game_window(program)
        play(Session(program, server, side, window))
        winedriver.close_cleanly(program, window, server)


def main():
    args = winedriver.scratch_args()
    check_side_windows(args)
    print("side windows: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
