#!/usr/bin/env python3
"""A player walks by keyboard in the fake server's world, under Wine.

The program logs in by itself with the demo account and enters the game with
the first character (WorldProbeWin32.cpp); it prints the window title, the
status text and where the player stands. The fake game server's world
(tests/fakeserver/world.py) puts the player at (120, 120) with a wall to the
east, a free tile to the west, a free tile north of that, and a wall north
of the tile two steps west; a step onto that tile is refused by the server.

- The title becomes "Velmora Online (Aldric)".
- Right: the wall; the client says so and no step request reaches the server.
- Left: the server receives the step (0x05) and confirms it with a strip.
- Left again: the server refuses it (0x0a); the client takes its step back.
- Up: the server receives 0x06, which only a client back on (119, 120) sends.
- Right held for three seconds at speed 300: a step request about every
  500 ms, never two inside one step.
- In between the server sends NPC steps, a creature that appears and one that
  vanishes, a tile update and item records, each burst with a ping behind it
  that the client must answer with its value.

Keys are held until the client has acted on them (about 100 ms on an idle
machine; longer when frames are slow), and let go at once: the game polls
held keys once a frame.
"""
import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import fakeserver as fs  # noqa: E402
import winedriver  # noqa: E402
import world as fake_world  # noqa: E402
from winedriver import Failure, find_window, options_folder  # noqa: E402

STEP_LEFT, STEP_UP, STEP_RIGHT = 0x05, 0x06, 0x07


def prepare(args, login_port):
    return winedriver.prepare_client(
        args.scratch, args.gfx, login_port,
        b"[options]\r\nwindowwidth=800\r\nwindowheight=600\r\nwindowmaximized=false\r\n")


class Walk:
    def __init__(self, program, server, world, window):
        self.program = program
        self.server = server
        self.world = world
        self.window = window

    def latest(self, kind):
        return next((l for l in reversed(self.program.lines) if l.split(" ", 1)[0] == kind), None)

    def wait_state(self, kind, wanted, timeout=20):
        """Waits until the latest line of a kind is the wanted one (the
        program prints a kind only when it changes)."""
        if self.latest(kind) == wanted:
            return
        self.program.wait_line(lambda l: l == wanted, timeout, repr(wanted))

    def steps(self, opcode=None):
        return [r for r in self.server.requests_of(opcode) if 0x04 <= r.opcode <= 0x0B] if opcode else \
            [r for r in self.server.requests if r.server == "game" and 0x04 <= r.opcode <= 0x0B]

    def drain(self):
        """Takes in the lines the program has printed so far."""
        while True:
            try:
                line = self.program._queue.get_nowait()
            except Exception:
                return
            if line is None:
                self.program._queue.put(None)
                return
            self.program.lines.append(line)

    def press(self, key, seconds=0.1):
        """Holds a key for a while (the game polls held keys once a frame)."""
        winedriver.xdotool("windowfocus", "--sync", self.window)
        winedriver.xdotool("keydown", key)
        time.sleep(seconds)
        winedriver.xdotool("keyup", key)

    def press_until(self, key, done, what, timeout=15):
        """Holds a key until the client has acted on it: a frame may take
        longer than a short press on a busy machine. Let go at once then, so
        that the key makes one step only."""
        winedriver.xdotool("windowfocus", "--sync", self.window)
        winedriver.xdotool("keydown", key)
        try:
            deadline = time.monotonic() + timeout
            while not done():
                if time.monotonic() > deadline:
                    raise Failure(f"{key} held for {timeout} s: no {what}; steps {self.steps()}")
                self.drain()
                time.sleep(0.01)
        finally:
            winedriver.xdotool("keyup", key)

    def answered(self, value, what):
        """The ping of a burst came back with its value."""
        def pong():
            return any(r.fields.get("value") == value for r in self.server.requests_of(fs.CLIENT_PONG, "game"))
        if not self.server.wait_for(pong, 20):
            raise Failure(f"no pong {value:#x} after {what}; failures: {self.server.failures}")

    def bursts(self, stage):
        """The server's cues between the steps; each one's ping must come back."""
        npc = self.world.npc
        for direction in (2, 4):
            value = self.world.npc_step(direction)
            if value is not None:
                self.answered(value, f"an NPC step {stage}")
        self.answered(self.world.appear(npc[0] - 1, npc[1] - 2), f"a creature appearing {stage}")
        self.answered(self.world.vanish(), f"a creature vanishing {stage}")
        self.answered(self.world.tile_update(116, 121, [fake_world.GRASS, (fake_world.COINS, 7)]),
                      f"a tile update {stage}")
        self.answered(self.world.send_records(), f"item records {stage}")


def walk(args):
    stamp = fs.read_gfx_stamp(args.gfx)
    world = fake_world.World()
    server = fs.FakeServer(gfx_stamp=stamp, behaviours=[world], log=lambda text: None)
    with server:
        program = winedriver.Program(args.source, args.program, cwd=prepare(args, server.login_port))
        with winedriver.running(program, tail=40, clean=(options_folder(), args.scratch)):
            window = find_window("^Velmora Online", 90, program.process)
            w = Walk(program, server, world, window)
            program.wait_line(lambda l: l == "screen game", 60, "the game screen")
            w.wait_state("title", "title Velmora Online (Aldric)", 30)
            w.wait_state("player", "player 120 120 7 rest", 30)
            w.answered(world.pings[0], "the whole view")
            w.bursts("after the whole view")

            # Right: into the wall. The client tells the player and sends nothing.
            w.press_until("Right", lambda: w.latest("status") == "status You can not move there.",
                          "word of the wall")
            w.answered(world.npc_step(1) or world.send_records(), "the bump into the wall")
            if w.steps():
                raise Failure(f"a step into the wall reached the server: {w.steps()}")

            # Left: confirmed with a strip.
            w.press_until("Left", lambda: w.steps(STEP_LEFT), "step left at the server")
            w.wait_state("player", "player 119 120 7 rest")
            w.bursts("after the confirmed step")

            # Left again: refused; the client goes back to (119, 120).
            w.press_until("Left", lambda: len(w.steps(STEP_LEFT)) >= 2, "second step left at the server")
            w.wait_state("status", "status Sorry, not possible.")
            w.wait_state("player", "player 119 120 7 rest")

            # Up: only from (119, 120) is there a tile to step to.
            w.press_until("Up", lambda: w.steps(STEP_UP), "step up at the server")
            w.wait_state("player", "player 119 119 7 rest")
            if world.player != [119, 119]:
                raise Failure(f"the server has the player at {world.player}")

            # Right held for three seconds at speed 300: about one step every 500 ms.
            before = len(world.steps)
            w.press("Right", 3.0)
            w.wait_state("player", w.latest("player").replace(" walk", " rest"), 20)
            held = [s for s in world.steps[before:]]
            times = [s[0] for s in held]
            gaps = [b - a for a, b in zip(times, times[1:])]
            print(f"held right: {len(held)} steps, gaps {[round(g, 3) for g in gaps]}")
            if not 2 <= len(held) <= 8 or any(s[1] != 4 or not s[2] for s in held):
                raise Failure(f"holding Right for 3 s gave the steps {held}")
            if gaps and min(gaps) < 0.4:
                raise Failure(f"two step requests inside one step: gaps {gaps}")
            w.bursts("after walking")

            # Every ping came back, nothing broke the protocol, still in the game.
            pongs = {r.fields.get("value") for r in server.requests_of(fs.CLIENT_PONG, "game")}
            missing = [hex(v) for v in world.pings if v not in pongs]
            if missing:
                raise Failure(f"pings without an answer: {missing}")
            if server.failures or any(l.startswith("platform box") for l in program.lines):
                raise Failure(f"faults: {server.failures}, {[l for l in program.lines if 'box' in l]}")
            if server.connections["game"] != 1:
                raise Failure("the client left the game")

            winedriver.request_close(window)
            code = program.wait_exit(30)
            if code != 0:
                raise Failure(f"the program ended with {code}")


def main():
    args = winedriver.scratch_args()
    walk(args)
    print("world walk: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
