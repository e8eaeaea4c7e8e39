#!/usr/bin/env python3
"""Every server message the client reads, under Wine against the fake game
server.

The program is the client with a main loop that logs in by itself with the
fake server's demo account and enters the game with the first character
(MessagesProbeWin32.cpp). Once the game screen is up, the fake game server
sends every sample message of its table (SAMPLES and VARIANTS of
tests/fakeserver/server_messages.py), each followed by a ping in the same
frame, and waits for the client's pong: a handler that reads one byte too
many or too few takes the ping apart, and the pong does not come or carries
another value. At the end the
client is still in the game, has shown no "Networking Error", and a close
request logs out and ends it with exit code 0. Every request the client
sent on the way (logins, pongs, the logout) passed the server's strict
request decoder.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import fakeserver as fs  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure, find_window, wait_server  # noqa: E402

FIRST_PING = 0x5000


def prepare(args, login_port):
    """A working directory with the graphics file and "loginserver.txt", and
    options for a small window."""
    return winedriver.prepare_client(
        args.scratch, args.gfx, login_port,
        b"[options]\r\nwindowwidth=800\r\nwindowheight=600\r\nwindowmaximized=false\r\n")


def pongs(server):
    return server.requests_of(fs.CLIENT_PONG, "game")


def send_samples(server):
    """Sends each sample with a ping behind it and checks the pong; returns
    how many were sent."""
    ending = fs.frame_ending_labels()
    samples = fs.sample_payloads()
    for number, (label, payload) in enumerate(samples):
        value = FIRST_PING + number
        before = len(pongs(server))
        # A sample whose count claims more than its bytes is read to the end
        # of its frame: its ping comes in the next frame.
        frames = [payload, fs.ping(value)] if label in ending else [payload + fs.ping(value)]
        if not all(server.send_payload(f) for f in frames):
            raise Failure(f"the game connection was gone before the sample {label!r}")
        wait_server(server, lambda: len(pongs(server)) > before, f"the pong behind the sample {label!r}", 20)
        answer = pongs(server)[before].fields.get("value")
        if answer != value:
            raise Failure(f"the pong behind the sample {label!r} carries {answer!r}, not {value}")
    return len(samples)


def check_messages(args):
    stamp = fs.read_gfx_stamp(args.gfx)
    server = fs.FakeServer(gfx_stamp=stamp, log=lambda text: None)
    page = fs.StatusPage("Test server.")
    with server, page, winedriver.client_run(args, page.port, prepare(args, server.login_port), tail=30) as program:
        window = find_window("^Velmora Online", 90, program.process)
        program.wait_line(lambda l: l == "screen game", 60, "the game screen")
        if server.failures:
            raise Failure(f"the fake server found faults in the login: {server.failures}")

        checked = send_samples(server)
        print(f"{checked} samples read exactly")

        # Nothing else came of them: one pong each, no error, still playing.
        extra = len(pongs(server)) - checked
        if extra:
            raise Failure(f"{extra} pongs more than pings")
        winedriver.check_no_boxes(program)
        screens = [l for l in program.lines if l.startswith("screen ")]
        if screens[-1] != "screen game" or server.connections["game"] != 1:
            raise Failure(f"the client left the game: {screens}, {server.connections['game']} game connections")

        winedriver.request_close(window)
        code = program.wait_exit(30)
        if code != 0:
            raise Failure(f"the program ended with {code}")
        wait_server(server, lambda: server.requests_of(fs.CLIENT_LOGOUT, "game"), "the logout")
        # Every request the player's client made (logins, pongs, the
        # logout) passed the server's strict decoder.
        if server.failures:
            raise Failure(f"the fake server refused requests: {server.failures}")


def main():
    args = winedriver.scratch_args()
    check_messages(args)
    print("server messages: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
