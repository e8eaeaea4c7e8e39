#!/usr/bin/env python3
"""Start-up of the client under Wine: the window and its title, the back-end
fallback boxes, the graphics-file boxes, the exit codes, and the window size
saved in velmora.ini when the window is closed.

velmora.exe is run as built. Where this build has no working back end it offers
the fallbacks; the driver accepts two of them and declines the third, and the
program must end with code 1 and its line on standard output. The stand-in
program (velmora.exe with a back end that draws nothing, its message boxes
echoed to standard output) then covers what comes after the back end: the
graphics-file check and closing the window.
"""
import argparse
import glob
import os
import re
import shutil
import struct
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import winedriver  # noqa: E402

FAILED_LINE = "Main instance creation failed, exiting..."
GOOD_STAMP = 1500000000
OLD_STAMP = 1403107799

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)
    return condition


def windows(name_regex):
    """Ids of the windows whose name matches."""
    result = subprocess.run(["xdotool", "search", "--name", name_regex],
                            capture_output=True, text=True)
    return [w for w in result.stdout.split() if w]


def window_name(window):
    result = subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True)
    return result.stdout.strip()


def wait_for(name_regex, process, timeout):
    """The first window matching, or None when the time is up or the process ended."""
    def found():
        ids = windows(name_regex)
        if ids:
            return ids[0]
        return "ended" if process.poll() is not None else None

    try:
        window = winedriver.wait_until(found, timeout, f"a window named {name_regex!r}", interval=0.1)
    except winedriver.Failure:
        return None
    return None if window == "ended" else window


def gone(condition, timeout):
    """Waits until the condition holds; False when the time is up."""
    try:
        winedriver.wait_until(condition, timeout)
        return True
    except winedriver.Failure:
        return False


def press(window, key):
    """A key to a window: the focus first (the key follows it in order)."""
    subprocess.run(["xdotool", "windowfocus", "--sync", window], capture_output=True, timeout=10)
    subprocess.run(["xdotool", "key", key], capture_output=True)


class Client:
    """One run of a program in a scratch working directory."""

    def __init__(self, source, program, workdir):
        self.workdir = workdir
        self.out = open(os.path.join(workdir, "stdout.txt"), "w+")
        wine_run = os.path.join(source, "scripts", "wine-run")
        self.process = subprocess.Popen([wine_run, program], cwd=workdir, stdout=self.out,
                                        stderr=subprocess.DEVNULL)

    def wait(self, timeout):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def output(self):
        self.out.flush()
        with open(self.out.name) as f:
            return f.read()

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.out.close()


def scratch(root, name, gfx, stamp, cut=None):
    """A fresh working directory with a graphics file of the stamp (None: no
    file), cut to the length that cut gives for the whole one's (None: whole)."""
    path = os.path.join(root, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    if stamp is not None:
        with open(gfx, "rb") as f:
            data = struct.pack("<I", stamp) + f.read()[4:]
        if cut is not None:
            data = data[:cut(len(data))]
        with open(os.path.join(path, "velmora.gfx"), "wb") as f:
            f.write(data)
    return path


def options_folders():
    prefix = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
    return glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Roaming", "VelmoraOnline"))


def clear_options():
    for folder in options_folders():
        shutil.rmtree(folder, ignore_errors=True)


def write_options(text):
    prefix = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
    roaming = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Roaming"))
    for folder in roaming:
        os.makedirs(os.path.join(folder, "VelmoraOnline"), exist_ok=True)
        with open(os.path.join(folder, "VelmoraOnline", "velmora.ini"), "wb") as f:
            f.write(text.encode("latin-1"))


def read_options():
    for folder in options_folders():
        path = os.path.join(folder, "velmora.ini")
        if os.path.exists(path):
            with open(path, "rb") as f:
                return f.read().decode("latin-1")
    return None


def close_and_check_saved_size(args, client, label, expected=None):
    """Closes the main window as its close button does; the program must end
    with 0 and leave the window size in velmora.ini: the expected client size
    and maximised flag when given, otherwise a plausible one."""
    subprocess.run([os.path.join(args.source, "scripts", "wine-run"), args.closer], capture_output=True)
    code = client.wait(30)
    check(code == 0, f"{label}: closing the window ends the program with 0 (got {code})")
    options = read_options()
    if check(options is not None, f"{label}: closing the window writes velmora.ini"):
        check("\r\n" in options, f"{label}: velmora.ini has CR LF line ends")
        width = re.search(r"^windowwidth=(\d+)\r?$", options, re.M)
        height = re.search(r"^windowheight=(\d+)\r?$", options, re.M)
        maximised = re.search(r"^windowmaximized=(true|false)\r?$", options, re.M)
        check(width and height and maximised, f"{label}: velmora.ini holds the window size:\n{options}")
        if width and height and maximised:
            saved = (int(width.group(1)), int(height.group(1)), maximised.group(1))
            if expected:
                check(saved == expected, f"{label}: the saved size is {expected} (got {saved})")
            else:
                check(saved[0] > 400 and saved[1] > 300, f"{label}: the saved size is the window's ({saved})")


def real_program(args):
    """velmora.exe as built: its window, then either the fallback boxes (no back
    end works here) or a running client that closes cleanly."""
    clear_options()
    workdir = scratch(args.scratch, "velmora", args.gfx, GOOD_STAMP)
    client = Client(args.source, args.program, workdir)
    try:
        window = wait_for("^Velmora Online", client.process, 60)
        if not check(window is not None, "velmora.exe opens its window"):
            return
        check(window_name(window).startswith("Velmora Online"), "the window is titled Velmora Online")
        # Direct3D 9 is the default. Accept the first two offers (DirectDraw,
        # then OpenGL and back to Direct3D 9) and decline the third.
        boxes = 0
        for answer in ("y", "y", "n"):
            box = wait_for("^Error$", client.process, 8)
            if box is None:
                break
            boxes += 1
            press(box, answer)
            # The answered box must be gone before the next is looked for.
            gone(lambda: box not in windows("^Error$"), 5)
        if boxes == 0 or client.process.poll() is None and boxes < 3:
            # A back end works: the client runs until its window is closed.
            close_and_check_saved_size(args, client, "velmora.exe")
            return
        check(boxes == 3, f"each declined or failed back end offers the next ({boxes} boxes)")
        code = client.wait(30)
        check(code == 1, f"no back end left: exit code 1 (got {code})")
        check(FAILED_LINE in client.output(), "no back end left: the failure line is printed")
    finally:
        client.stop()


def stand_in_runs_and_saves(args):
    clear_options()
    write_options("[options]\r\nwindowwidth=900\r\nwindowheight=640\r\nwindowmaximized=false\r\n")
    workdir = scratch(args.scratch, "runs", args.gfx, GOOD_STAMP)
    with open(os.path.join(workdir, "Velmora_old.exe"), "wb") as f:
        f.write(b"MZ")
    client = Client(args.source, args.stand_in, workdir)
    try:
        window = wait_for("^Velmora Online", client.process, 60)
        if not check(window is not None, "stand-in: the window opens with a good graphics file"):
            return
        # Boxes come during start-up, before the main loop, which shows the
        # frame rate in the title after its first second.
        check(gone(lambda: window_name(window).startswith("Velmora Online [FPS: "), 30),
              "stand-in: the main loop runs")
        check(not windows("Error$"), "stand-in: no box with a good graphics file")
        subprocess.run(["xdotool", "windowsize", window, "820", "610"], capture_output=True)
        check(gone(lambda: "client-size 820 610" in client.output(), 30), "stand-in: the client takes the new size")
        check(not os.path.exists(os.path.join(workdir, "Velmora_old.exe")), "Velmora_old.exe is removed at start")
        check(client.process.poll() is None, "stand-in: the client keeps running")
        # The client area follows the X window; a resize is stored at once and
        # saved on close.
        close_and_check_saved_size(args, client, "stand-in", (820, 610, "false"))
        check("box:" not in client.output(), "stand-in: no box was shown:\n" + client.output())
    finally:
        client.stop()


def stand_in_refuses(args, name, stamp, cut, text):
    clear_options()
    workdir = scratch(args.scratch, name, args.gfx, stamp, cut)
    client = Client(args.source, args.stand_in, workdir)
    try:
        box = wait_for("^Load Error$", client.process, 60)
        if not check(box is not None, f"{name} graphics file: a Load Error box appears"):
            return
        check(f"box: Load Error: {text}" in client.output(),
              f"{name} graphics file: the box says '{text}':\n{client.output()}")
        press(box, "Return")
        code = client.wait(30)
        check(code is not None and code != 0, f"{name} graphics file: the program ends with a non-zero code ({code})")
        check(FAILED_LINE in client.output(), f"{name} graphics file: the failure line is printed")
    finally:
        client.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--stand-in", dest="stand_in", required=True)
    parser.add_argument("--closer", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--gfx", required=True)
    parser.add_argument("--scratch", required=True)
    args = parser.parse_args()
    for name in ("program", "stand_in", "closer", "source", "gfx", "scratch"):
        setattr(args, name, os.path.abspath(getattr(args, name)))

    real_program(args)
    stand_in_runs_and_saves(args)
    missing = "The graphics file velmora.gfx is missing."
    old = "The graphics file velmora.gfx is old - please reinstall your client."
    refused = [
        ("missing", None, None, missing),
        ("old", OLD_STAMP, None, old),
        # A file cut short is refused like an old one: reinstalling mends both.
        ("empty", GOOD_STAMP, lambda whole: 0, old),
        ("cut-short", GOOD_STAMP, lambda whole: whole // 2, old),
    ]
    for name, stamp, cut, text in refused:
        stand_in_refuses(args, name, stamp, cut, text)

    shutil.rmtree(args.scratch, ignore_errors=True)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
