#!/usr/bin/env python3
"""The client's main loop in two idle scenes, per back end: frames per second
and CPU per frame.

Scenes:
- login: the login screen, nothing typed;
- game: the game screen on the fake server's small world (world.World, an
  NPC standing in view, no creature moving), with every side window open and
  shown in full (minimap, actions, inventory, skills, friends, party, and the
  server's two containers, the backpack and the pouch) and one dialog open
  ("Talents", by Ctrl+T, as a player opens it).

Both run the same program, bench_scenes.exe (ScenesProbeWin32.cpp): the
client's start-up and main-loop passes, with a pass counter it prints once a
second; in the game scene it also logs in with the demo account, enters the
game and prints a "state" line when the scene changes (a few dozen
comparisons per pass). Each run gets fresh options (engine, fpslimit 60,
1000 x 700) and the fake game server of the Wine tests. Getting into the
scene waits for conditions with time-outs; the pointer is then parked outside
the window and, after a few seconds to settle, the measured window is a fixed
number of the program's one-second frame reports. Per run:

    fps            passes / the program's own elapsed time
    CPU ms/frame   CPU time of the whole process (all threads: Mesa's
                   llvmpipe and Wine's wined3d threads are in it) / passes
    main ms/frame  the same for the main thread alone (the client's own loop)

The runs go round after round, the back ends and scenes in turn (reversed
every other round), so that the load of a shared machine falls on all alike;
the table gives the median of the rounds with its range. DISPLAY and
WINEPREFIX come from scenes.sh.
"""
import argparse
import os
import queue
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "wine"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "fakeserver"))
import fakeserver as fs  # noqa: E402
import mainloop  # noqa: E402
import sidewindows  # noqa: E402
import winedriver  # noqa: E402
import world  # noqa: E402
from winedriver import Failure  # noqa: E402

ENGINES = {"direct3d": "Direct3D 9", "directdraw": "DirectDraw", "opengl": "OpenGL 1.1"}
SCENES = {"login": "login screen, idle", "game": "game, side windows + Talents"}

# The six standard side windows' frame ids (minimap, inventory, skills,
# friends, party, actions), the two containers', and the talents dialog.
STANDARD_WINDOWS = {44, 46, 51, 72, 93, 224}
CONTAINERS = {20000, 20002}
TALENTS_DIALOG = 241


class ScenesProgram(winedriver.Program):
    def fresh_frames(self, timeout=10):
        """(passes, milliseconds) of the next "frames" line printed from now
        on. The lines queued already are read first, so that the line is
        taken as it comes and a CPU sample taken at once goes with it."""
        while True:
            try:
                line = self._queue.get_nowait()
            except queue.Empty:
                break
            if line is None:
                self._queue.put(None)
                raise Failure("the program ended")
            self.lines.append(line)
        line = self.wait_line(lambda l: l.startswith("frames "), timeout, "a frame report")
        _, passes, ms = line.split()
        return int(passes), int(ms)


def parse_state(line):
    fields = dict(part.split("=", 1) for part in line.split()[1:])
    sides = {}
    for entry in filter(None, fields.get("sides", "").split(",")):
        window, minimised, hidden = (int(v) for v in entry.split(":"))
        sides[window] = (minimised, hidden)
    return {"loaded": fields.get("loaded") == "1", "sides": sides,
            "dialogs": {int(d) for d in filter(None, fields.get("dialogs", "").split(","))},
            "controls": int(fields.get("controls", 0))}


def enter_scene(program, server, side, window):
    """Into the game, every side window shown and the talents dialog open;
    a description of the scene."""
    s = winedriver.StateSession(program, server, window, parse_state)
    program.wait_line(lambda l: l == "screen game", 90, "the game screen")
    s.wait_state(lambda st: st["loaded"] and STANDARD_WINDOWS <= set(st["sides"]),
                 "the six side windows after the login burst", timeout=60)
    for bag in (0, 1):
        side.open(server, bag)
    s.wait_state(lambda st: CONTAINERS <= set(st["sides"]), "the backpack and the pouch")
    winedriver.xdotool("windowfocus", "--sync", window)
    winedriver.xdotool("keydown", "ctrl")
    try:
        winedriver.xdotool("key", "t")
        st = s.wait_state(lambda st: TALENTS_DIALOG in st["dialogs"], '"Talents" by Ctrl+T')
    finally:
        winedriver.xdotool("keyup", "ctrl")
    folded = sorted(w for w, (minimised, hidden) in st["sides"].items() if minimised or hidden)
    if folded:
        raise Failure(f"side windows minimised or hidden: {folded}")
    if st["dialogs"] != {TALENTS_DIALOG}:
        raise Failure(f"dialogs open besides Talents: {sorted(st['dialogs'] - {TALENTS_DIALOG})}")
    return f"{len(st['sides'])} side windows, Talents, {st['controls']} controls"


def run(args, engine, scene):
    """One run of a scene; its figures."""
    side = sidewindows.SideWindows()
    server = fs.FakeServer(gfx_stamp=fs.read_gfx_stamp(args.gfx), behaviours=[world.World(), side],
                           log=lambda text: None)
    page = fs.StatusPage("Benchmark server.")
    options = (f"[options]\r\nengine={engine}\r\nfpslimit=60\r\nwindowwidth={args.width}\r\n"
               f"windowheight={args.height}\r\nwindowmaximized=false\r\n").encode()
    with server, page:
        work = winedriver.prepare_client(args.workdir, args.gfx, server.login_port, options)
        os.environ["VELMORA_STATUS_SERVER"] = f"127.0.0.1:{page.port}"
        program = ScenesProgram(args.source, args.program, [scene], cwd=work)
        with winedriver.running(program):
            window = winedriver.find_window("^Velmora Online", 90, program.process)
            what = enter_scene(program, server, side, window) if scene == "game" else "login screen"
            pid = winedriver.wait_until(lambda: mainloop.pid_working_in("bench_scenes.exe", work), 30,
                                        "the program's process")
            # The pointer outside the window: nothing under it changes.
            winedriver.xdotool("mousemove", 1270, 1010)
            for _ in range(args.settle):
                program.fresh_frames()
            passes0, ms0 = program.fresh_frames()
            cpu0, threads0 = mainloop.cpu_seconds(pid), mainloop.thread_seconds(pid)
            for _ in range(args.seconds):
                passes1, ms1 = program.fresh_frames()
            cpu1, threads1 = mainloop.cpu_seconds(pid), mainloop.thread_seconds(pid)
            load = os.getloadavg()[0]
            if args.shots:
                os.makedirs(args.shots, exist_ok=True)
                subprocess.run(["import", "-silent", "-window", window,
                                os.path.join(args.shots, f"{scene}-{engine}.png")], timeout=60, check=False)
            winedriver.request_close(window)
            code = program.wait_exit(30)
            if code != 0:
                raise Failure(f"the program ended with {code}")
            winedriver.check_no_boxes(program)
        if server.failures:
            raise Failure(f"the fake server found faults: {server.failures}")
    os.environ.pop("VELMORA_STATUS_SERVER", None)
    frames = passes1 - passes0
    seconds = (ms1 - ms0) / 1000
    main = mainloop.thread_groups(pid, threads0, threads1).get("main thread", 0.0)
    return {"fps": frames / seconds, "cpu": 1000 * (cpu1 - cpu0) / frames, "main": 1000 * main / frames,
            "core": 100 * (cpu1 - cpu0) / seconds, "load": load, "what": what}


def spread(values, digits):
    return f"{statistics.median(values):.{digits}f} ({min(values):.{digits}f}-{max(values):.{digits}f})"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--program", required=True, help="bench_scenes.exe")
    parser.add_argument("--gfx", required=True)
    parser.add_argument("--workdir", required=True)
    parser.add_argument("--engines", default="direct3d,directdraw,opengl")
    parser.add_argument("--scenes", default="login,game")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--seconds", type=int, default=10, help="frame reports (seconds) measured per run")
    parser.add_argument("--settle", type=int, default=3, help="frame reports (seconds) let pass first")
    parser.add_argument("--width", type=int, default=1000)
    parser.add_argument("--height", type=int, default=700)
    parser.add_argument("--shots", default="", help="a folder for a picture of each scene at the end of its runs")
    args = parser.parse_args()
    for name in ("source", "program", "gfx", "workdir", "shots"):
        if getattr(args, name):
            setattr(args, name, os.path.abspath(getattr(args, name)))
    if args.rounds < 1 or args.seconds < 1 or args.settle < 0:
        raise SystemExit("--rounds and --seconds need at least 1, --settle at least 0")
    engines = args.engines.split(",")
    scenes = args.scenes.split(",")
    for engine in engines:
        if engine not in ENGINES:
            raise SystemExit(f"unknown back end {engine!r}: one of {', '.join(ENGINES)}")
    for scene in scenes:
        if scene not in SCENES:
            raise SystemExit(f"unknown scene {scene!r}: one of {', '.join(SCENES)}")

    load_before = os.getloadavg()
    results = {}
    order = [(e, s) for e in engines for s in scenes]
    for round_ in range(args.rounds):
        for engine, scene in (order if round_ % 2 == 0 else order[::-1]):
            try:
                r = run(args, engine, scene)
            except Failure as failure:
                raise SystemExit(f"{ENGINES[engine]}, {scene}: {failure}")
            results.setdefault((engine, scene), []).append(r)
            print(f"round {round_ + 1} {ENGINES[engine]:<11} {scene:<5} {r['fps']:5.1f} fps, "
                  f"{r['cpu']:6.2f} ms CPU a frame (main thread {r['main']:.2f}), {r['core']:5.1f} % of a core, "
                  f"load {r['load']:.1f}  [{r['what']}]", flush=True)
    load_after = os.getloadavg()

    print()
    print(f"idle scenes at {args.width} x {args.height}, fpslimit 60: median (min-max) of {args.rounds} runs "
          f"of {args.seconds} s")
    print(f"load average (1, 5, 15 min) before {' '.join(f'{v:.1f}' for v in load_before)}, "
          f"after {' '.join(f'{v:.1f}' for v in load_after)}, on {os.cpu_count()} cores")
    header = f"{'back end':<11}  {'scene':<30} {'fps':>17}  {'CPU ms/frame':>20}  {'main thread ms/frame':>20}"
    print(header)
    print("-" * len(header))
    for engine in engines:
        for scene in scenes:
            runs = results[(engine, scene)]
            print(f"{ENGINES[engine]:<11}  {SCENES[scene]:<30} {spread([r['fps'] for r in runs], 1):>17}  "
                  f"{spread([r['cpu'] for r in runs], 2):>20}  {spread([r['main'] for r in runs], 2):>20}")
    if "login" in scenes and "game" in scenes:
        print()
        print("game / login, CPU ms per frame (median):")
        for engine in engines:
            login = statistics.median(r["cpu"] for r in results[(engine, "login")])
            game = statistics.median(r["cpu"] for r in results[(engine, "game")])
            main_login = statistics.median(r["main"] for r in results[(engine, "login")])
            main_game = statistics.median(r["main"] for r in results[(engine, "game")])
            print(f"  {ENGINES[engine]:<11} process {game / login:5.2f}x, main thread {main_game / main_login:5.2f}x")


if __name__ == "__main__":
    main()
