#!/usr/bin/env python3
"""The client's idle login screen against the floor programs, side by side.

For each back end, runs velmora.exe and the floor program of that back end
one after the other, round after round (interleaved, so that the load of a
shared machine falls on both alike), and measures each run as
bench/mainloop/mainloop.py does: the CPU time of the whole process in % of one
core, split by thread (the main thread, Mesa's llvmpipe threads, Wine's
wined3d command thread), and the frame rate from the window title. Prints the
medians with their spread and the ratio of the client to its floor.
DISPLAY and WINEPREFIX come from run.sh.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "mainloop"))
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "wine"))
import mainloop  # noqa: E402
import winedriver  # noqa: E402

ENGINES = {"direct3d": ("Direct3D 9", "floor_direct3d9.exe"),
           "opengl": ("OpenGL", "floor_opengl.exe"),
           "directdraw": ("DirectDraw", "floor_directdraw.exe")}


def set_csmt(source, value):
    subprocess.run([os.path.join(source, "scripts", "wine-run"), "reg", "add", r"HKCU\Software\Wine\Direct3D",
                    "/v", "csmt", "/t", "REG_DWORD", "/d", str(value), "/f"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)


def measure(args, program, window_pattern, workdir, program_args=()):
    """One run: CPU % of the process, of its thread kinds, and the mean rate."""
    process = winedriver.Program(args.source, program, program_args, cwd=workdir)
    try:
        window = winedriver.find_window(window_pattern, 60, process.process)
        pid = mainloop.pid_working_in(os.path.basename(program), workdir)
        if pid is None:
            raise SystemExit(f"no process of {program} found")
        time.sleep(args.settle)
        start = time.monotonic()
        cpu0 = mainloop.cpu_seconds(pid)
        threads0 = mainloop.thread_seconds(pid)
        rates = []
        for second in range(args.seconds):
            time.sleep(max(0.0, start + second + 0.5 - time.monotonic()))
            match = re.search(r"\[FPS: (\d+)\]", winedriver.xdotool("getwindowname", window))
            if match:
                rates.append(int(match.group(1)))
        time.sleep(max(0.0, start + args.seconds - time.monotonic()))
        wall = time.monotonic() - start
        cpu = mainloop.cpu_seconds(pid) - cpu0
        groups = mainloop.thread_groups(pid, threads0, mainloop.thread_seconds(pid))
        winedriver.request_close(window)
        process.wait_exit(30)
    finally:
        process.stop()
    fps = statistics.mean(rates) if rates else 0.0
    # CPU per frame as well: on a loaded machine the rate drops, and the
    # per-frame cost compares better than the share of a core.
    result = {"process": 100 * cpu / wall, "fps": fps, "ms/frame": 1000 * cpu / (fps * wall) if fps else 0.0}
    for kind, seconds in groups.items():
        result[kind] = 100 * seconds / wall
    return result


def run_client(args, engine, program=None):
    workdir = os.path.join(args.workdir, "client")
    shutil.rmtree(workdir, ignore_errors=True)
    os.makedirs(workdir)
    shutil.copy(program or args.program, os.path.join(workdir, "velmora.exe"))
    shutil.copy(args.gfx, os.path.join(workdir, "velmora.gfx"))
    folder = mainloop.options_folder()
    os.makedirs(folder, exist_ok=True)
    ini = os.path.join(folder, "velmora.ini")
    saved = open(ini, "rb").read() if os.path.exists(ini) else None
    with open(ini, "wb") as f:
        f.write((f"[options]\r\nengine={engine}\r\nfpslimit=60\r\nwindowwidth={args.width}\r\n"
                 f"windowheight={args.height}\r\nwindowmaximized=false\r\n").encode())
    try:
        return measure(args, os.path.join(workdir, "velmora.exe"), "^Velmora Online", workdir)
    finally:
        if saved is None:
            os.remove(ini)
        else:
            with open(ini, "wb") as f:
                f.write(saved)


def run_floor(args, engine):
    workdir = os.path.join(args.workdir, "floor")
    os.makedirs(workdir, exist_ok=True)
    program = os.path.join(args.floors, ENGINES[engine][1])
    return measure(args, program, "^Velmora floor", workdir, (str(args.width), str(args.height)))


def spread(values):
    return f"{statistics.median(values):6.1f} ({min(values):.0f}-{max(values):.0f})"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--program", required=True, help="velmora.exe")
    parser.add_argument("--floors", required=True, help="the folder of the floor programs")
    parser.add_argument("--gfx", required=True)
    parser.add_argument("--workdir", required=True)
    parser.add_argument("--engines", default="direct3d,opengl,directdraw")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--seconds", type=int, default=10)
    parser.add_argument("--settle", type=float, default=3.0)
    parser.add_argument("--width", type=int, default=1000)
    parser.add_argument("--height", type=int, default=700)
    parser.add_argument("--baseline", default="",
                        help="another velmora.exe (an earlier build) to run in the same rounds, as 'before'")
    parser.add_argument("--csmt", choices=["keep", "on", "off", "both"], default="keep",
                        help="Wine's command-stream threading for the runs (the prefix's setting by default)")
    args = parser.parse_args()
    for name in ("workdir", "program", "floors", "gfx", "baseline"):
        if getattr(args, name):
            setattr(args, name, os.path.abspath(getattr(args, name)))
    engines = args.engines.split(",")
    settings = {"keep": [None], "on": [1], "off": [0], "both": [1, 0]}[args.csmt]

    results = {}  # (engine, csmt, "client" | "floor") -> list of runs
    for round_ in range(args.rounds):
        for engine in engines:
            for csmt in settings:
                if csmt is not None:
                    set_csmt(args.source, csmt)
                # Alternate which goes first, so neither always follows the other.
                order = [("client", run_client), ("floor", run_floor)]
                if args.baseline:
                    order.insert(0, ("before", lambda a, e: run_client(a, e, a.baseline)))
                if round_ % 2:
                    order.reverse()
                for kind, run in order:
                    result = run(args, engine)
                    results.setdefault((engine, csmt, kind), []).append(result)
                    threads = ", ".join(f"{k} {v:.0f}" for k, v in sorted(result.items())
                                        if k not in ("process", "fps", "ms/frame") and v >= 1)
                    print(f"round {round_ + 1} {ENGINES[engine][0]:<10} csmt {'-' if csmt is None else csmt} "
                          f"{kind:<6} {result['process']:6.1f} % at {result['fps']:.1f} fps, {result['ms/frame']:.2f} ms a frame  [{threads}]",
                          flush=True)

    print()
    print(f"idle login screen {args.width} x {args.height}, fpslimit 60, {args.rounds} rounds of {args.seconds} s; "
          "CPU in % of one core, median (min-max)")
    print(f"{'back end':<20} {'csmt':>4} {'client':>16} {'floor':>16} {'ratio':>6} "
          f"{'main: client':>19} {'floor':>16} {'ratio':>6} {'fps c/f':>8} {'ms/frame c/f':>13} {'ratio':>6}")
    clients = ["before", "client"] if args.baseline else ["client"]
    for engine in engines:
        for csmt, which in [(c, w) for c in settings for w in clients]:
            client = results[(engine, csmt, which)]
            floor = results[(engine, csmt, "floor")]
            c = [r["process"] for r in client]
            f = [r["process"] for r in floor]
            cm = [r.get("main thread", 0.0) for r in client]
            fm = [r.get("main thread", 0.0) for r in floor]
            ratio = statistics.median(c) / max(statistics.median(f), 0.1)
            main_ratio = statistics.median(cm) / max(statistics.median(fm), 0.1)
            fps = f"{statistics.median([r['fps'] for r in client]):.0f}/{statistics.median([r['fps'] for r in floor]):.0f}"
            cms = statistics.median([r["ms/frame"] for r in client])
            fms = statistics.median([r["ms/frame"] for r in floor])
            per_frame = f"{cms:.1f}/{fms:.1f}"
            label = ENGINES[engine][0] + (" (before)" if which == "before" else "")
            print(f"{label:<20} {'-' if csmt is None else csmt:>4} {spread(c):>16} {spread(f):>16} "
                  f"{ratio:5.2f}x {spread(cm):>19} {spread(fm):>16} {main_ratio:5.2f}x {fps:>8} {per_frame:>13} "
                  f"{cms / max(fms, 0.01):5.2f}x")
    print()
    print("by thread, median % of one core (client / floor):")
    for engine in engines:
        for csmt, which in [(c, w) for c in settings for w in clients]:
            client = results[(engine, csmt, which)]
            floor = results[(engine, csmt, "floor")]
            kinds = sorted({k for r in client + floor for k in r if k not in ("process", "fps", "ms/frame")})
            parts = []
            for kind in kinds:
                cv = statistics.median([r.get(kind, 0.0) for r in client])
                fv = statistics.median([r.get(kind, 0.0) for r in floor])
                if cv >= 0.5 or fv >= 0.5:
                    parts.append(f"{kind} {cv:.0f}/{fv:.0f}")
            print(f"  {ENGINES[engine][0]:<11} {which:<6} csmt {'-' if csmt is None else csmt}: " + ", ".join(parts))


if __name__ == "__main__":
    main()
