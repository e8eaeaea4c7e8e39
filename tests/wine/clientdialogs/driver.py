#!/usr/bin/env python3
"""The client's dialogs under Wine, played like a player against the fake
login and game server with the chat, world, side-windows and character
behaviours and a welcome for a new player.

On the login screen "Options", "Graphics" and "OpenGL" switch the back end
(no fallback question; the backdrop is drawn again), "Close"; "About" opens
its box and Enter closes it. The player logs in with the demo account and
enters. The welcome holds the walking back: a held Down sends no step until
"Close & Start Playing", after which Down steps. The player walks onto the
lever's tile, where a Shift+right click and "Change Outfit" open the outfit
dialog, dragged aside. With the game screen live and the outfit dialog open,
Ctrl+O, "Graphics", then "OpenGL", "DirectDraw" and "Direct3D" in turn: after
each the player's figure and the minimap are drawn as before, and the outfit
dialog's preview shows the outfit's colours again (its pictures go with the
old back end and are made anew). The outfit dialog's "Close"; "30" into the
frame limit, "Close". Ctrl+P asks for the channel list, whose answer fills
the dialog; "Ann" and Enter open a private channel. Ctrl+R, "hello" and
"Report" send the report. The chat area's ignore list button, "Mallory" and
"Add" list her; of a line from her and one from Ann only Ann's shows, and
"Close" leaves the list off the disk. The server completes the tutorial: the
left picture opens the fan sites' page. In a fight, closing the window asks; "Logout"
logs out, which writes the ignore list into the options file; on the login
screen a close ends the program with 0. The options file keeps the back end,
the frame limit and the welcome's mark.

The program is the client with a main loop that prints its back end, the
open dialogs and where they are (ClientDialogsProbeWin32.cpp); every wait is
for a condition with a time-out.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import actions  # noqa: E402
import character  # noqa: E402
import chat  # noqa: E402
import fakeserver as fs  # noqa: E402
import sidewindows  # noqa: E402
import winedriver  # noqa: E402
import world  # noqa: E402
from winedriver import Failure, Report, find_window, frames_after, options_folder, stage, xdotool  # noqa: E402

OPTIONS, ABOUT, CHARACTERS, WELCOME, OPEN_CHANNEL, REPORT, TUTORIAL, QUIT = 172, 5, 20, 212, 59, 115, 321, 89
IGNORE_LIST, IGNORE_NAME = 140, 143
OUTFIT_DIALOG, REQUEST_OUTFITS = 27, 0x32
# Where the outfit dialog is dragged: clear of the figure, the minimap and
# the options dialog at the right.
OUTFIT_AT = (10, 290)
IGNORED = "Mallory"
OPENGL, DIRECT3D, DIRECTDRAW = 1, 2, 3
STEPS = range(0x04, 0x0C)
FANSITES = "http://www.velmora-online.example/library/fansites"


def prepare(args, login_port):
    return winedriver.prepare_client(
        args.scratch, args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nengine=direct3d\r\n")


def rect(value):
    return tuple(int(v) for v in value.split(",")[:4])


def parse_state(line):
    state = dict(re.findall(r"(\w+)=(\S*)", line))
    state["dialogs"] = {int(v) for v in state.get("dialogs", "").split(",") if v}
    return state


# The player's look (world.PLAYER_OUTFIT) on the generated figure
# (tools/gfxgen/WorldSprites.cpp): the shirt takes the body colour and the
# trousers the legs colour of the palette (world/OutfitPalette.cpp), each
# shaded by its part's grey.
PALETTE = {12: (180, 70, 70), 34: (160, 190, 100)}
SHIRT_GREY, TROUSERS_GREY = 170, 140


def shaded(colour, grey):
    return tuple(c * grey // 255 for c in colour)


OUTFIT_COLOURS = {"shirt": shaded(PALETTE[world.PLAYER_OUTFIT[6]], SHIRT_GREY),
                  "trousers": shaded(PALETTE[world.PLAYER_OUTFIT[7]], TROUSERS_GREY)}
# The least of each colour four pictures of the figure show, scaled up half
# again.
OUTFIT_PIXELS = {"shirt": 150, "trousers": 80}


def grass(colour):
    """The greens of the world's grass (tools/gfxgen/WorldSprites.cpp)."""
    r, g, b = colour
    return g > r + 30 and g > b + 40


def near(a, b, tolerance=24):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def matching(before, after):
    """The share of pixels that look as before."""
    return sum(near(a, b) for a, b in zip(before, after)) / max(1, len(before))


def outfit_pixels(pixels):
    """How many pixels show each of the outfit's colours."""
    return {part: sum(near(p, colour) for p in pixels) for part, colour in OUTFIT_COLOURS.items()}


def keep_shot(shot, folder, name):
    """A screenshot kept for the one who looks into a failure."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (shot.width, shot.height) + shot.pixels)


class Session:
    def __init__(self, program, server, window):
        self.program = program
        self.server = server
        self.window = window

    # --- what the program says ---

    def state(self):
        line = next((l for l in reversed(self.program.lines) if l.startswith("state ")), None)
        return parse_state(line) if line else {"dialogs": set()}

    def wait_state(self, predicate, what, timeout=30):
        """The program prints its state when it changes: the latest line is the state now."""
        state = self.state()
        if predicate(state):
            return state
        line = self.program.wait_line(lambda l: l.startswith("state ") and predicate(parse_state(l)), timeout, what)
        return parse_state(line)

    def wait_open(self, dialog, what, timeout=30):
        return self.wait_state(lambda st: dialog in st["dialogs"], what, timeout)

    def wait_closed(self, dialog, what, timeout=30):
        return self.wait_state(lambda st: dialog not in st["dialogs"], what, timeout)

    def mark(self):
        """A place in the program's output: what it says from now on."""
        return len(self.program.lines)

    def wait_said(self, predicate, since, what, timeout=30):
        for line in self.program.lines[since:]:
            if predicate(line):
                return line
        return self.program.wait_line(predicate, timeout, what)

    def engine_after(self, since, kind, what):
        """Waits for a back end made after the mark `since`; it must be of the kind."""
        made = max([int(l.split()[2]) for l in self.program.lines[:since] if l.startswith("engine ")], default=0)
        line = self.wait_said(lambda l: l.startswith("engine ") and int(l.split()[2]) > made, since, what, 60)
        if int(line.split()[1]) != kind:
            raise Failure(f"{what}: the client runs on {line}, not engine {kind}")
        return line

    def no_boxes(self, since, what):
        boxes = [l for l in self.program.lines[since:] if l.startswith("platform box")]
        if boxes:
            raise Failure(f"{what}: the client asked {boxes}")

    # --- what the player does ---

    def focus(self):
        xdotool("windowfocus", "--sync", self.window)

    def move(self, x, y):
        xdotool("mousemove", "--window", self.window, x, y)

    def click(self, name, state=None):
        r = rect((state or self.state())[name])
        self.move(r[0] + r[2] // 2, r[1] + r[3] // 2)
        xdotool("click", 1)

    def type(self, text):
        self.focus()
        xdotool("type", "--delay", "60", text)

    def key(self, *keys):
        self.focus()
        xdotool("key", *keys)

    def hold(self, key, until):
        """A key held down until `until()` returns (the client reads held
        keys once per frame)."""
        self.focus()
        xdotool("keydown", key)
        try:
            until()
        finally:
            xdotool("keyup", key)

    def ctrl(self, letter):
        """Ctrl held over a few frames: the client reads it when its main loop
        takes the key."""
        self.hold("ctrl", lambda: (xdotool("key", letter), frames_after(self.program, 2)))

    def drag(self, start, end):
        self.move(*start)
        xdotool("mousedown", 1)
        try:
            for step in range(1, 5):
                self.move(start[0] + (end[0] - start[0]) * step // 4, start[1] + (end[1] - start[1]) * step // 4)
            frames_after(self.program, 2)
        finally:
            xdotool("mouseup", 1)

    # --- the server ---

    def requests(self, opcode):
        return self.server.requests_of(opcode, "game")

    def steps(self):
        return sum(len(self.requests(op)) for op in STEPS)

    def settle(self, value):
        """Everything sent before now has reached the server: a ping's pong came back."""
        self.server.send_ping(value)
        winedriver.wait_server(self.server, lambda: any(r.fields.get("value") == value
                                                        for r in self.requests(fs.CLIENT_PONG)), "a pong")

    def wait_request(self, opcode, raw, what, after=0, timeout=20):
        def sent():
            return any(r.raw == raw for r in self.requests(opcode)[after:])
        winedriver.wait_server(self.server, sent, what, timeout, show_requests=True)

    # --- pictures ---

    def shot(self):
        frames_after(self.program, 3)
        return winedriver.Shot("root")

    def pixels(self, shot, r):
        ox, oy = (int(v) for v in self.state()["origin"].split(","))
        x, y, w, h = r
        return [shot.at(ox + px, oy + py) for py in range(y, y + h) for px in range(x, x + w)]


def login_screen(s, report):
    st = s.wait_state(lambda st: "options" in st and "account" in st, "the login screen", 90)
    s.engine_after(0, DIRECT3D, "the back end at start")

    # "Options", "Graphics", "OpenGL": the switch waits for the main loop's
    # safe point, and OpenGL needs no fallback.
    stage("login screen: Options, Graphics, OpenGL")
    s.click("options", st)
    st = s.wait_state(lambda st: OPTIONS in st["dialogs"] and "graphics" in st, "the options dialog")
    s.click("graphics", st)
    st = s.wait_state(lambda st: "ogl" in st, "the Graphics page")
    since = s.mark()
    s.click("ogl", st)
    s.engine_after(since, OPENGL, "OpenGL on the login screen")
    s.no_boxes(since, "OpenGL on the login screen")
    shot = s.shot()
    sky = s.pixels(shot, (20, 20, 1, 1)) + s.pixels(shot, (500, 30, 1, 1)) + s.pixels(shot, (980, 20, 1, 1))
    report.check(all(b >= r + 8 for r, _, b in sky), f"the backdrop's night sky is drawn under OpenGL ({sky})")
    s.click("oclose")
    s.wait_closed(OPTIONS, "the options dialog to close")

    stage("login screen: About, Enter")
    s.click("about")
    s.wait_open(ABOUT, "the about box")
    s.key("Return")
    st = s.wait_closed(ABOUT, "Enter to close the about box")
    report.check(CHARACTERS not in st["dialogs"], "that Enter did not log in")

    # The demo account, as a player types it.
    stage("login screen: the demo account")
    s.click("account", st)
    s.type(fs.DEMO_ACCOUNT)
    s.key("Tab")
    s.type(fs.DEMO_PASSWORD)
    s.key("Return")
    s.program.wait_line(lambda l: l == "screen game", 60, "the game screen")


def welcome(s, report):
    stage("game: the welcome holds the walking back")
    st = s.wait_state(lambda st: WELCOME in st["dialogs"] and st.get("welcome") == "1" and "player" in st,
                      "the welcome dialog")
    before = s.steps()
    s.hold("Down", lambda: frames_after(s.program, 3))
    s.settle(0x7101)
    report.check(s.steps() == before, "a held Down sends no step")

    s.click("wstart", st)
    st = s.wait_state(lambda st: WELCOME not in st["dialogs"] and st.get("welcome") == "0",
                      "the welcome dismissed")
    report.check(st.get("focus") == "25", f"the chat input has the keys ({st.get('focus')})")
    # Held until the server sees the step, which takes longer than that: one step.
    s.hold("Down", lambda: winedriver.wait_server(s.server, lambda: s.steps() > before, "a step after the welcome"))

    def south_at_rest(st):
        fields = st.get("player", "").split(",")
        return len(fields) == 7 and fields[4] == "120" and int(fields[5]) > 120 and fields[6] == "1"
    s.wait_state(south_at_rest, "the player south of the start, at rest")


def overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def open_outfit(s, report):
    """The outfit dialog opened as the player does it, then dragged where it
    hides neither the figure nor the minimap."""
    stage("game: onto the lever's tile, Shift+right click, Change Outfit")
    tx, ty = actions.USABLE_AT

    def lever(st):
        x, y, tw, th, px, py = (int(v) for v in st["player"].split(",")[:6])
        return x + (tx - px) * tw + tw // 2, y + (ty - py) * th + th // 2

    s.move(*lever(s.state()))
    xdotool("click", 1)

    def on_lever(st):
        fields = st.get("player", "").split(",")
        return len(fields) == 7 and fields[4:] == [str(tx), str(ty), "1"]
    st = s.wait_state(on_lever, "the player at rest on the lever's tile")
    s.move(*lever(st))
    s.hold("shift", lambda: xdotool("click", 3))
    st = s.wait_state(lambda st: "changeoutfit" in st, 'the menu row "Change Outfit"')
    before = len(s.requests(REQUEST_OUTFITS))
    s.click("changeoutfit", st)
    winedriver.wait_server(s.server, lambda: len(s.requests(REQUEST_OUTFITS)) > before,
                           "the outfit-options request 32")
    st = s.wait_state(lambda st: OUTFIT_DIALOG in st["dialogs"] and "preview" in st, "the outfit dialog")

    stage("game: the outfit dialog dragged aside")
    dx, dy, _, _ = rect(st["outfit"])
    s.drag((dx + 60, dy + 8), (OUTFIT_AT[0] + 60, OUTFIT_AT[1] + 8))
    st = s.wait_state(lambda st: "outfit" in st and rect(st["outfit"])[:2] != (dx, dy), "the outfit dialog moved")
    for name in ("player", "minimap"):
        report.check(not overlap(rect(st["outfit"]), rect(st[name])),
                     f"the outfit dialog ({st['outfit']}) leaves the {name} ({st[name]}) in sight")


def engines(s, report, keep):
    stage("game: the reference picture")
    s.move(600, 640)  # over the chat, away from the figure
    st = s.state()
    ref_shot = s.shot()
    player = rect(st["player"])
    mx, my, mw, mh = rect(st["minimap"])
    minimap = (mx + 10, my + 25, mw - 20, mh - 35)
    preview = rect(st["preview"])
    ref_player, ref_minimap = s.pixels(ref_shot, player), s.pixels(ref_shot, minimap)
    figure = sum(not grass(p) for p in ref_player)
    report.check(figure >= 40, f"the player's figure shows in its square ({figure} pixels)")
    lit = sum(sum(p) > 150 for p in ref_minimap)
    report.check(lit >= 20, f"the minimap shows the explored land ({lit} pixels)")
    ref_look = outfit_pixels(s.pixels(ref_shot, preview))
    report.check(all(n >= OUTFIT_PIXELS[part] for part, n in ref_look.items()),
                 f"the outfit dialog's preview shows the outfit's colours ({ref_look})")

    stage("game: Ctrl+O, Graphics, and the dialog dragged aside")
    s.ctrl("o")
    st = s.wait_state(lambda st: OPTIONS in st["dialogs"] and "graphics" in st, "the options dialog in the game")
    s.click("graphics", st)
    st = s.wait_state(lambda st: "ogl" in st, "the Graphics page")
    dx, dy, _, _ = rect(st["odialog"])
    s.drag((dx + 60, dy + 8), (640 + 60, 330 + 8))
    s.wait_state(lambda st: rect(st["odialog"])[0] > 600, "the options dialog at the right")

    for name, button, kind in (("OpenGL", "ogl", OPENGL), ("DirectDraw", "ddraw", DIRECTDRAW),
                               ("Direct3D 9", "d3d", DIRECT3D)):
        stage(f"game: {name}")
        since = s.mark()
        s.click(button)
        s.engine_after(since, kind, f"{name} in the game")
        s.no_boxes(since, f"{name} in the game")
        # Leaving OpenGL the client makes itself a new window.
        s.window = find_window("^Velmora Online", 30, s.program.process)
        shot = s.shot()
        now = s.pixels(shot, player)
        figure = sum(not grass(p) for p in now)
        alike = matching(ref_player, now)
        report.check(figure >= 40 and alike >= 0.8,
                     f"{name}: the player's figure is drawn ({figure} pixels, {alike:.0%} as before)")
        alike = matching(ref_minimap, s.pixels(shot, minimap))
        report.check(alike >= 0.85, f"{name}: the minimap is drawn ({alike:.0%} as before)")
        # The previews of the old back end were freed with it: these are new.
        st = s.state()
        report.check(OUTFIT_DIALOG in st["dialogs"] and rect(st["preview"]) == preview,
                     f"{name}: the outfit dialog stays open where it was ({st.get('preview')})")
        look = outfit_pixels(s.pixels(shot, preview))
        report.check(all(n >= 0.75 * ref_look[part] and n >= OUTFIT_PIXELS[part] for part, n in look.items()),
                     f"{name}: the outfit dialog's preview shows the outfit's colours ({look}, before {ref_look})")
        if report.failures:
            keep_shot(shot, keep, f"{button}.ppm")
            keep_shot(ref_shot, keep, "reference.ppm")

    stage("game: the outfit dialog's Close")
    s.click("outclose")
    s.wait_closed(OUTFIT_DIALOG, "the outfit dialog to close")

    stage("game: the frame limit 30, Close")
    fx, fy, fw, fh = rect(s.state()["fps"])
    s.move(fx + fw - 5, fy + fh // 2)
    xdotool("click", 1)
    s.wait_state(lambda st: st.get("focus") == "175", "the frame limit box focused")
    s.key("BackSpace", "BackSpace", "BackSpace", "BackSpace")
    s.type("30")
    frames_after(s.program, 2)
    s.click("oclose")
    s.wait_closed(OPTIONS, "the options dialog to close")


def channels_and_report(s, report):
    stage("game: Ctrl+P, the channel list, Ann")
    before = len(s.requests(0x1C))
    s.ctrl("p")
    s.wait_open(OPEN_CHANNEL, "the open-channel dialog")
    winedriver.wait_server(s.server, lambda: len(s.requests(0x1C)) > before, "the channel list request 0x1C")
    report.check([r.raw for r in s.requests(0x1C)[before:]] == [b"\x1c"], "one request 0x1C")
    s.wait_state(lambda st: st.get("channels") == "Trade,Help,", "the channels in the list")
    s.wait_state(lambda st: st.get("focus") == "62", "the name box focused")
    s.type("Ann")
    s.key("Return")
    s.wait_request(0x15, bytes.fromhex("15 01 03 00 41 6E 6E"), "the private channel with Ann")
    s.wait_closed(OPEN_CHANNEL, "the open-channel dialog to close")

    stage("game: Ctrl+R, hello, Report")
    s.ctrl("r")
    st = s.wait_state(lambda st: REPORT in st["dialogs"] and st.get("focus") == "118", "the report dialog")
    s.type("hello")
    frames_after(s.program, 2)
    s.click("rsend", st)
    s.wait_request(0x20, bytes.fromhex("20 05 00 68 65 6C 6C 6F"), "the report")
    s.wait_closed(REPORT, "the report dialog to close")


def chat_lines(s, since):
    """(pane, line) of every chat line the program said after the mark."""
    return [tuple(l[len("chat "):].split("|", 1)) for l in s.program.lines[since:] if l.startswith("chat ")]


def other_ignore_keys():
    """The [other] section of velmora.ini as it is on the disk now."""
    return winedriver.read_ini_section(os.path.join(options_folder(), "velmora.ini"), "other")[1]


def ignore_list(s, report):
    stage("game: the ignore list, Mallory, Add")
    s.click("ignore", s.wait_state(lambda st: "ignore" in st, "the ignore list's button in the chat area"))
    st = s.wait_state(lambda st: IGNORE_LIST in st["dialogs"] and "iname" in st, "the Ignore List dialog")
    s.click("iname", st)
    s.wait_state(lambda st: st.get("focus") == str(IGNORE_NAME), "the name box focused")
    s.type(IGNORED)
    frames_after(s.program, 2)
    s.click("iadd")
    s.wait_state(lambda st: st.get("ignored") == IGNORED + ",", f"{IGNORED} in the list")

    stage("game: Mallory's chat dropped, Ann's shown")
    since = s.mark()
    # In this order: once Ann's line shows, Mallory's has been read.
    chat.Chat.line(s.server, IGNORED.encode(), b"Main", chat.SAY, b"words to drop")
    chat.Chat.line(s.server, b"Ann", b"Main", chat.SAY, b"words to show")
    s.wait_said(lambda l: l.startswith("chat ") and "words to show" in l, since, "Ann's line in the chat")
    lines = chat_lines(s, since)
    report.check(not [l for l in lines if "words to drop" in l[1]], f"{IGNORED}'s line is dropped ({lines})")

    stage("game: Close keeps the list off the disk")
    s.click("iclose")
    s.wait_closed(IGNORE_LIST, "the Ignore List dialog to close")
    saved = other_ignore_keys().get("ignorelist")
    report.check(saved is None, f"Close leaves ignorelist out of velmora.ini ({saved})")


def tutorial(s, report):
    stage("game: the tutorial completed, the fan sites")
    chat.Chat.tutorial(s.server)
    st = s.wait_state(lambda st: TUTORIAL in st["dialogs"] and "fansites" in st, "the Congratulations! dialog")
    since = s.mark()
    s.click("fansites", st)
    s.wait_said(lambda l: l.startswith("shell "), since, "the fan sites' page")
    opened = [l for l in s.program.lines[since:] if l.startswith("shell ")]
    report.check(opened == [f"shell {FANSITES}"], f"the left picture opens the fan sites' page ({opened})")
    s.click("tclose")
    s.wait_closed(TUTORIAL, "the tutorial's dialog to close")


def quit_and_logout(s):
    stage("game: in a fight, a close asks; Logout")
    chat.Chat.conditions(s.server, [chat.IN_FIGHT])
    s.settle(0x7102)
    winedriver.request_close(s.window)
    st = s.wait_open(QUIT, "the quit question")
    s.click("qlogout", st)
    s.wait_request(fs.CLIENT_LOGOUT, b"\x13", "the logout 0x13")
    s.program.wait_line(lambda l: l == "screen menu", 30, "the login screen after the logout")


def check_client_dialogs(args):
    report = Report()
    stamp = fs.read_gfx_stamp(args.gfx)
    server = fs.FakeServer(gfx_stamp=stamp, welcome=1, log=lambda text: None,
                           behaviours=[chat.Chat(), actions.ActionWorld(login_burst=False), sidewindows.SideWindows(),
                                       character.Character()])
    page = fs.StatusPage("Test server.")
    with server, page, winedriver.client_run(args, page.port, prepare(args, server.login_port)) as program:
        window = find_window("^Velmora Online", 90, program.process)
        s = Session(program, server, window)
        login_screen(s, report)
        welcome(s, report)
        open_outfit(s, report)
        engines(s, report, os.path.join(os.path.dirname(args.scratch), "failed-shots"))
        channels_and_report(s, report)
        ignore_list(s, report)
        tutorial(s, report)
        quit_and_logout(s)
        saved = other_ignore_keys().get("ignorelist")
        report.check(saved == IGNORED, f"the logout writes ignorelist={IGNORED} into velmora.ini ({saved})")

        # Back on the login screen a close ends the program at once.
        s.wait_state(lambda st: "options" in st, "the login screen's controls")
        winedriver.request_close(s.window)
        code = program.wait_exit(30)
        report.check(code == 0, f"the program ended with 0 ({code})")
        program.read_rest(10, until=lambda l: l == "ended")
        winedriver.check_no_boxes(program)
        _, saved = winedriver.read_ini_section(os.path.join(options_folder(), "velmora.ini"), "options")
        for key, wanted in (("engine", "direct3d"), ("fpslimit", "30"), ("viewedtutorialinfo", "true")):
            report.check(saved.get(key) == wanted, f"velmora.ini keeps {key}={wanted} ({saved.get(key)})")
        report.check(not server.failures, f"the fake server decoded every request ({server.failures})")
    if report.failures:
        raise Failure(f"{len(report.failures)} checks failed: {report.failures}")


def main():
    args = winedriver.scratch_args()
    check_client_dialogs(args)
    print("client dialogs: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
