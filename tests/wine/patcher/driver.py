#!/usr/bin/env python3
"""The self-update under Wine, from the login on.

The fake login server (tests/fakeserver) answers the typed login with the new
version message "Download the new client from the website."; the client's
"New Version" box offers "Patch", which the driver clicks. A package made here
with Info-ZIP's zip (the test's patch program as "patch.exe" and a few data
files in folders) is served by an HTTP server on loopback at the path of its
version; the client is pointed at it with VELMORA_PATCH_SERVER.

The good road, with velmora.exe as built: the client downloads the package,
unpacks it into the common application-data folder (without the package's own
"patch.exe"), starts the "patch.exe" beside it, which leaves its marker, and
ends with exit code 0.

The failing roads (the file missing, no server, an answer cut short, a broken
package), with the stand-in that reports the GUI's boxes on standard output:
the client shows the "Patching Error" box with the reason, starts nothing and
goes on running until its window is closed.
"""
import glob
import http.server
import os
import shutil
import socket
import subprocess
import sys
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import fakeserver  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure, find_window  # noqa: E402

VERSION = 612
WIDTH, HEIGHT = 1000, 700
# The "Patch" button of the GUI's message box, in the middle of the client area.
PATCH_BUTTON = (WIDTH // 2, HEIGHT // 2 - 22)
PACKAGE_PATH = f"/velmoramedia/client/velmora_{VERSION}.zip"
TOP = "velmora-patch-test"  # the package's top folder inside the common folder
MARKER = "patch-ran.txt"

# name -> bytes of the data files of the package, under TOP.
DATA_FILES = {
    "readme.txt": b"Velmora Online patch\r\n",
    "data/items.dat": bytes(range(256)) * 40,
    "data/maps/world.map": b"\x00\x01\x02\x03" * 5000,
    "sounds/empty.wav": b"",
}


class PackageServer:
    """An HTTP file server on 127.0.0.1 that answers as `mode` says."""

    def __init__(self, package):
        self.package = package
        self.mode = "ok"
        self.requests = []
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                outer.requests.append((self.path, self.headers.get("User-Agent"), self.headers.get("Host")))
                if self.path != PACKAGE_PATH or outer.mode == "missing":
                    self.answer(404, b"not here")
                elif outer.mode == "cut":
                    # The length of the whole, half of it, then the end.
                    self.send_response(200)
                    self.send_header("Content-Length", str(len(outer.package)))
                    self.end_headers()
                    self.wfile.write(outer.package[:len(outer.package) // 2])
                    self.wfile.flush()
                    self.close_connection = True
                elif outer.mode == "broken":
                    self.answer(200, outer.package[:len(outer.package) // 2])
                else:
                    self.answer(200, outer.package)

            def answer(self, status, body):
                self.send_response(status)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


def refusing_port():
    """A port on 127.0.0.1 where nothing listens."""
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    return port


def make_package(args):
    """The package, made by zip from a tree of files with the patch program."""
    tree = os.path.join(args.scratch, "package-tree")
    shutil.rmtree(tree, ignore_errors=True)
    for name, data in DATA_FILES.items():
        path = os.path.join(tree, TOP, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    shutil.copy(args.patch_program, os.path.join(tree, "patch.exe"))
    package = os.path.join(args.scratch, "package.zip")
    if os.path.exists(package):
        os.remove(package)
    subprocess.run(["zip", "-q", "-r", package, "patch.exe", TOP], cwd=tree, check=True)
    with open(package, "rb") as f:
        return f.read()


def common_folder():
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", "ProgramData")


def clear_common():
    shutil.rmtree(os.path.join(common_folder(), TOP), ignore_errors=True)
    for name in ("patch.exe",):
        path = os.path.join(common_folder(), name)
        if os.path.exists(path):
            os.remove(path)


def workdir(args, name):
    """The client's folder: the graphics file and the installed patch program."""
    path = os.path.join(args.scratch, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    shutil.copy(args.gfx, os.path.join(path, "velmora.gfx"))
    shutil.copy(args.patch_program, os.path.join(path, "patch.exe"))
    return path


def write_options():
    prefix = os.environ["WINEPREFIX"]
    roaming = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Roaming"))
    if not roaming:
        raise Failure("the Wine prefix has no AppData folder")
    folder = os.path.join(roaming[0], "VelmoraOnline")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with open(os.path.join(folder, "velmora.ini"), "wb") as f:
        f.write(f"[options]\r\nwindowwidth={WIDTH}\r\nwindowheight={HEIGHT}\r\n"
                "windowmaximized=false\r\n".encode())
    return folder


class Road:
    """One client on its way from the login to the "Patch" button: installed in
    its folder (Windows looks for the programs a program starts in that
    program's folder first), pointed at the fake login server and the patch
    file server, logged in with the demo account."""

    def __init__(self, args, program, folder, patch_port):
        # The window size of the last client, saved at its close, goes: the
        # "Patch" button is found at its place in a 1000 x 700 window.
        write_options()
        self.login = fakeserver.FakeServer(login_answer="new-version", answer_version=VERSION).start()
        with open(os.path.join(folder, "loginserver.txt"), "w") as f:
            f.write(f"127.0.0.1\n{self.login.login_port}\n")
        installed = os.path.join(folder, os.path.basename(program))
        shutil.copy(program, installed)
        os.environ["VELMORA_PATCH_SERVER"] = f"127.0.0.1:{patch_port}"
        self.client = winedriver.Program(args.source, installed, cwd=folder)
        self.window = None

    def log_in_and_patch(self, reports_boxes):
        # The main loop runs once the frame rate is in the title.
        self.window = find_window(r"^Velmora Online \[FPS: ", 60, self.client.process)
        winedriver.xdotool("windowfocus", "--sync", self.window)
        winedriver.xdotool("type", "--delay", "60", fakeserver.DEMO_ACCOUNT)
        winedriver.xdotool("key", "Tab")
        winedriver.xdotool("type", "--delay", "60", fakeserver.DEMO_PASSWORD)
        winedriver.xdotool("key", "Return")
        if not self.login.wait_for(lambda: self.login.requests_of(fakeserver.CLIENT_LOGIN, "login"), 30):
            raise Failure("the client did not log in to the fake login server")
        if self.login.failures:
            raise Failure("the login request was refused: " + "; ".join(self.login.failures))
        if reports_boxes:
            line = self.wait_box("gui-message New Version", "the New Version box")
            if not line.startswith("gui-message New Version | A new version will be downloaded. |"):
                raise Failure(f"the new version box said {line!r}")
        elif not self.login.wait_for(lambda: self.login.open_connections("login") == 0, 30):
            # The client hangs up right after it has turned the box into
            # "New Version" with its "Patch" button.
            raise Failure("the client did not hang up after the new-version answer")
        winedriver.click_at(*self.patch_point(), self.window)

    def patch_point(self):
        """Where to click "Patch": a button made under a resting pointer
        takes a click only once a move has reached it, and the pointer may
        rest where the last client's button was. A trip away and back is not
        enough (Wine may merge the two motions into none), so the click goes
        to a point of the button where the pointer is not."""
        left, top = winedriver.window_origin(self.window)
        px, py = winedriver.pointer_position()
        for point in (PATCH_BUTTON, (PATCH_BUTTON[0] + 20, PATCH_BUTTON[1])):
            if point != (px - left, py - top):
                return point

    def wait_box(self, prefix, what):
        return self.wait_line(lambda l: l.startswith(prefix), what)

    def wait_line(self, predicate, what):
        try:
            return self.client.wait_line(predicate, 60, what)
        except Failure as failure:
            raise Failure(f"{failure} ({what}); the program said:\n" + "\n".join(self.client.lines)) from None

    def stop(self):
        self.client.stop()
        self.login.stop()


def good_package_is_unpacked_and_patch_exe_runs(args, server, program):
    clear_common()
    folder = workdir(args, "good")
    server.mode = "ok"
    server.requests.clear()
    road = Road(args, program, folder, server.port)
    client = road.client
    try:
        road.log_in_and_patch(reports_boxes=False)
        code = client.wait_exit(90)
        if code != 0:
            raise Failure(f"after the patch the client ended with {code}, not 0:\n" + "\n".join(client.lines))
        if not server.requests:
            raise Failure("the client asked the file server for nothing")
        path, agent, host = server.requests[0]
        if (path, agent, host) != (PACKAGE_PATH, "KHyperText Class", "127.0.0.1"):
            raise Failure(f"the client asked for {server.requests[0]}")
        # The patch program is started, not waited for.
        marker = os.path.join(folder, MARKER)

        def marker_written():
            if not os.path.exists(marker):
                return False
            with open(marker, "rb") as f:
                return f.read().endswith(b"\n")

        try:
            winedriver.wait_until(marker_written, 30, "the marker of patch.exe", interval=0.1)
        except Failure:
            raise Failure("patch.exe did not run: no marker in the client's folder") from None
        with open(marker, "rb") as f:
            ran = f.read().decode("latin-1").strip()
        if winedriver.unix_path(args.source, ran) != os.path.join(folder, "patch.exe"):
            raise Failure(f"the patch program that ran was {ran}, not the one beside the client")
        for name, data in DATA_FILES.items():
            path = os.path.join(common_folder(), TOP, name)
            if not os.path.isfile(path):
                raise Failure(f"{TOP}/{name} was not unpacked into the common folder")
            with open(path, "rb") as f:
                if f.read() != data:
                    raise Failure(f"{TOP}/{name} was unpacked with other bytes")
        if os.path.exists(os.path.join(common_folder(), "patch.exe")):
            raise Failure("the package's own patch.exe was unpacked")
    finally:
        road.stop()
        clear_common()


def failure_shows_patching_error(args, server, program, mode, port, text):
    clear_common()
    folder = workdir(args, "fail-" + mode)
    server.mode = mode
    road = Road(args, program, folder, port)
    client = road.client
    try:
        road.log_in_and_patch(reports_boxes=True)
        line = road.wait_box("gui-message Patching Error", f"a box after Patch ({mode})")
        wanted = f"gui-message Patching Error | {text} |"
        if not line.startswith(wanted):
            raise Failure(f"{mode}: the box was {line!r}, not {wanted!r}")
        # The client goes on: its main loop takes a new window size, nothing
        # was started.
        size = next(l for l in reversed(client.lines) if l.startswith("client-size "))
        width, height = (int(n) - 10 for n in size.split()[1:])
        winedriver.xdotool("windowsize", road.window, width, height)
        road.wait_line(lambda l: l == f"client-size {width} {height}", "the main loop after the failed patch")
        if client.process.poll() is not None:
            raise Failure(f"{mode}: the client ended after the failed patch")
        if os.path.exists(os.path.join(folder, MARKER)):
            raise Failure(f"{mode}: patch.exe was started")
        if os.path.exists(os.path.join(common_folder(), TOP)):
            raise Failure(f"{mode}: files of the package were unpacked")
        winedriver.request_close(road.window)
        code = client.wait_exit(30)
        if code != 0:
            raise Failure(f"{mode}: closing the window ended the client with {code}")
    finally:
        road.stop()
        clear_common()


def main():
    def extra(parser):
        parser.add_argument("--stand-in", dest="stand_in", required=True)
        parser.add_argument("--patch-program", dest="patch_program", required=True)
        parser.add_argument("--scratch", required=True)

    args = winedriver.parse_args(extra)
    for name in ("program", "stand_in", "patch_program", "source", "gfx", "scratch"):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    os.makedirs(args.scratch, exist_ok=True)
    options = write_options()
    server = PackageServer(make_package(args))
    try:
        good_package_is_unpacked_and_patch_exe_runs(args, server, args.program)
        for mode, port, text in (
                ("missing", server.port, "Failed patch download (error code: 404)."),
                ("refused", refusing_port(), "Could not connect to the patching server."),
                ("cut", server.port, "Failed patch download (error code: -1)."),
                ("broken", server.port, "Failed to unpack the patch (Couldn't create/open file).")):
            failure_shows_patching_error(args, server, args.stand_in, mode, port, text)
    finally:
        server.stop()
        shutil.rmtree(options, ignore_errors=True)
    shutil.rmtree(args.scratch, ignore_errors=True)
    print("the self-update road works")


if __name__ == "__main__":
    winedriver.run(main)
