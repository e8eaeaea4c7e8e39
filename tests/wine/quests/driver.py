#!/usr/bin/env python3
"""Brewing, the learned recipes, the quest log and the summon list under Wine,
played like a player against the fake game server's quests behaviour
(tests/fakeserver/quests.py), its world and its side windows.

1. The server opens "Brewing" without a brew: a click in the third size box,
   "4" in the amount box and "Begin Brewing" send 39 01 03 04 00; the answer
   shows the brew and "Finish Brewing".
2. The backpack opens and its flower, dragged onto the dialog, is moved to
   the brew (0E from its slot to 65535, 65533, 255, one piece); the next
   state lists it.
3. "View learned recipes..." sends 39 03; the answer fills the list; a click
   on the second recipe shows its text. Closed again, "Finish Brewing" sends
   39 02 and the brew ends.
4. Ctrl+Q sends 28; the log opens filled; "Achievement Log" shows the
   achievements; "Close" ends the log.
5. The server sends the summon list; a click on the second monster and Enter
   send 29 with its plain name.
6. Ctrl+Q again, and while the new log is open the server drops the
   connection: the client is back on the login screen without the log and
   logs in again by itself.
No decoder failure, no message box, exit code 0 after the window's close
request.

The program is the client with a main loop that prints a "state" line
whenever these dialogs change (QuestsProbeWin32.cpp).
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import actions  # noqa: E402
import fakeserver as fs  # noqa: E402
import quests  # noqa: E402
import sidewindows  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure, stage  # noqa: E402

REQUEST_QUESTS, SUMMON, MOVE, BREW = 0x28, 0x29, 0x0E, 0x39
BREWING, RECIPES, QUEST_LOG, SUMMON_DIALOG = "324", "328", "169", "180"


def prepare(args, login_port):
    return winedriver.prepare_client(
        args.scratch, args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nfpslimit=60\r\n")


def rect(value):
    return tuple(int(v) for v in value.split(","))


def centre(value):
    r = rect(value)
    return r[0] + r[2] // 2, r[1] + r[3] // 2


def rows(value):
    return [] if value == "-" else [r.replace("_", " ") for r in value.split("|") if r]


def parse_state(line):
    state = dict(re.findall(r"(\w+)=(\S*)", line))
    state["open"] = set() if state.get("open", "-") == "-" else set(state["open"].split(","))
    return state


class Session(winedriver.StateSession):
    def __init__(self, program, server, window, side, behaviour):
        super().__init__(program, server, window, parse_state)
        self.side = side
        self.quests = behaviour

    def move(self, x, y):
        winedriver.move_pointer(x, y, self.window)

    def click(self, point):
        self.move(*point)
        winedriver.xdotool("click", 1)

    def key(self, *names):
        winedriver.xdotool("key", *names)

    def ctrl_key(self, name, until, what):
        """Ctrl held until the client acted on the key: the game screen reads
        Ctrl's state when its main loop takes the key, not when it came."""
        winedriver.xdotool("keydown", "ctrl")
        try:
            winedriver.xdotool("key", name)
            winedriver.wait_until(until, 20, what)
        finally:
            winedriver.xdotool("keyup", "ctrl")

    def wait_request(self, opcode, fields, what, after=0):
        """Waits for a request of the opcode with the fields among those sent
        after the first `after`; returns it."""
        def sent():
            return next((r for r in self.requests(opcode)[after:]
                         if all(r.fields.get(k) == v for k, v in fields.items())), None)
        winedriver.wait_server(self.server, sent, what, show_requests=True)
        return sent()

    def drag(self, start, end, what):
        """Presses at start, moves to end once the client holds the drag, releases there."""
        self.move(*start)
        winedriver.xdotool("mousedown", 1)
        try:
            self.move((start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
            self.move(*end)
            self.wait_state(lambda st: st.get("dragging") == "1", what + " held")
        finally:
            winedriver.xdotool("mouseup", 1)


def brew(s):
    stage("brewing: a size, an amount, Begin Brewing")
    s.quests.brewing(s.server)
    st = s.wait_state(lambda st: BREWING in st["open"] and st.get("begin", "-") != "-", 'the "Brewing" dialog')
    if st["brew"].split(",")[:2] != ["0", "1"]:
        raise Failure(f"the dialog opened with {st['brew']}, not idle at size 1")
    # The box under the mouse is the one the last frame drew there.
    s.move(*centre(st["size3"]))
    s.wait_state(lambda st: st["brew"].split(",")[2] == "3", "the third size box under the mouse")
    s.click(centre(st["size3"]))
    s.wait_state(lambda st: st["brew"].split(",")[1] == "3", "size 3 chosen")
    s.click(centre(st["amount"]))
    winedriver.xdotool("type", "--delay", "40", "4")
    s.click(centre(s.state["begin"]))
    s.wait_request(BREW, {"sub": 1, "size": 3, "amount": 4}, "39 01 03 04 00")
    st = s.wait_state(lambda st: st["brew"].startswith("1,3,") and st.get("finish", "-") != "-",
                      'the brew with "Finish Brewing"')
    if st.get("begin") != "-" or st.get("amount") != "-":
        raise Failure(f"the brew still offers Begin Brewing or the amount box: {st}")

    stage("an ingredient dragged from the backpack")
    s.side.open(s.server, 0)
    st = s.wait_state(lambda st: st.get("flower", "-") != "-", "the backpack with its flower")
    moves = len(s.requests(MOVE))
    s.drag(rect(st["flower"]), rect(st["drop"]), "the flower's drag")
    request = s.wait_request(MOVE, {"to_x": 65535, "to_y": 65533, "to_z": 255}, "the move onto the brew", moves)
    fields = request.fields
    if (fields["from_x"], fields["from_y"], fields["count"]) != (65534, 0, 1):
        raise Failure(f"the flower was moved from {fields}, not from the backpack (65534, 0), one piece")
    s.wait_state(lambda st: st["ingredients"] == f"{sidewindows.FLOWER}:1|", "the flower in the brew")

    stage("the learned recipes")
    s.click(centre(s.state["view"]))
    s.wait_request(BREW, {"sub": 3}, "39 03")
    st = s.wait_state(lambda st: RECIPES in st["open"] and len(rows(st["rrows"])) == 2, "the recipes listed")
    if rows(st["rrows"]) != [name.decode() for name, _ in quests.RECIPES]:
        raise Failure(f"the recipes list shows {st['rrows']}")
    r = rect(st["rlist"])
    s.click((r[0] + 30, r[1] + 30))
    second = quests.RECIPES[1][1].decode().split("\n")[0].replace(" ", "_")
    s.wait_state(lambda st: st["rsel"] == "1" and st["rtext"] == second, "the second recipe's text")
    s.click(centre(s.state["rclose"]))
    st = s.wait_state(lambda st: RECIPES not in st["open"], "the recipes closed")
    s.click(centre(st["finish"]))
    s.wait_request(BREW, {"sub": 2}, "39 02")
    s.wait_state(lambda st: st["brew"].startswith("0,") and st.get("begin", "-") != "-", "the brew ended")


def quest_log(s):
    stage("the quest log")
    before = len(s.requests(REQUEST_QUESTS))
    s.ctrl_key("q", lambda: len(s.requests(REQUEST_QUESTS)) > before, "the quest log request 28")
    names = [q["name"].decode() for q in sorted(quests.QUESTS, key=lambda q: q["progress"])]
    st = s.wait_state(lambda st: st["log"] == "1" and rows(st["qrows"]) == names, "the log with the quests")
    s.click(centre(st["qtab"]))
    achievements = [a["name"].decode() for a in sorted(quests.ACHIEVEMENTS, key=lambda a: a["points"])]
    st = s.wait_state(lambda st: st["qshow"] == "achievements" and rows(st["qrows"]) == achievements,
                      "the achievements")
    s.click(centre(st["qclose"]))
    s.wait_state(lambda st: st["log"] == "0" and QUEST_LOG not in st["open"], "the log closed")


def summon(s):
    stage("the summon list")
    s.quests.summon_list(s.server)
    st = s.wait_state(lambda st: SUMMON_DIALOG in st["open"] and len(rows(st["srows"])) == 3, "the summon list")
    r = rect(st["slist"])
    s.click((r[0] + 30, r[1] + 30))
    s.key("Return")
    name = quests.MONSTERS[1][0]
    s.wait_request(SUMMON, {"name": name}, f"29 {name!r}")
    s.wait_state(lambda st: SUMMON_DIALOG not in st["open"], "the summon dialog closed")
    if len(s.requests(SUMMON)) != 1:
        raise Failure(f"{len(s.requests(SUMMON))} summon requests, not one")


def lost_connection(s):
    stage("a lost connection with the log open")
    before = len(s.requests(REQUEST_QUESTS))
    s.ctrl_key("q", lambda: len(s.requests(REQUEST_QUESTS)) > before, "the second quest log request")
    s.wait_state(lambda st: st["log"] == "1" and QUEST_LOG in st["open"], "the new log")
    logins = s.server.connections["game"]
    s.server.drop()
    s.program.wait_line(lambda l: l == "screen menu", 30, "the login screen")
    # Said in the pass that left the game: no log, none of its dialogs.
    line = s.program.wait_line(lambda l: l.startswith("questlog "), 30, "the log's line on the login screen")
    if line != "questlog 0 -":
        raise Failure(f"the login screen still has the log or a dialog: {line!r}")
    s.program.wait_line(lambda l: l == "screen game", 60, "the game again")
    winedriver.wait_server(s.server, lambda: s.server.connections["game"] > logins, "the second game login")


def check_quests(args):
    stamp = fs.read_gfx_stamp(args.gfx)
    side = sidewindows.SideWindows()
    behaviour = quests.Quests(side_windows=side)
    server = fs.FakeServer(gfx_stamp=stamp, log=lambda text: None,
                           behaviours=[behaviour, actions.ActionWorld(login_burst=False), side])
    page = fs.StatusPage("Test server.")
    with server, page, winedriver.client_run(args, page.port, prepare(args, server.login_port)) as program:
        window = winedriver.game_window(program)
        s = Session(program, server, window, side, behaviour)
        brew(s)
        quest_log(s)
        summon(s)
        lost_connection(s)
        winedriver.close_cleanly(program, window, server)


def main():
    args = winedriver.scratch_args()
    check_quests(args)
    print("quests: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
