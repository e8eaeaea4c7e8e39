#!/usr/bin/env python3
"""The client's main loop on the idle login screen: frames per second and CPU.

Starts velmora.exe under Wine (DISPLAY and WINEPREFIX from the caller, as
run.sh sets them) with a velmora.ini that names the back end and the frame
limit, lets it settle, then for the measured seconds reads the frame rate the
client shows in its window title once a second and the CPU time of the
velmora.exe process from /proc (all its threads, the software renderer's
included). wineserver and Xvfb are reported beside it: they work for the
client too, but in processes of their own.
"""
import argparse
import glob
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "wine"))
import winedriver  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """User plus system time of a process and all its threads, in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def thread_seconds(pid):
    """CPU seconds of each thread of a process, by thread id, with its name."""
    result = {}
    for task in glob.glob(f"/proc/{pid}/task/[0-9]*"):
        try:
            with open(os.path.join(task, "stat")) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            with open(os.path.join(task, "comm")) as f:
                name = f.read().strip()
        except OSError:
            continue
        result[int(os.path.basename(task))] = (name, (int(fields[11]) + int(fields[12])) / TICKS)
    return result


def thread_groups(pid, before, after):
    """CPU seconds between two thread snapshots, by kind of thread: the main
    thread (the client's own loop), the renderer's threads by name with their
    numbers dropped, and the rest."""
    groups = {}
    for tid, (name, seconds) in after.items():
        spent = seconds - before.get(tid, (name, 0.0))[1]
        kind = "main thread" if tid == pid else re.sub(r"-?\d+$", "", name)
        groups[kind] = groups.get(kind, 0.0) + spent
    return groups


def pids_named(name):
    """The processes whose command name is the name (which the kernel keeps
    to its first 15 characters)."""
    found = []
    for path in glob.glob("/proc/[0-9]*/comm"):
        try:
            with open(path) as f:
                if f.read().strip() == name[:15]:
                    found.append(int(path.split("/")[2]))
        except OSError:
            pass
    return found


def pid_working_in(name, workdir):
    """The process of that name started in the work directory, or None."""
    for pid in pids_named(name):
        try:
            if os.path.realpath(os.readlink(f"/proc/{pid}/cwd")) == os.path.realpath(workdir):
                return pid
        except OSError:
            pass
    return None


def client_pid(workdir):
    """The velmora.exe process started in the work directory."""
    return pid_working_in("velmora.exe", workdir)


def wineserver_pids():
    """The wineserver of our Wine prefix (other prefixes have their own)."""
    prefix = os.path.realpath(os.environ["WINEPREFIX"]).encode()
    found = []
    for pid in pids_named("wineserver"):
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                environ = f.read().split(b"\0")
        except OSError:
            continue
        for entry in environ:
            if entry.startswith(b"WINEPREFIX=") and os.path.realpath(entry[len(b"WINEPREFIX="):]) == prefix:
                found.append(pid)
    return found


def options_folder():
    prefix = os.environ["WINEPREFIX"]
    roaming = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Roaming"))
    if not roaming:
        raise SystemExit("the Wine prefix has no AppData folder")
    return os.path.join(roaming[0], "VelmoraOnline")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("--gfx", required=True)
    parser.add_argument("--workdir", required=True)
    parser.add_argument("--xvfb-pid", dest="xvfb_pid", type=int, default=0,
                        help="the Xvfb serving DISPLAY, to report its CPU time as well")
    parser.add_argument("--seconds", type=int, default=5)
    parser.add_argument("--settle", type=float, default=3.0)
    parser.add_argument("--engine", default="direct3d")
    parser.add_argument("--fpslimit", type=int, default=60)
    parser.add_argument("--width", type=int, default=1000)
    parser.add_argument("--height", type=int, default=700)
    args = parser.parse_args()

    workdir = os.path.abspath(args.workdir)
    shutil.rmtree(workdir, ignore_errors=True)
    os.makedirs(workdir)
    shutil.copy(args.program, os.path.join(workdir, "velmora.exe"))
    shutil.copy(args.gfx, os.path.join(workdir, "velmora.gfx"))

    # The prefix's options are the tests' scratch; keep whatever is there.
    folder = options_folder()
    os.makedirs(folder, exist_ok=True)
    ini = os.path.join(folder, "velmora.ini")
    saved = open(ini, "rb").read() if os.path.exists(ini) else None
    with open(ini, "wb") as f:
        f.write((f"[options]\r\nengine={args.engine}\r\nfpslimit={args.fpslimit}\r\n"
                 f"windowwidth={args.width}\r\nwindowheight={args.height}\r\nwindowmaximized=false\r\n").encode())

    program = winedriver.Program(args.source, os.path.join(workdir, "velmora.exe"), cwd=workdir)
    try:
        window = winedriver.find_window("^Velmora Online", 60)
        pid = client_pid(workdir)
        if pid is None:
            raise SystemExit("no velmora.exe process found")
        time.sleep(args.settle)

        helpers = {"wineserver": wineserver_pids()}
        if args.xvfb_pid:
            helpers["Xvfb"] = [args.xvfb_pid]
        start_wall = time.monotonic()
        start_cpu = cpu_seconds(pid)
        start_threads = thread_seconds(pid)
        start_helpers = {name: sum(cpu_seconds(p) for p in pids) for name, pids in helpers.items()}
        # The client writes its rate into the title once a second: read it
        # once a second, half a second after the start.
        rates = []
        for second in range(args.seconds):
            time.sleep(max(0.0, start_wall + second + 0.5 - time.monotonic()))
            match = re.search(r"\[FPS: (\d+)\]", winedriver.xdotool("getwindowname", window))
            if match:
                rates.append(int(match.group(1)))
        time.sleep(max(0.0, start_wall + args.seconds - time.monotonic()))
        wall = time.monotonic() - start_wall
        cpu = cpu_seconds(pid) - start_cpu
        threads = thread_groups(pid, start_threads, thread_seconds(pid))
        helper_cpu = {name: sum(cpu_seconds(p) for p in pids) - start_helpers[name]
                      for name, pids in helpers.items()}

        winedriver.request_close(window)
        program.wait_exit(30)
    finally:
        program.stop()
        if saved is None:
            if os.path.exists(ini):
                os.remove(ini)
        else:
            with open(ini, "wb") as f:
                f.write(saved)

    print(f"back end {args.engine}, fpslimit {args.fpslimit}, client area {args.width} x {args.height}, "
          f"{wall:.1f} s measured")
    if rates:
        print(f"frames per second (window title, once a second): mean {statistics.mean(rates):.1f}, "
              f"min {min(rates)}, max {max(rates)}  {rates}")
    else:
        print("frames per second: the window title showed no rate")
    print(f"velmora.exe CPU: {cpu:.2f} s = {100 * cpu / wall:.1f} % of one core")
    for kind, seconds in sorted(threads.items(), key=lambda item: -item[1]):
        if seconds > 0:
            print(f"    {kind}: {seconds:.2f} s = {100 * seconds / wall:.1f} %")
    for name, seconds in helper_cpu.items():
        print(f"{name} CPU: {seconds:.2f} s = {100 * seconds / wall:.1f} % of one core")


if __name__ == "__main__":
    main()
