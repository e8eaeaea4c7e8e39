"""Helpers for the drivers of Windows test programs under Wine.

A driver starts its program with scripts/wine-run on the Xvfb display that
scripts/test set up (DISPLAY and WINEPREFIX come from the environment), reads
the lines the program prints, finds its window by title and drives it with
xdotool. There is no window manager on that display: keyboard input goes to
the window under the pointer (or the one given the focus with windowfocus),
and a close request is the WM_DELETE_WINDOW message a window manager would
send, which Wine turns into WM_CLOSE.
"""
import argparse
import contextlib
import ctypes
import ctypes.util
import glob
import os
import queue
import re
import shutil
import subprocess
import sys
import threading
import time


class Failure(Exception):
    """A check of the driver failed; the message says what was expected."""


def parse_args(extra=None):
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--gfx", default="")
    if extra:
        extra(parser)
    args = parser.parse_args()
    for name in ("DISPLAY", "WINEPREFIX"):
        if not os.environ.get(name):
            raise SystemExit(f"{name} is not set: run this test through scripts/test")
    return args


def scratch_args():
    """The arguments of a driver that works in a scratch folder of its own."""
    args = parse_args(lambda parser: parser.add_argument("--scratch", required=True))
    args.scratch = os.path.abspath(args.scratch)
    return args


def options_folder():
    """The folder of the client's options files in the Wine prefix."""
    roaming = glob.glob(os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", "*", "AppData", "Roaming"))
    if not roaming:
        raise Failure("the Wine prefix has no AppData folder")
    return os.path.join(roaming[0], "VelmoraOnline")


def prepare_client(work, gfx, login_port, options):
    """Fresh options ("velmora.ini" holding `options`) and a fresh working
    directory `work` with the graphics file and a "loginserver.txt" that names
    the fake login server on this machine; returns `work`."""
    folder = options_folder()
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with open(os.path.join(folder, "velmora.ini"), "wb") as f:
        f.write(options)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    shutil.copy(gfx, os.path.join(work, "velmora.gfx"))
    with open(os.path.join(work, "loginserver.txt"), "w") as f:
        f.write(f"127.0.0.1\n{login_port}\n")
    return work


def read_ini_section(path, section):
    """The keys of one section of an ini file the client wrote, in their
    order, with their values as text."""
    keys, values, inside = [], {}, False
    with open(path, "rb") as f:
        for raw in f.read().decode("latin-1").splitlines():
            if raw.startswith("["):
                inside = raw == f"[{section}]"
            elif inside and "=" in raw:
                name, value = raw.split("=", 1)
                keys.append(name)
                values[name] = value
    return keys, values


def wait_server(server, condition, what, timeout=30, show_requests=False):
    """Waits until the fake server's state meets `condition`."""
    if server.wait_for(condition, timeout):
        return
    seen = f"it saw: {server.requests}; " if show_requests else ""
    raise Failure(f"the fake server did not see {what}; {seen}failures: {server.failures}")


class Program:
    """A Windows program under Wine whose standard output is read line by line."""

    def __init__(self, source, program, args=(), cwd=None):
        self.lines = []
        self._queue = queue.Queue()
        self.process = subprocess.Popen(
            [os.path.join(source, "scripts", "wine-run"), program, *args],
            cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            text=True, errors="replace")
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self._queue.put(line.rstrip("\r\n"))
        self._queue.put(None)

    def next_line(self, deadline):
        """The next line, or None once the program has ended; Failure at the deadline."""
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            raise Failure("timed out waiting for the program")
        try:
            line = self._queue.get(timeout=remaining)
        except queue.Empty:
            raise Failure("timed out waiting for the program") from None
        if line is not None:
            self.lines.append(line)
        else:
            self._queue.put(None)  # stays at the end for later readers
        return line

    def wait_line(self, predicate, timeout, what):
        """Reads lines until one matches; the lines read before it are kept in self.lines."""
        deadline = time.monotonic() + timeout
        while True:
            line = self.next_line(deadline)
            if line is None:
                raise Failure(f"the program ended before {what}")
            if predicate(line):
                return line

    def read_rest(self, timeout, until=None):
        """Keeps what the ended program printed, up to the line that matches
        `until` when one is given. The output's end may come late or not at
        all: a Wine service that this program started (wineserver, explorer)
        inherits the pipe and holds it while it lives, so the time-out ends
        the reading quietly."""
        deadline = time.monotonic() + timeout
        try:
            while True:
                line = self.next_line(deadline)
                if line is None or (until is not None and until(line)):
                    return
        except Failure:
            pass

    def wait_exit(self, timeout):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout} s") from None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class StateSession:
    """A run whose program prints its state as "state key=value ..." lines:
    the latest state as `parse` reads it, waits on it, and the fake server's
    requests of the game connection."""

    def __init__(self, program, server, window, parse):
        self.program = program
        self.server = server
        self.window = window
        self.parse = parse
        self.state = {}

    def wait_state(self, predicate, what, timeout=20):
        """Waits for a state line for which predicate holds (the latest one counts)."""
        if self.state and predicate(self.state):
            return self.state

        def matches(line):
            if not line.startswith("state "):
                return False
            self.state = self.parse(line)
            return predicate(self.state)
        self.program.wait_line(matches, timeout, what)
        return self.state

    def requests(self, opcode):
        return self.server.requests_of(opcode, "game")


@contextlib.contextmanager
def running(program, tail=30, clean=()):
    """The body runs with the program: on a failure its last `tail` lines are
    printed; at the end it is stopped and the `clean` folders go."""
    try:
        yield program
    except Failure:
        print("program said:\n  " + "\n  ".join(program.lines[-tail:]))
        raise
    finally:
        program.stop()
        for folder in clean:
            shutil.rmtree(folder, ignore_errors=True)


@contextlib.contextmanager
def client_run(args, status_port, cwd, tail=20):
    """The program under test, told the status page's address, run as
    `running` runs it; its options and scratch folder go at the end."""
    os.environ["VELMORA_STATUS_SERVER"] = f"127.0.0.1:{status_port}"
    try:
        with running(Program(args.source, args.program, cwd=cwd), tail,
                     clean=(options_folder(), args.scratch)) as program:
            yield program
    finally:
        os.environ.pop("VELMORA_STATUS_SERVER", None)


def game_window(program, timeout=90):
    """The client's window once its game screen is up, with the keyboard focus."""
    window = find_window("^Velmora Online", timeout, program.process)
    program.wait_line(lambda l: l == "screen game", timeout, "the game screen")
    xdotool("windowfocus", "--sync", window)
    return window


def close_cleanly(program, window, server):
    """The window's close request ends the program with 0; it showed no
    message box, and the fake server's strict decoder took every request.
    The program's lines up to its last ("ended") are read into its `lines`."""
    request_close(window)
    code = program.wait_exit(30)
    if code != 0:
        raise Failure(f"the program ended with {code}")
    program.read_rest(10, until=lambda line: line == "ended")
    check_no_boxes(program)
    if server.failures:
        raise Failure(f"the fake server found faults: {server.failures}")


def check_no_boxes(program):
    """The client showed no message box (the probes print them instead)."""
    boxes = [line for line in program.lines if line.startswith("platform box")]
    if boxes:
        raise Failure(f"the client showed {boxes}")


class Report:
    """Checks that go on after a failure: each prints one line ("ok" or
    "FAIL"); the failures are kept for the end."""

    def __init__(self):
        self.failures = []

    def check(self, ok, text):
        print(("ok    " if ok else "FAIL  ") + text, flush=True)
        if not ok:
            self.failures.append(text)


def stage(text):
    """A step of a Report's run that checks nothing itself."""
    print("..    " + text, flush=True)


def frames_after(program, count=3, timeout=30):
    """Waits until the program has reported `count` more frame counts."""
    seen = [0]

    def more(line):
        if line.startswith("frames "):
            seen[0] += 1
        return seen[0] >= count
    program.wait_line(more, timeout, f"{count} frame reports")


def xdotool(*args, timeout=10):
    try:
        result = subprocess.run(["xdotool", *[str(a) for a in args]], capture_output=True, text=True,
                                timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"xdotool {' '.join(map(str, args))} did not finish within {timeout} s") from None
    if result.returncode != 0:
        raise Failure(f"xdotool {' '.join(map(str, args))} failed: {result.stderr.strip()}")
    return result.stdout.strip()


def wait_until(condition, timeout, what="the condition", interval=0.05):
    """Polls condition() until it gives a true value and returns that value;
    Failure naming `what` when the time is up. The one way a driver waits:
    for a condition with a time-out, never for a fixed time, since the
    machines are shared and slow ones take longer."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def windows_named(pattern):
    """The ids of the X windows whose names match the regular expression."""
    result = subprocess.run(["xdotool", "search", "--name", pattern], capture_output=True, text=True)
    return result.stdout.split()


def find_window(pattern, timeout, process=None):
    """The first X window whose name matches the regular expression. Fails when
    the time is up, or at once when the given process (a subprocess.Popen) has
    ended without showing it."""
    def found():
        ids = windows_named(pattern)
        if ids:
            return ids[0]
        if process is not None and process.poll() is not None:
            raise Failure(f"the program ended ({process.returncode}) before a window named {pattern!r} appeared")
        return None
    return wait_until(found, timeout, f"a window named {pattern!r}", interval=0.1)


def pointer_position():
    """The pointer's (x, y) on the screen."""
    fields = dict(part.split(":", 1) for part in xdotool("getmouselocation").split())
    return int(fields["x"]), int(fields["y"])


def window_origin(window):
    """The screen position of the window's top-left corner."""
    geometry = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window).split())
    return int(geometry["X"]), int(geometry["Y"])


def move_pointer(x, y, window=None):
    """Moves the pointer to (x, y) on the screen, or inside the window when one
    is given, and waits until it is there; a click after it lands there.

    Only the X server is waited for, not the program: Wine merges pointer
    motions that reach it together, so a trip away and back to the point
    where the pointer rested can reach the program as no move at all."""
    target = (int(x), int(y))
    if window is not None:
        left, top = window_origin(window)
        target = (left + int(x), top + int(y))
    xdotool("mousemove", *target)
    wait_until(lambda: pointer_position() == target, 10, f"the pointer at {target}")


def click_at(x, y, window=None, button=1):
    move_pointer(x, y, window)
    xdotool("click", button)


def window_name(window):
    """The X window's name, or None once it is gone."""
    result = subprocess.run(["xdotool", "getwindowname", str(window)], capture_output=True, text=True)
    return result.stdout.strip() if result.returncode == 0 else None


def wait_window(title, timeout):
    """The X window whose name is exactly the title."""
    return find_window("^" + re.escape(title) + "$", timeout)


class Shot:
    """A screenshot of a window's client area (ImageMagick's import)."""

    def __init__(self, window):
        data = subprocess.run(["import", "-silent", "-window", window, "-depth", "8", "ppm:-"], capture_output=True,
                              timeout=60).stdout
        tokens = []
        pos = 0
        while len(tokens) < 4:
            match = re.compile(rb"\s*(#[^\n]*\n\s*)*(\S+)").match(data, pos)
            if not match:
                raise Failure("import gave no picture of the window")
            tokens.append(match.group(2))
            pos = match.end()
        if tokens[0] != b"P6" or tokens[3] != b"255":
            raise Failure(f"unexpected picture format from import: {tokens}")
        self.width, self.height = int(tokens[1]), int(tokens[2])
        self.pixels = data[pos + 1:]

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def region(self, left, top, right, bottom):
        return [self.at(x, y) for y in range(top, bottom) for x in range(left, right)]


def changed(before, after, left, top, right, bottom):
    """How many pixels of the region differ between two screenshots."""
    return sum(a != b for a, b in zip(before.region(left, top, right, bottom), after.region(left, top, right, bottom)))


def unix_path(source, windows_path):
    """The Unix path of a Windows path of the Wine prefix."""
    result = subprocess.run([os.path.join(source, "scripts", "wine-run"), "winepath", "-u", windows_path],
                            capture_output=True, text=True, timeout=60)
    return result.stdout.strip()


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def request_close(window):
    """Asks the window to close as a window manager does (WM_DELETE_WINDOW).

    xdotool cannot: its windowclose destroys the X window behind Wine's back,
    and Alt+F4 never reaches the default window procedure of a window that
    handles WM_SYSKEYDOWN itself.
    """
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        raise Failure("cannot open the X display")
    try:
        event = _XEvent()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = int(window)
        event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        if not x11.XSendEvent(display, int(window), 0, 0, ctypes.byref(event)):
            raise Failure("sending WM_DELETE_WINDOW failed")
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)


def run(main):
    """Runs a driver's main function; prints the failure and exits non-zero on one."""
    try:
        main()
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        sys.exit(1)
