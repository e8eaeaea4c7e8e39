#!/usr/bin/env python3
"""The game screen under Wine, played with xdotool against the fake login and
game server and its small world (tests/fakeserver/world.py).

The player logs in and enters the game. Right runs into the wall east of the
start: nothing is sent and "You can not move there." shows for two seconds.
Shift+Home steps north-west, Ctrl+Right only turns east, held Down and Right
walk south and east: the server sees those requests. A click into the chat input, "hi" and
Enter send a chat line. The chat area's top edge is dragged up by 60 pixels.
The fake server opens the channels the client joins. Ctrl+L logs out: the server closes, the client goes back to the login
screen, logs in again by itself, and Enter Game brings the game back with
the chat height of before. Closing the window leaves velmora.ini with the
game screen's layout keys and that chat height.

The program is the client with a main loop that prints what changes
(GameProbeWin32.cpp); the checks read those lines and what the server saw.
"""
import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import chat as fake_chat  # noqa: E402
import fakeserver as fs  # noqa: E402
import winedriver  # noqa: E402
import world as fake_world  # noqa: E402
from winedriver import Failure, find_window, options_folder  # noqa: E402

ACCOUNT = "demo"
PASSWORD = "s3cret"
STEP_SOUTH, STEP_NORTH_WEST, STEP_EAST, TURN = 0x04, 0x09, 0x07, 0x0D
CHAT, LOGOUT = 0x03, 0x13

LAYOUT_KEYS = [
    "minimapx", "minimapy", "minimapzoom", "minimapwidth", "minimapheight", "minimapminimized",
    "actionsx", "actionsy", "actionswidth", "actionsheight", "actionsminimized",
    "inventoryx", "inventoryy", "inventorywidth", "inventoryheight", "inventoryminimized", "inventoryminor",
    "statusx", "statusy", "statuswidth", "statusheight", "statusminimized",
    "friendsx", "friendsy", "friendswidth", "friendsheight", "friendsminimized",
    "chath", "leftbarwidth", "rightbarwidth", "actiongroup-Aldric", "spellboxsize", "spellboxposition"]


def prepare(args, login_port):
    path = winedriver.prepare_client(
        os.path.join(args.scratch, "game"), args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nfpslimit=60\r\n")
    return path, options_folder()


def latest(program, kind):
    return next((l for l in reversed(program.lines) if l.split(" ", 1)[0] == kind), None)


def wait_state(program, kind, predicate, timeout, what):
    """The program prints a kind of line only when it changes, so the latest
    line of a kind is the state now."""
    line = latest(program, kind)
    if line is not None and predicate(line):
        return line
    return program.wait_line(lambda l: l.split(" ", 1)[0] == kind and predicate(l), timeout, what)


def game_requests(server, opcode):
    return server.requests_of(opcode, "game")


def key(window, *keys):
    winedriver.xdotool("windowfocus", "--sync", window)
    winedriver.xdotool("key", *keys)


def drain(program):
    """Takes in every line the program has printed so far."""
    while True:
        try:
            if program.next_line(time.monotonic() + 0.01) is None:
                return
        except Failure:
            return


def hold(program, window, keys, until, what, timeout=15):
    """Holds keys (pressed in order, released in reverse) until the condition holds."""
    winedriver.xdotool("windowfocus", "--sync", window)
    for name in keys:
        winedriver.xdotool("keydown", name)
    try:
        deadline = time.monotonic() + timeout
        while True:
            drain(program)
            if until():
                break
            if time.monotonic() > deadline:
                raise Failure(f"holding {'+'.join(keys)} did not give {what}")
            time.sleep(0.05)
    finally:
        for name in reversed(keys):
            winedriver.xdotool("keyup", name)


def click(window, x, y):
    winedriver.xdotool("mousemove", "--window", window, x, y)
    time.sleep(0.3)
    winedriver.xdotool("click", "1")
    time.sleep(0.3)


def enter_game(program, window):
    line = wait_state(program, "enter", lambda l: l.startswith("enter 2 "), 30, "the character list")
    x, y, w, h = map(int, line.split()[2:6])
    click(window, x + w // 2, y + h // 2)
    wait_state(program, "screen", lambda l: l == "screen game", 30, "the game screen")
    return chat_state(program)


def chat_state(program):
    """(chat height, input rectangle, window size) from the latest chat line."""
    line = wait_state(program, "chat", lambda l: l != "chat none", 30, "the chat area")
    words = line.split()
    return int(words[1]), tuple(map(int, words[3:7])), tuple(map(int, words[8:10]))


def game_screen(args):
    world = fake_world.World()
    chat = fake_chat.Chat()
    server = fs.FakeServer(account=ACCOUNT, password=PASSWORD, characters=fs.demo_characters(),
                           gfx_stamp=fs.read_gfx_stamp(args.gfx), behaviours=[world, chat],
                           log=lambda text: print("server:", text))
    with server:
        os.environ.pop("VELMORA_STATUS_SERVER", None)
        workdir, folder = prepare(args, server.login_port)
        program = winedriver.Program(args.source, args.program, cwd=workdir)
        with winedriver.running(program, tail=40):
            window = find_window("^Velmora Online", 90, program.process)
            wait_state(program, "screen", lambda l: l == "screen menu", 60, "the login screen")
            winedriver.xdotool("windowfocus", "--sync", window)
            time.sleep(0.5)
            winedriver.xdotool("type", "--delay", "60", ACCOUNT)
            winedriver.xdotool("key", "Tab")
            winedriver.xdotool("type", "--delay", "60", PASSWORD)
            winedriver.xdotool("key", "Return")
            height, chat_input, (_, screen_height) = enter_game(program, window)
            winedriver.wait_server(server,
                                   lambda: len(world.pings) >= 1 and world.player == list(fake_world.START),
                                   "the game's start", show_requests=True)

            # Into the wall: refused by the client itself, on the status line.
            hold(program, window, ["Right"], lambda: latest(program, "statustext") == "statustext You can not move there.",
                 "the refusal on the status line")
            if game_requests(server, STEP_EAST):
                raise Failure("a step into the wall was sent")
            wait_state(program, "statustext", lambda l: l == "statustext none", 5, "the status text to go")

            hold(program, window, ["shift", "Home"], lambda: game_requests(server, STEP_NORTH_WEST), "a north-west step")
            steps_before = len(world.steps)
            hold(program, window, ["ctrl", "Right"], lambda: game_requests(server, TURN), "a turn")
            turn = game_requests(server, TURN)[0]
            if turn.fields.get("direction") != 4:
                raise Failure(f"the turn names {turn.fields}")
            time.sleep(0.5)
            if len(world.steps) != steps_before or game_requests(server, STEP_EAST):
                raise Failure("Ctrl+Right stepped")
            hold(program, window, ["Down"], lambda: game_requests(server, STEP_SOUTH), "a step south")
            hold(program, window, ["Right"], lambda: game_requests(server, STEP_EAST), "a step east")

            # A chat line.
            x, y, w, h = chat_input
            click(window, x + w // 2, y + h // 2)
            winedriver.xdotool("type", "--delay", "80", "hi")
            key(window, "Return")
            winedriver.wait_server(server,
                                   lambda: any(r.fields.get("text") == b"hi" for r in game_requests(server, CHAT)),
                                   "the chat line", show_requests=True)

            # The chat area's top edge, dragged up by 60 pixels.
            top = screen_height - height
            winedriver.xdotool("mousemove", "--window", window, 500, top + 2)
            time.sleep(0.3)
            winedriver.xdotool("mousedown", "1")
            for step in range(1, 7):
                winedriver.xdotool("mousemove", "--window", window, 500, top + 2 - 10 * step)
                time.sleep(0.1)
            winedriver.xdotool("mouseup", "1")
            dragged = height + 60
            wait_state(program, "chat", lambda l: l.startswith(f"chat {dragged} "), 10, "the taller chat area")

            # Ctrl+L: out, back to the characters by itself, and in again.
            # Control is read when the key's event is handled, so it stays down
            # until the logout has gone out.
            hold(program, window, ["ctrl", "l"], lambda: game_requests(server, LOGOUT), "the logout")
            wait_state(program, "screen", lambda l: l == "screen menu", 30, "the login screen after the logout")
            height_again, _, _ = enter_game(program, window)
            if height_again != dragged:
                raise Failure(f"the chat area came back {height_again} pixels high, not {dragged}")

            winedriver.request_close(window)
            code = program.wait_exit(30)
            if code != 0:
                raise Failure(f"the program ended with {code}")
            keys, values = winedriver.read_ini_section(os.path.join(folder, "velmora.ini"), "windows")
            if keys != LAYOUT_KEYS:
                raise Failure(f"velmora.ini's windows section holds {keys}")
            if values["chath"] != str(dragged):
                raise Failure(f"velmora.ini keeps chath={values['chath']}")
            # The first start has no "channels" section: the five default ones
            # were joined first.
            joined = [r.fields["name"] for r in game_requests(server, 0x15)][:5]
            if joined != [b"English", b"Trade", b"Support", b"Portuguese", b"Polish"]:
                raise Failure(f"the channels joined were {joined}")
            if server.failures:
                raise Failure(f"the fake server found faults: {server.failures}")


def main():
    args = winedriver.scratch_args()
    game_screen(args)
    shutil.rmtree(args.scratch, ignore_errors=True)
    print("game screen: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
