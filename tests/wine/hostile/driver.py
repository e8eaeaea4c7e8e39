#!/usr/bin/env python3
"""The client under a hostile game server, under Wine.

The program is the client with a main loop that logs in by itself and
enters the game, and does so again whenever it finds itself back on the
login screen (HostileProbeWin32.cpp). The fake server's hostile behaviour
(tests/fakeserver/hostile.py) sends batch after batch for every server
opcode: first the valid samples (which open every dialog) and a ping whose
pong it waits for, then damaged and random frames and framing attacks, and
a second ping. A "Networking Error" and a lost connection are fair answers
to garbage: the driver then waits for the client to log in again. One batch
in ten leaves the stream out of step; three batches in a row without a pong
while the connection stays and the server drops it, as a real one would
drop a client that stopped answering.

The run lasts HOSTILE_SECONDS (60 by default) with the back end of
HOSTILE_ENGINE (direct3d, opengl or directdraw; direct3d by default);
HOSTILE_SEED picks the random frames and HOSTILE_VERBOSE prints a line per
batch, with the back end's images as the probe last counted them. It prints the batches, both kinds of pongs, the re-logins, the
message boxes, and the client's resident memory (VmRSS of the velmora
process under Wine, with its heaps and its mapped files apart) once it first
entered the game and at the end. It fails when the process ends or crashes
on the way, when the memory grew by more than 100 MB, when no ping was
answered, or when the client did not come back into the game.
"""
import glob
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import fakeserver as fs  # noqa: E402
import hostile  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure, find_window  # noqa: E402

FIRST_PING = 0x1000
PONG_WAIT = 8           # seconds a batch's pong may take
SILENT_BATCHES = 3      # batches without a pong before the server drops the client
RELOGIN_WAIT = 90       # seconds for the client to be back in the game
DESYNC_EVERY = 10
MAX_GROWTH_MB = 100
ENGINES = ("direct3d", "opengl", "directdraw")


def prepare(args, login_port, engine):
    return winedriver.prepare_client(
        args.scratch, args.gfx, login_port,
        f"[options]\r\nengine={engine}\r\nwindowwidth=800\r\nwindowheight=600\r\n"
        "windowmaximized=false\r\n".encode())


def client_pid(workdir, launcher):
    """The Wine process of the program: the one working in `workdir` with the
    largest resident set (the launcher and Wine's services are small)."""
    best, best_rss = None, -1
    for path in glob.glob("/proc/[0-9]*/cwd"):
        pid = int(path.split("/")[2])
        try:
            if os.path.realpath(os.readlink(path)) != os.path.realpath(workdir):
                continue
            rss = rss_kb(pid)
        except OSError:
            continue
        if rss > best_rss:
            best, best_rss = pid, rss
    if best is None:
        raise Failure(f"no process works in {workdir} (launcher {launcher})")
    return best


def memory_kb(pid):
    """Resident memory of a process in KB: total, anonymous (the heaps) and
    file-backed (the program and the libraries, as far as touched)."""
    out = {"VmRSS": 0, "RssAnon": 0, "RssFile": 0}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key = line.split(":")[0]
            if key in out:
                out[key] = int(line.split()[1])
    return out


def rss_kb(pid):
    return memory_kb(pid)["VmRSS"]


def describe(memory):
    return (f"{memory['VmRSS'] / 1024:.1f} MB (heaps {memory['RssAnon'] / 1024:.1f}, "
            f"files {memory['RssFile'] / 1024:.1f})")


def alive(program, pid):
    if program.process.poll() is not None:
        return False
    return os.path.exists(f"/proc/{pid}")


def check_crash(program):
    for line in program.lines:
        if "Unhandled exception" in line or "Unhandled page fault" in line or line.startswith("wine: "):
            raise Failure(f"the client crashed: {line}")


def drain(program):
    """Reads what the program printed so far without waiting."""
    try:
        while True:
            line = program.next_line(time.monotonic() + 0.001)
            if line is None:
                return
    except Failure:
        return


def last_sprites(program):
    """The probe's latest count of the back end's images."""
    for line in reversed(program.lines):
        if line.startswith("sprites "):
            return line
    return "sprites unknown"


def in_game(server, behaviour, logins_before=None):
    """A game connection is open and the enter-game message went out on it."""
    if server.open_connections("game") == 0:
        return False
    return logins_before is None or behaviour.game_logins > logins_before


def require_alive(program, pid, batches):
    """A crash is told by what Wine printed; any other end by the batches it
    took."""
    if not alive(program, pid):
        drain(program)
        check_crash(program)
        raise Failure(f"the client ended after {batches} batches")


def wait_back_in_game(server, behaviour, program, pid, when):
    """Waits for the next game login after a dropped connection."""
    logins = behaviour.game_logins
    if not server.wait_for(lambda: in_game(server, behaviour, logins) or not alive(program, pid),
                           RELOGIN_WAIT) or not alive(program, pid):
        drain(program)
        check_crash(program)
        raise Failure(f"the client was not back in the game {when}")


def run_hostile(args):
    seconds = float(os.environ.get("HOSTILE_SECONDS", "60"))
    engine = os.environ.get("HOSTILE_ENGINE", "direct3d")
    if engine not in ENGINES:
        raise Failure(f"HOSTILE_ENGINE must be one of {ENGINES}")
    stamp = fs.read_gfx_stamp(args.gfx)
    behaviour = hostile.Hostile(seed=int(os.environ.get("HOSTILE_SEED", "1")))
    server = fs.FakeServer(gfx_stamp=stamp, log=lambda text: None, behaviours=[behaviour])
    page = fs.StatusPage("Test server.")
    with server, page, winedriver.client_run(args, page.port, prepare(args, server.login_port, engine),
                                             tail=40) as program:
        find_window("^Velmora Online", 90, program.process)
        program.wait_line(lambda l: l == "screen game", 90, "the game screen")
        pid = client_pid(args.scratch, program.process.pid)
        server.wait_for(lambda: behaviour.game_logins >= 1, 30)
        start = memory_kb(pid)
        rss_start = start["VmRSS"]
        rss_peak = rss_start
        verbose = bool(os.environ.get("HOSTILE_VERBOSE"))
        print(f"back end {engine}, {seconds:.0f} s; client pid {pid}, resident {describe(start)} in the game",
              flush=True)

        batches = pongs_seen = steady_pongs = relogins = drops = 0
        silent = 0
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            require_alive(program, pid, batches)
            if not in_game(server, behaviour):
                wait_back_in_game(server, behaviour, program, pid, f"{RELOGIN_WAIT} s after batch {batches}")
                relogins += 1
            value = FIRST_PING + 2 * (batches % 0x7000)
            before = len(server.requests_of(fs.CLIENT_PONG, "game"))

            def answered(wanted):
                return any(r.fields.get("value") == wanted
                           for r in server.requests_of(fs.CLIENT_PONG, "game")[before:])

            def wait_pong(wanted):
                return server.wait_for(lambda: answered(wanted) or server.open_connections("game") == 0,
                                       PONG_WAIT) and answered(wanted)
            sent = behaviour.run_batch(server, value, desync=batches % DESYNC_EVERY == DESYNC_EVERY - 1,
                                       answered=wait_pong)
            batches += 1
            if answered(value + 1):
                steady_pongs += 1
            if sent and wait_pong(value):
                pongs_seen += 1
                silent = 0
            elif server.open_connections("game"):
                silent += 1
                if silent >= SILENT_BATCHES:
                    server.drop()
                    drops += 1
                    silent = 0
            drain(program)
            rss_peak = max(rss_peak, rss_kb(pid))
            if verbose or batches % 10 == 0:
                print(f"  {batches} batches, {pongs_seen} + {steady_pongs} pongs, {relogins} re-logins, resident "
                      f"{describe(memory_kb(pid))}; {last_sprites(program)}", flush=True)

        require_alive(program, pid, batches)
        # The last batch may have left the client outside the game: it comes
        # back, so that the end is measured where the start was.
        if not in_game(server, behaviour):
            wait_back_in_game(server, behaviour, program, pid, "at the end")
            relogins += 1
        end = memory_kb(pid)
        rss_end = end["VmRSS"]
        drain(program)
        check_crash(program)
        boxes = {}
        for line in program.lines:
            if line.startswith("platform box "):
                caption = line[len("platform box "):].split("|")[0]
                boxes[caption] = boxes.get(caption, 0) + 1
        print("message boxes: " + (", ".join(f"{n} {caption!r}" for caption, n in sorted(boxes.items())) or "none"))
        growth = (rss_end - rss_start) / 1024
        print(f"{batches} batches ({behaviour.frames_sent} writes, {behaviour.bytes_sent / 1e6:.1f} MB), "
              f"{pongs_seen} pongs at the end of a batch and {steady_pongs} behind its frames in step, "
              f"{relogins} re-logins, {drops} connections dropped by the server, 0 crashes; "
              f"resident {describe(start)} at the start, {describe(end)} at the end "
              f"(peak {rss_peak / 1024:.1f} MB, growth {growth:+.1f} MB)", flush=True)
        if growth > MAX_GROWTH_MB:
            raise Failure(f"the client's memory grew by {growth:.1f} MB (at most {MAX_GROWTH_MB})")
        if steady_pongs == 0:
            raise Failure("no ping was answered")
        program.stop()


def main():
    args = winedriver.scratch_args()
    run_hostile(args)
    print("hostile server: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
