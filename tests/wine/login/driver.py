#!/usr/bin/env python3
"""The login road of the client under Wine, played with xdotool against the
fake login and game server and a status web page on 127.0.0.1.

The player types the account and the password and presses Enter; the fake
login server checks the login request byte for byte and answers with two
characters, which the character list shows. The player picks the second row
and clicks "Enter Game": the client connects to that row's host and port (the
first row names a decoy world that must see nothing), the fake game server
checks the game login byte for byte and starts the game, and the game screen
replaces the login screen. The game server then drops the connection: the
client goes back to the login screen and logs in again by itself with the
same account. The banner shows the status page's text. A second run against
a port where nothing listens shows "Connecting failed, error code #10061.".

The program is the client with a main loop that prints what changes
(LoginProbeWin32.cpp); the checks read those lines and what the servers saw.
"""
import os
import shutil
import socket
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import fakeserver as fs  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure, find_window  # noqa: E402

ACCOUNT = "demo"
PASSWORD = "s3cret"
STATUS_TEXT = "Double experience this weekend! The servers restart on Monday at noon."


def prepare(args, name, login_port):
    """A working directory with the graphics file and "loginserver.txt", and
    options for a window of 1000 x 700."""
    return winedriver.prepare_client(
        os.path.join(args.scratch, name), args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\n")


def unused_port():
    """A port on 127.0.0.1 where nothing listens."""
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    return port


class Decoy:
    """A listening port that only counts the connections made to it."""

    def __init__(self):
        self.sock = socket.socket()
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(4)
        self.sock.setblocking(False)
        self.port = self.sock.getsockname()[1]

    def connections(self):
        count = 0
        while True:
            try:
                conn, _ = self.sock.accept()
            except (BlockingIOError, OSError):
                return count
            conn.close()
            count += 1

    def close(self):
        self.sock.close()


def start(args, workdir):
    """The program on its login screen: its window and the login fields' places."""
    program = winedriver.Program(args.source, args.program, cwd=workdir)
    fields = program.wait_line(lambda l: l.startswith("fields account "), 90, "the login fields")
    window = find_window("^Velmora Online", 90, program.process)
    winedriver.xdotool("windowfocus", "--sync", window)
    wait_state(program, "keyboard", lambda l: l == "keyboard window", 30, "the keyboard focus in the window")
    return program, window, fields


def log_in(window, account, password):
    """What a player does on the login screen: the account, Tab, the password, Enter."""
    winedriver.xdotool("windowfocus", "--sync", window)
    winedriver.xdotool("type", "--delay", "60", account)
    winedriver.xdotool("key", "Tab")
    winedriver.xdotool("type", "--delay", "60", password)
    winedriver.xdotool("key", "Return")


def click(window, x, y):
    winedriver.click_at(x, y, window)


def parse_rows(line):
    """From "rows N list x y w h height H enter x y w h | name;right;sub;subRight;picture | ..."."""
    head, *rows = [part.strip() for part in line.split("|")]
    words = head.split()
    geometry = {"list": tuple(map(int, words[3:7])), "height": int(words[8]), "enter": tuple(map(int, words[10:14]))}
    return int(words[1]), geometry, [row.split(";") for row in rows]


def wait_state(program, kind, predicate, timeout, what):
    """Waits until the latest line of a kind ("box", "rows", "screen",
    "status") satisfies the predicate; returns that line. The program prints
    a kind only when it changes, so the latest line is the state now."""
    latest = next((l for l in reversed(program.lines) if l.split(" ", 1)[0] == kind), None)
    if latest is not None and predicate(latest):
        return latest
    return program.wait_line(lambda l: l.split(" ", 1)[0] == kind and predicate(l), timeout, what)


def check_login(server, count):
    """The count-th login request arrived, byte for byte right, and was accepted."""
    winedriver.wait_server(server, lambda: len(server.requests_of(fs.CLIENT_LOGIN, "login")) >= count,
                           f"login number {count}", show_requests=True)
    request = server.requests_of(fs.CLIENT_LOGIN, "login")[count - 1]
    if server.failures:
        raise Failure(f"the fake server found faults: {server.failures}")
    if not request.accepted:
        raise Failure(f"login {count} was refused: {request}")
    if request.fields["account"] != ACCOUNT.encode() or request.fields["password"] != PASSWORD.encode():
        raise Failure(f"login {count} carried {request.fields}")


def expect_characters(program):
    line = wait_state(program, "rows", lambda l: l != "rows none", 30, "the character list")
    count, geometry, rows = parse_rows(line)
    # The texts of each row; the generated graphics file has no outfit
    # pictures, so the rows' pictures are not looked at here.
    rows = [row[:4] for row in rows]
    wanted = [["Aldric", "Velmora", "Knight", "Level 42"], ["Brenna", "Velmora", "Mage", "Level 17"]]
    if count != 2 or rows != wanted:
        raise Failure(f"the character list shows {rows}, not {wanted}")
    return geometry


def login_road(args):
    stamp = fs.read_gfx_stamp(args.gfx)
    decoy = Decoy()
    aldric, brenna = fs.demo_characters()
    aldric.port = decoy.port  # a world nobody must reach when Brenna is chosen
    server = fs.FakeServer(account=ACCOUNT, password=PASSWORD, characters=[aldric, brenna], gfx_stamp=stamp,
                           premium_end=int(time.time()) + 3 * 86400, log=lambda text: print("server:", text))
    page = fs.StatusPage(STATUS_TEXT)
    with server, page:
        os.environ["VELMORA_STATUS_SERVER"] = f"127.0.0.1:{page.port}"
        program, window, _ = start(args, prepare(args, "road", server.login_port))
        try:
            log_in(window, ACCOUNT, PASSWORD)
            check_login(server, 1)
            geometry = expect_characters(program)
            wait_state(program, "box", lambda l: l == "box none", 10, "the Connecting box to close")

            # The second row, then "Enter Game".
            lx, ly, lw, _ = geometry["list"]
            click(window, lx + lw // 2, ly + geometry["height"] + geometry["height"] // 2)
            wait_state(program, "selected", lambda l: l == "selected 1", 10, "the second row to be selected")
            ex, ey, ew, eh = geometry["enter"]
            click(window, ex + ew // 2, ey + eh // 2)
            winedriver.wait_server(server, lambda: server.requests_of(fs.CLIENT_GAME_LOGIN, "game"), "the game login",
                                   show_requests=True)
            game_login = server.requests_of(fs.CLIENT_GAME_LOGIN, "game")[0]
            if server.failures or not game_login.accepted:
                raise Failure(f"the game login was not right: {game_login}; failures: {server.failures}")
            if game_login.fields["character"] != b"Brenna":
                raise Failure(f"the game login names {game_login.fields['character']!r}, not the chosen row")
            if decoy.connections():
                raise Failure("the client connected to the world of the row that was not chosen")
            wait_state(program, "screen", lambda l: l == "screen game", 30, "the game screen")

            # The game server drops the connection: back to the login screen
            # and a new login with the same account, untyped.
            server.drop()
            wait_state(program, "screen", lambda l: l == "screen menu", 30, "the login screen after the lost connection")
            check_login(server, 2)
            expect_characters(program)
            if server.connections["login"] != 2:
                raise Failure(f"{server.connections['login']} login connections instead of 2")

            # The banner shows the status page's text.
            status = wait_state(program, "status", lambda l: l != "status none", 30, "the status banner")
            if status != f"status 1 {STATUS_TEXT}":
                raise Failure(f"the banner shows {status!r}")
            path, headers = page.requests[0]
            if path != "/index.php" or headers.get("User-Agent") != "KHyperText Class":
                raise Failure(f"the status request was {path} with {headers}")

            winedriver.request_close(window)
            code = program.wait_exit(30)
            if code != 0:
                raise Failure(f"the program ended with {code}")
            if server.connections["game"] != 1:
                raise Failure(f"{server.connections['game']} game connections instead of 1")
        except Failure:
            print("program said:\n  " + "\n  ".join(program.lines[-30:]))
            raise
        finally:
            program.stop()
            decoy.close()


def refused_port(args):
    os.environ.pop("VELMORA_STATUS_SERVER", None)
    program, window, _ = start(args, prepare(args, "refused", unused_port()))
    with winedriver.running(program, tail=30):
        log_in(window, ACCOUNT, PASSWORD)
        box = wait_state(program, "box", lambda l: l.startswith("box Error|"), 30, "the error box")
        if box != "box Error|Connecting failed, error code #10061.|closable":
            raise Failure(f"the box reads {box!r}")
        winedriver.request_close(window)
        program.wait_exit(30)


def main():
    args = winedriver.scratch_args()
    login_road(args)
    refused_port(args)
    shutil.rmtree(args.scratch, ignore_errors=True)
    print("login road: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
