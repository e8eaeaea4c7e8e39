#!/usr/bin/env python3
"""The hotkey bar, the mouse actions on the game screen, the buff timers and
the experience window under Wine, played with xdotool against the fake
server's world of actions (tests/fakeserver/actions.py).

The client logs in by itself and enters the game (HotkeysProbeWin32.cpp,
which prints what changes). Then, like a player:
- the server's 20-second buff of the login burst is drawn at the view's top
  right, and about 5 s later the chat says it is about to expire;
- the bar's grip is dragged to make it 60 thick, then the bar is dragged to
  the other edge;
- F1 casts the default spell (0x23 1418, ""); the server's shading (0x27)
  and cooldown (0x35) darken the slot and show the seconds, which count down;
- a right click on slot F2 asks for the action list (0x22) for that slot;
  the answer opens the editor, whose "Cancel" closes it again;
- a click on the experience header opens its panel;
- a right click on the NPC attacks it (0x12 id, 1); a Shift-click follows it
  (0x12 1, id); a Ctrl-click on a tile looks at it (0x11);
- a Ctrl-drag moves the stack of 5 to the next tile (0x0E count 5), a
  Shift-drag moves one piece back (count 1);
- a right click on the tile with a lever and a chest opens menu 188; its
  first row uses that thing (0x0F);
- a click five tiles north walks there (0x1A with x·3, y·2, floor·4 and the
  path); the server blocks the way after two steps (0x2e) and the client
  sends a new path from where it stands; Escape stops (the empty path at
  (0, 0, 0) and the targets 0, 0);
- closing the window leaves "spellboxsize" and "spellboxposition" of the
  dragged bar in velmora.ini.
"""
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import actions  # noqa: E402
import fakeserver as fs  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure, find_window, options_folder, wait_server, wait_until, xdotool  # noqa: E402

MOVE, USE, LOOK, TARGETS, WALK, ACTION_LIST, CAST = 0x0E, 0x0F, 0x11, 0x12, 0x1A, 0x22, 0x23
THICKNESS = 60
NPC = (124, 124)
LOOKED_AT = (121, 122)
STACK_TARGET = (actions.STACK_AT[0] - 1, actions.STACK_AT[1])
WALK_GOAL = (120, 115)
BUFF_WARNING = "Haste is about to expire in 15 seconds."


class Game:
    """The running probe: its latest lines by kind and the screen geometry."""

    def __init__(self, program, window, server, world):
        self.program, self.window, self.server, self.world = program, window, server, world

    def drain(self):
        while True:
            try:
                if self.program.next_line(time.monotonic() + 0.01) is None:
                    return
            except Failure:
                return

    def latest(self, kind):
        self.drain()
        return next((l for l in reversed(self.program.lines) if l.split(" ", 1)[0] == kind), None)

    def state(self, kind, predicate, timeout, what):
        """The latest line of a kind once it meets the predicate (the probe
        prints a kind only when it changes, so the latest line is the state now)."""
        return wait_until(lambda: (lambda l: l if l is not None and predicate(l) else None)(self.latest(kind)),
                          timeout, what)

    def frames(self, count=3):
        """Waits until the probe has drawn `count` x 10 more passes."""
        start = len(self.program.lines)
        wait_until(lambda: self.latest("frames") is not None and
                   sum(1 for l in self.program.lines[start:] if l.startswith("frames ")) >= count, 30,
                   f"{count} frame reports")

    # -- geometry --

    def field(self):
        words = self.latest("field").split()
        return [int(w) for w in words[1:]]

    def screen(self, x, y):
        """A point of the client area on the screen."""
        ox, oy = self.field()[:2]
        return ox + x, oy + y

    def tile(self, tx, ty):
        ox, oy, vx, vy, tw, cx, cy, _ = self.field()
        return ox + vx + (tx - cx) * tw + tw // 2, oy + vy + (ty - cy) * tw + tw // 2

    def bar(self):
        words = self.latest("bar").split()
        side, x, y, w, h, thickness, slots = (int(v) for v in words[1:8])
        f1 = (int(words[9]), int(words[10]))
        f2 = (int(words[12]), int(words[13]))
        return dict(side=side, x=x, y=y, w=w, h=h, thickness=thickness, slots=slots, F1=f1, F2=f2)

    # -- input --

    def requests(self, opcode):
        return self.server.requests_of(opcode, "game")

    def wait_request(self, opcode, predicate, what, after=0):
        wait_server(self.server, lambda: any(predicate(r.fields) for r in self.requests(opcode)[after:]), what,
                    show_requests=True)
        return next(r.fields for r in self.requests(opcode)[after:] if predicate(r.fields))

    def click(self, point, button=1, modifiers=(), until=None, what=""):
        """A click at a screen point with modifiers held until `until()` holds."""
        winedriver.move_pointer(*point)
        for name in modifiers:
            xdotool("keydown", name)
        try:
            xdotool("click", button)
            if until:
                wait_until(until, 20, what)
        finally:
            for name in reversed(modifiers):
                xdotool("keyup", name)

    def drag(self, start, end, modifiers=(), until=None, what="", release=None):
        """Presses at start, moves to end and releases there, with modifiers
        held; `release()` (when given) must hold before the button goes up."""
        winedriver.move_pointer(*start)
        for name in modifiers:
            xdotool("keydown", name)
        try:
            xdotool("mousedown", 1)
            winedriver.move_pointer((start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
            winedriver.move_pointer(*end)
            if release:
                wait_until(release, 20, what + " before the release")
            xdotool("mouseup", 1)
            if until:
                wait_until(until, 20, what)
        finally:
            for name in reversed(modifiers):
                xdotool("keyup", name)

    def key(self, name, until, what):
        """A key held until the client acted on it (it polls held keys once a frame)."""
        xdotool("windowfocus", "--sync", self.window)
        xdotool("keydown", name)
        try:
            wait_until(until, 20, what)
        finally:
            xdotool("keyup", name)


def stage(text):
    print("..    " + text, flush=True)


def prepare(args, login_port):
    work = os.path.join(args.scratch, "hotkeys")
    winedriver.prepare_client(
        work, args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nfpslimit=60\r\n")
    return work


# --- pictures -------------------------------------------------------------------------


def shot(game, left, top, width, height):
    """The pixels of a screen rectangle, rows of (r, g, b)."""
    picture = winedriver.Shot("root")
    return [[picture.at(x, y) for x in range(left, left + width)] for y in range(top, top + height)]


def brightness(rows):
    pixels = [p for row in rows for p in row]
    return sum(sum(p) for p in pixels) / (3 * len(pixels))


def bright_pixels(rows):
    return sum(1 for row in rows for p in row if min(p) >= 150)


# --- the steps ------------------------------------------------------------------------


def check_buff(game):
    stage("the buff of the login burst")
    game.state("buffs", lambda l: l == "buffs Haste|", 60, "the buff")
    arrived = time.monotonic()
    game.frames(2)
    ox, oy, vx, vy, tw = game.field()[:5]
    x0, y0 = ox + vx + 17 * tw - 210, oy + vy + 10
    bar = shot(game, x0 + 4, y0 + 3, 40, 4)
    tinted = sum(1 for row in bar for r, g, b in row if b >= r + 40 and b >= 80)
    if tinted < len(bar) * len(bar[0]) * 3 // 4:
        subprocess.run(["import", "-silent", "-window", "root", os.path.join(game.scratch, "buff.png")])
        raise Failure(f"the buff's bar is not drawn at the view's top right ({bar[0][:4]})")
    line = game.program.wait_line(lambda l: l.startswith("chat ") and BUFF_WARNING in l, 30, "the buff warning")
    waited = time.monotonic() - arrived
    if waited < 4.0:
        raise Failure(f"the warning came {waited:.1f} s after the 20-s buff, not about 5 s ({line})")


def drag_bar(game):
    stage("the bar's grip and edge")
    bar = game.bar()
    side = bar["side"]
    x, y, w, h = bar["x"], bar["y"], bar["w"], bar["h"]
    vertical = side in (0, 1)
    # Along the bar: the gap between slots 1 and 2, where no slot box lies.
    along = (bar["F1"][1] + 37) if vertical else (bar["F1"][0] + 37)
    grip = {0: (x + w - 3, along), 1: (x + 2, along), 2: (along, y + h - 3), 3: (along, y + 2)}[side]
    pulled = {0: (x + THICKNESS, along), 1: (x + w - THICKNESS, along),
              2: (along, y + THICKNESS), 3: (along, y + h - THICKNESS)}[side]
    game.drag(game.screen(*grip), game.screen(*pulled),
              release=lambda: game.bar()["thickness"] == THICKNESS, what=f"the bar {THICKNESS} thick")

    bar = game.bar()
    x, y, w, h = bar["x"], bar["y"], bar["w"], bar["h"]
    # Four pixels inside the outer edge, between two slots.
    handle = {0: (x + 4, along), 1: (x + w - 5, along), 2: (along, y + 4), 3: (along, y + h - 5)}[side]
    ox, oy, vx, vy, tw = game.field()[:5]
    other = {0: 1, 1: 0, 2: 3, 3: 2}[side]
    far = {0: (vx + 15 * tw, along), 1: (vx + 2 * tw, along), 2: (along, vy + 11 * tw), 3: (along, vy + 2 * tw)}[side]
    game.drag(game.screen(*handle), game.screen(*far), release=lambda: game.bar()["side"] == other,
              what="the bar on the other edge")
    return other


def cast(game):
    stage("F1, its shading and cooldown")
    bar = game.bar()
    sx, sy = game.screen(*bar["F1"])
    before = shot(game, sx + 1, sy + 1, 32, 32)
    game.key("F1", lambda: game.requests(CAST), "the cast request")
    fields = game.requests(CAST)[0].fields
    if (fields["spell"], fields["target"]) != (1418, b""):
        raise Failure(f"F1 cast {fields}")
    game.state("cooldown", lambda l: int(l.split()[1]) > 0 and int(l.split()[3]) > 0, 20, "the cooldown and shade")
    game.frames(2)
    after = shot(game, sx + 1, sy + 1, 32, 32)
    if brightness(after) > brightness(before) - 15 and brightness(after) > 40:
        raise Failure(f"the slot is not shaded: brightness {brightness(before):.0f} -> {brightness(after):.0f}")
    band = after[8:22]
    if bright_pixels(band) < 6:
        raise Failure(f"no seconds on the shaded slot ({bright_pixels(band)} bright pixels)")
    # The seconds count down: the digits change within a few seconds.
    wait_until(lambda: shot(game, sx + 1, sy + 9, 32, 14) != band, 10, "the seconds counting down")


def edit_slot(game):
    stage("a right click on F2")
    bar = game.bar()
    fx, fy = bar["F2"]
    before = len(game.requests(ACTION_LIST))
    game.click(game.screen(fx + 17, fy + 17), button=3, until=lambda: len(game.requests(ACTION_LIST)) > before,
               what="the action-list request")
    game.state("editor", lambda l: l.split()[1:3] == ["2", "0"] and l.endswith("flag 0"), 20,
               "the editor's slot: main-row 2, asked for loudly")
    game.state("note", lambda l: l == "note HotkeyDialog::Open 2", 20, "the editor opening for slot 2")
    line = game.state("cancel", lambda l: l != "cancel none", 20, "the editor's Cancel button")
    x, y, w, h = (int(v) for v in line.split()[1:5])
    game.click(game.screen(x + w // 2, y + h // 2), until=lambda: game.latest("cancel") == "cancel none",
               what="the editor closed by Cancel")


def experience(game):
    stage("the experience header")
    _, _, vx, vy = game.field()[:4]
    game.click(game.screen(vx + 110, vy + 15), until=lambda: game.latest("experience") == "experience 1",
               what="the experience panel")


def creature_and_look(game):
    stage("the NPC and a look")
    npc = actions.NPC_ID
    game.click(game.tile(*NPC), button=3,
               until=lambda: any((r.fields["attack"], r.fields["follow"]) == (npc, 1) for r in game.requests(TARGETS)),
               what="the attack on the NPC")
    game.click(game.tile(*NPC), modifiers=("shift",),
               until=lambda: any((r.fields["attack"], r.fields["follow"]) == (1, npc) for r in game.requests(TARGETS)),
               what="the follow of the NPC")
    game.click(game.tile(*LOOKED_AT), modifiers=("ctrl",),
               until=lambda: any((r.fields["x"], r.fields["y"]) == LOOKED_AT for r in game.requests(LOOK)),
               what="the look")
    game.state("status", lambda l: l.startswith("status You see"), 20, "the look's answer")


def moves(game):
    stage("dragging the stack")
    source, target = actions.STACK_AT, STACK_TARGET
    done = len(game.world.moves)
    game.drag(game.tile(*source), game.tile(*target), modifiers=("ctrl",),
              until=lambda: len(game.world.moves) > done, what="the Ctrl-drag")
    fields = game.requests(MOVE)[-1].fields
    if (fields["from_x"], fields["from_y"], fields["to_x"], fields["to_y"], fields["count"]) != (*source, *target, 5):
        raise Failure(f"the Ctrl-drag moved {fields}")
    game.frames(2)
    game.drag(game.tile(*target), game.tile(*source), modifiers=("shift",),
              until=lambda: len(game.world.moves) > done + 1, what="the Shift-drag")
    fields = game.requests(MOVE)[-1].fields
    if (fields["from_x"], fields["from_y"], fields["to_x"], fields["to_y"], fields["count"]) != (*target, *source, 1):
        raise Failure(f"the Shift-drag moved {fields}")


def menu(game):
    stage("the menu of two usable things")
    ux, uy = actions.USABLE_AT
    game.click(game.tile(ux, uy), button=3)
    line = game.state("menu", lambda l: l != "menu none", 20, "menu 188")
    words = line.split(" ", 5)
    x, y, w, h = (int(v) for v in words[1:5])
    rows = [r for r in words[5].split("|") if r]
    if h != 46 or len(rows) != 2:
        raise Failure(f"the menu is not two rows high: {line}")
    first = rows[0].split(":", 1)[1]
    item = actions.CHEST if first.startswith("Open") else actions.LEVER
    ox, oy = game.field()[:2]
    before = len(game.requests(USE))
    game.click((ox + x + 60, oy + y + 3 + 10),
               until=lambda: any(r.fields["action"] == item for r in game.requests(USE)[before:]),
               what=f"the use of {first}")
    fields = game.requests(USE)[-1].fields
    if (fields["x"], fields["y"], fields["z"]) != (ux, uy, 7):
        raise Failure(f"the menu's row used {fields}")
    game.state("menu", lambda l: l == "menu none", 10, "the menu to close")


def walk(game):
    stage("click to walk, the interruption, Escape")
    world = game.world
    world.block_walk(2)
    walks = len(game.requests(WALK))
    game.click(game.tile(*WALK_GOAL))
    first = game.wait_request(WALK, lambda f: f["steps"], "the walking path", after=walks)
    if (first["x_times_3"], first["y_times_2"], first["floor_times_4"]) != (WALK_GOAL[0] * 3, WALK_GOAL[1] * 2, 28):
        raise Failure(f"the path names {first}")
    if first["steps"] != [3] * 5:
        raise Failure(f"the path five tiles north is {first['steps']}")
    wait_server(game.server, lambda: world.interruptions, "the interruption")
    stood = world.interruptions[0]
    count = len(game.requests(WALK))

    def resumed():
        later = [r.fields for r in game.requests(WALK)[count:] if r.fields["steps"]]
        return later[0] if later else None
    again = wait_until(resumed, 20, "a new path after the interruption")
    x, y = stood
    for step in again["steps"]:
        dx, dy = actions.OFFSETS[step]
        x, y = x + dx, y + dy
    if (x, y) != WALK_GOAL:
        raise Failure(f"the new path {again['steps']} leads from {stood} to {(x, y)}, not {WALK_GOAL}")

    targets, walks = len(game.requests(TARGETS)), len(game.requests(WALK))
    game.key("Escape", lambda: any((r.fields["attack"], r.fields["follow"]) == (0, 0)
                                   for r in game.requests(TARGETS)[targets:]), "the stop's targets")
    stop = [r.fields for r in game.requests(WALK)[walks:]]
    if not any(f["steps"] == [] and (f["x_times_3"], f["y_times_2"], f["floor_times_4"]) == (0, 0, 0) for f in stop):
        raise Failure(f"Escape sent no empty path at (0, 0, 0): {stop}")


def main():
    args = winedriver.scratch_args()
    world = actions.ActionWorld()
    server = fs.FakeServer(gfx_stamp=fs.read_gfx_stamp(args.gfx), behaviours=[world], log=lambda text: None)
    with server:
        work = prepare(args, server.login_port)
        program = winedriver.Program(args.source, args.program, cwd=work)
        with winedriver.running(program, tail=40, clean=(options_folder(),)):
            window = find_window("^Velmora Online", 90, program.process)
            game = Game(program, window, server, world)
            game.scratch = args.scratch
            game.state("player", lambda l: l == "player 120 120 7", 90, "the player at its start")
            game.state("bar", lambda l: True, 10, "the hotkey bar")
            check_buff(game)
            side = drag_bar(game)
            cast(game)
            edit_slot(game)
            experience(game)
            creature_and_look(game)
            moves(game)
            menu(game)
            walk(game)

            winedriver.request_close(window)
            code = program.wait_exit(30)
            if code != 0:
                raise Failure(f"the program ended with {code}")
            _, values = winedriver.read_ini_section(os.path.join(options_folder(), "velmora.ini"), "windows")
            saved = (values.get("spellboxsize"), values.get("spellboxposition"))
            if saved != (str(THICKNESS), str(side)):
                raise Failure(f"velmora.ini keeps spellboxsize and spellboxposition {saved}")
            if server.failures:
                raise Failure(f"the fake server found faults: {server.failures}")
    shutil.rmtree(args.scratch, ignore_errors=True)
    print("hotkeys: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
