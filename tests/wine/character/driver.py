#!/usr/bin/env python3
"""The character dialogs under Wine, played like a player against the fake
game server's character behaviour (tests/fakeserver/character.py) beside its
world of actions and side windows.

The client logs in by itself and enters the game (CharacterProbeWin32.cpp,
which prints a "state" line whenever the dialogs change). Then:
1. a right click on the hotkey slot F3 asks for the action list (0x22); the
   answer (0x26) opens "Select Action"; "Support Spells", its second row,
   "Bob" typed in the target box and Enter save it: velmora.ini keeps
   spells1 F3 = 1420, F3type = 0, F3param = Bob when the client has ended;
2. the Actions window's "Spells" asks for the library (0x31); the answer
   (0x32) opens "Spell Library", whose "Mage Spells" lists the mage spells;
3. the player walks onto the tile of the lever and the chest; a Shift+right
   click there opens the menu whose row "Change Outfit" asks for the options
   (0x32); the answer (0x33) opens "Character Outfit" on the player's look;
   the next-outfit arrow, "Body", a swatch and "Save" send the outfit (0x0C)
   with the nine values of the new selection;
4. Ctrl+T opens "Talents"; four plus clicks on Durability leave every plus
   disabled, and "Save" sends 0x33 with 4 and six zeros; the server's
   statistics leave no unused points. Ctrl+T again, "Reset used points" and
   OK send 0x34; the server's statistics and chat line enable the plus
   buttons of the open dialog.
The fake server's strict decoder records no fault, the client shows no
message box and sends no chat line.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import actions  # noqa: E402
import character  # noqa: E402
import fakeserver as fs  # noqa: E402
import sidewindows  # noqa: E402
import winedriver  # noqa: E402
import world  # noqa: E402
from winedriver import Failure, options_folder, xdotool  # noqa: E402

OUTFIT, CHAT, ACTION_LIST, REQUEST_SPELLS, REQUEST_OUTFITS, TALENTS, RESET_TALENTS = (
    0x0C, 0x03, 0x22, 0x31, 0x32, 0x33, 0x34)
EDITOR, LIBRARY, TALENTS_DIALOG, QUESTION, OUTFIT_DIALOG = "138", "228", "241", "255", "27"
SUPPORT_ROWS = "Light_Healing|Ice_Lance|"
# The swatch of body colour 26: column 3, the rows 2 and 3 meet at y + 200
# and the lower index wins.
SWATCH = (95, 200)
BODY_COLOUR = 26


def rect(value):
    return tuple(int(v) for v in value.split(","))


def centre(r):
    return r[0] + r[2] // 2, r[1] + r[3] // 2


def parse_state(line):
    state = dict(re.findall(r"(\w+)=(\S*)", line))
    state["open"] = set(filter(None, state.get("open", "").split(",")))
    menu = {}
    if state.get("menu", "-") != "-":
        box, _, entries = state["menu"].partition(":")
        state["menu_rect"] = rect(box)
        for entry in filter(None, entries.split("|")):
            label, _, y = entry.rpartition("@")
            menu[label] = int(y)
    state["menu"] = menu
    return state


class Session(winedriver.StateSession):
    def move(self, x, y):
        xdotool("mousemove", "--window", self.window, x, y)

    def click(self, x, y, button=1, modifiers=()):
        self.move(x, y)
        for name in modifiers:
            xdotool("keydown", name)
        try:
            xdotool("click", button)
        finally:
            for name in reversed(modifiers):
                xdotool("keyup", name)

    def click_rect(self, name):
        self.click(*centre(rect(self.state[name])))

    def tile(self, tx, ty):
        ox, oy, tw, cx, cy = rect(self.state["field"])
        return ox + (tx - cx) * tw + tw // 2, oy + (ty - cy) * tw + tw // 2

    def ctrl_key(self, key, predicate, what):
        """Ctrl held until the client has acted on the key (it reads the held
        Ctrl when it handles the key)."""
        xdotool("windowfocus", "--sync", self.window)
        xdotool("keydown", "ctrl")
        try:
            xdotool("key", key)
            return self.wait_state(predicate, what)
        finally:
            xdotool("keyup", "ctrl")

    def wait_request(self, opcode, what, after=0, fields=None):
        def sent():
            return [r.fields for r in self.requests(opcode)[after:]
                    if fields is None or all(r.fields.get(k) == v for k, v in fields.items())]
        winedriver.wait_server(self.server, sent, what, show_requests=True)
        return sent()[0]


def edit_hotkey(s):
    winedriver.stage("the hotkey editor")
    st = s.wait_state(lambda st: st.get("player") == "120,120,7" and st["F3"] != "0,0", "the player and the bar")
    fx, fy = rect(st["F3"])
    before = len(s.requests(ACTION_LIST))
    s.click(fx + 17, fy + 17, button=3)
    s.wait_request(ACTION_LIST, "the action-list request 22", after=before)
    st = s.wait_state(lambda st: EDITOR in st["open"], 'the "Select Action" dialog')
    s.click_rect("hktab136")
    st = s.wait_state(lambda st: st["hkcat"] == "1" and st["hkrows"] == SUPPORT_ROWS, "the support spells")
    x, y, _, _ = rect(st["hklist"])
    s.click(x + 60, y + 1 + 50 + 25)
    s.wait_state(lambda st: st["hksel"] == "1", "the second row selected")
    s.click_rect("hktarget")
    s.wait_state(lambda st: st["hkfocus"] == "1", "the focus in the target box")
    xdotool("type", "--delay", "40", "Bob")
    s.wait_state(lambda st: st["hktext"] == "Bob", 'the target "Bob"')
    xdotool("key", "Return")
    s.wait_state(lambda st: EDITOR not in st["open"], "the editor closed by Enter")


def spell_library(s):
    winedriver.stage("the spell library")
    before = len(s.requests(REQUEST_SPELLS))
    s.click_rect("spells")
    s.wait_request(REQUEST_SPELLS, "the spell-library request 31", after=before)
    s.wait_state(lambda st: LIBRARY in st["open"], 'the "Spell Library" dialog')
    s.click_rect("libtab233")
    mage = {name.decode().replace(" ", "_") for _, vocation, name, *_ in character.LIBRARY
            if vocation == character.MAGE}
    s.wait_state(lambda st: st["libtab"] == "3" and set(filter(None, st["librows"].split("|"))) == mage,
                 f"the mage spells {sorted(mage)}")
    s.click_rect("libclose")
    s.wait_state(lambda st: LIBRARY not in st["open"], "the library closed")


def outfit(s):
    winedriver.stage("the outfit dialog")
    tx, ty = actions.USABLE_AT
    s.click(*s.tile(tx, ty))
    s.wait_state(lambda st: st.get("player") == f"{tx},{ty},7", "the player on the lever's tile", timeout=30)
    s.click(*s.tile(tx, ty), button=3, modifiers=("shift",))
    st = s.wait_state(lambda st: "Change_Outfit" in st["menu"], 'the menu row "Change Outfit"')
    before = len(s.requests(REQUEST_OUTFITS))
    s.click(st["menu_rect"][0] + 60, st["menu"]["Change_Outfit"])
    s.wait_request(REQUEST_OUTFITS, "the outfit-options request 32", after=before)
    look = ",".join(str(v) for v in world.PLAYER_OUTFIT)
    s.wait_state(lambda st: OUTFIT_DIALOG in st["open"] and st["outfit"] == look,
                 '"Character Outfit" on the player\'s look')
    s.click_rect("onext")
    second = str(character.OUTFITS[1]["id"])
    s.wait_state(lambda st: st["outfit"].split(",")[0] == second, f"outfit {second}")
    s.click_rect("otab32")
    s.wait_state(lambda st: st["otarget"] == "body", "the body colour as the palette's target")
    x, y, _, _ = rect(s.state["odialog"])
    s.click(x + SWATCH[0], y + SWATCH[1])
    st = s.wait_state(lambda st: st["outfit"].split(",")[6] == str(BODY_COLOUR), f"body colour {BODY_COLOUR}")
    chosen = [int(v) for v in st["outfit"].split(",")]
    before = len(s.requests(OUTFIT))
    s.click_rect("osave")
    sent = s.wait_request(OUTFIT, "the outfit request 0C", after=before)
    parts = [sent[f"part{k}"] for k in range(9)]
    if parts != chosen:
        raise Failure(f"the outfit request carries {parts}, not the selection {chosen}")
    s.wait_state(lambda st: OUTFIT_DIALOG not in st["open"], "the outfit dialog closed by Save")


def talents(s):
    winedriver.stage("talents")
    unused = sidewindows.STATS["unused_points"]
    s.ctrl_key("t", lambda st: TALENTS_DIALOG in st["open"] and st["tunused"] == str(unused), '"Talents" by Ctrl+T')
    for spent in range(1, unused + 1):
        s.click_rect("tplus0")
        s.wait_state(lambda st: st["tpending"].startswith(f"{spent},"), f"{spent} point(s) on Durability")
    s.wait_state(lambda st: st["tplus"] == "0000000", "every plus disabled")
    before = len(s.requests(TALENTS))
    s.click_rect("tsave")
    sent = s.wait_request(TALENTS, "the talents request 33", after=before)
    wanted = dict(zip(character.TALENT_NAMES, [unused, 0, 0, 0, 0, 0, 0]))
    if sent != wanted:
        raise Failure(f"the talents request carries {sent}, not {wanted}")
    s.wait_state(lambda st: TALENTS_DIALOG not in st["open"] and st["sunused"] == "0",
                 "the dialog closed and the server's statistics without unused points")

    s.ctrl_key("t", lambda st: TALENTS_DIALOG in st["open"], '"Talents" again')
    s.wait_state(lambda st: st["tunused"] == "0" and st["tplus"] == "0000000", "no point to spend")
    s.click_rect("treset")
    s.wait_state(lambda st: QUESTION in st["open"], "the reset question")
    before = len(s.requests(RESET_TALENTS))
    s.click_rect("ok")
    s.wait_request(RESET_TALENTS, "the reset request 34", after=before)
    returned = unused + sum(sidewindows.STATS["talents"])
    s.wait_state(lambda st: TALENTS_DIALOG in st["open"] and st["tunused"] == str(returned) and
                 st["tplus"] == "1111111" and st["tminus"] == "0000000",
                 f"the open dialog refreshed with {returned} points to spend")


def check_character(args):
    stamp = fs.read_gfx_stamp(args.gfx)
    server = fs.FakeServer(gfx_stamp=stamp, behaviours=[character.Character(), actions.ActionWorld(login_burst=False),
                                                        sidewindows.SideWindows()], log=lambda text: None)
    page = fs.StatusPage("Test server.")
    with server, page:
        work = winedriver.prepare_client(
            args.scratch, args.gfx, server.login_port,
            b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nfpslimit=60\r\n")
        with winedriver.client_run(args, page.port, work) as program:
            window = winedriver.game_window(program)
            s = Session(program, server, window, parse_state)
            edit_hotkey(s)
            spell_library(s)
            outfit(s)
            talents(s)

            winedriver.request_close(window)
            code = program.wait_exit(30)
            if code != 0:
                raise Failure(f"the program ended with {code}")
            winedriver.check_no_boxes(program)
            _, values = winedriver.read_ini_section(os.path.join(options_folder(), "velmora.ini"), "spells1")
            saved = (values.get("F3"), values.get("F3type"), values.get("F3param"))
            if saved != ("1420", "0", "Bob"):
                raise Failure(f"velmora.ini keeps spells1 F3, F3type, F3param {saved}, not 1420, 0, Bob")
            if s.requests(CHAT):
                raise Failure(f"a chat line went out: {[r.fields for r in s.requests(CHAT)]}")
            if server.failures:
                raise Failure(f"the fake server found faults: {server.failures}")


def main():
    args = winedriver.scratch_args()
    check_character(args)
    print("character: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
