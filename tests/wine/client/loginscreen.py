#!/usr/bin/env python3
"""The login screen of the real client under Wine.

velmora.exe with a generated graphics file and the default back end
(Direct3D 9): the login screen is drawn (pixels of the backdrop and of the
panel's frames in a screenshot of the window), typing into the account box
shows stars, and Enter opens the "Connecting" box. The stand-in program (no
drawing) reports what the login stored, so the typed account and password
are checked exactly. The client started straight into the game screen writes
a screenshot of its client area on Ctrl+S.
"""
import glob
import os
import re
import shutil
import struct
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import winedriver  # noqa: E402
from winedriver import Failure, Shot, changed, find_window, options_folder  # noqa: E402

WIDTH, HEIGHT = 1000, 700
CX, CY = WIDTH // 2, HEIGHT // 2
LIGHT, DARK = (60, 60, 60), (10, 10, 10)  # the default skin's frame colours


def write_options(lines):
    folder = options_folder()
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with open(os.path.join(folder, "velmora.ini"), "wb") as f:
        f.write(("[options]\r\n" + "".join(line + "\r\n" for line in lines)).encode("latin-1"))


def workdir(args, name):
    path = os.path.join(args.scratch, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    shutil.copy(args.gfx, os.path.join(path, "velmora.gfx"))
    return path


def wait_window(process, timeout=90):
    """The client's window once its main loop runs: the window appears before
    the back end and the graphics file are ready, and the main loop adds the
    frame rate to the title after its first second."""
    return find_window(r"^Velmora Online \[FPS: ", timeout, process.process)


def near(color, wanted, tolerance=2):
    return all(abs(a - b) <= tolerance for a, b in zip(color, wanted))


def focus(window):
    winedriver.xdotool("windowfocus", "--sync", window)


def click(window, x, y):
    """A left click at a point of the client area."""
    winedriver.click_at(x, y, window)


def shot_when(window, condition, what, timeout=20):
    """A screenshot once condition(shot) holds. At the time-out the last one is
    returned, and the caller's check says what is wrong with it."""
    last = []

    def taken():
        shot = Shot(window)
        last[:] = [shot]
        return shot if condition(shot) else None

    try:
        return winedriver.wait_until(taken, timeout, what, interval=0.1)
    except Failure:
        return last[0]


def type_text(text):
    winedriver.xdotool("type", "--delay", "60", text)


def login_screen_is_drawn_and_takes_keys(args):
    write_options(["windowwidth=1000", "windowheight=700", "windowmaximized=false"])
    program = winedriver.Program(args.source, args.program, cwd=workdir(args, "real"))
    try:
        window = wait_window(program)
        # The panel's raised frame, the groove under the fields: exact colours.
        frame = (
            ((CX - 100, CY - 120), LIGHT, "the panel's top edge"),
            ((CX - 194, CY - 119), LIGHT, "the panel's inner frame"),
            ((CX - 100, CY + 76), DARK, "the panel's bottom edge"),
            ((CX + 194, CY - 50), DARK, "the panel's right edge"),
            ((CX - 100, CY + 17), DARK, "the groove's dark line"),
            ((CX - 100, CY + 18), LIGHT, "the groove's light line"))

        def drawn(shot):
            return (shot.width, shot.height) == (WIDTH, HEIGHT) and all(
                near(shot.at(x, y), wanted) for (x, y), wanted, _ in frame)

        shot = shot_when(window, drawn, "the login screen to be drawn")
        if (shot.width, shot.height) != (WIDTH, HEIGHT):
            raise Failure(f"the client area is {shot.width} x {shot.height}, not {WIDTH} x {HEIGHT}")
        for (x, y), wanted, what in frame:
            if not near(shot.at(x, y), wanted):
                raise Failure(f"{what} at ({x}, {y}) is {shot.at(x, y)}, not {wanted}")
        # The backdrop covers the window: a night sky at the top, not the
        # grey the scene is cleared to.
        for x, y in ((20, 20), (CX, 30), (WIDTH - 20, 20)):
            r, g, b = shot.at(x, y)
            if b < r + 8 or near((r, g, b), (25, 25, 25), 3):
                raise Failure(f"the backdrop's sky at ({x}, {y}) is {(r, g, b)}")

        # "About" opens its box over the panel, and the box's "Close" closes it.
        about_box = (CX - 170, CY + 80, CX - 150, CY + 119)
        click(window, CX, CY + 43)
        about = shot_when(window, lambda now: changed(shot, now, *about_box) >= 300, "the About box")
        covered = changed(shot, about, *about_box)
        if covered < 300:
            raise Failure(f"clicking About did not open the About box ({covered} pixels changed)")
        click(window, CX - 12, CY + 97)
        closed = shot_when(window, lambda now: changed(shot, now, *about_box) == 0, "the About box to close")
        if changed(shot, closed, *about_box):
            raise Failure("the About box's Close button did not close it")

        # The account box has the focus: typing shows stars in it.
        focus(window)
        type_text("alice")
        # Right of where the empty box's caret stands (5 px in), so that
        # only the stars can change it.
        field = (CX - 85 + 8, CY - 95, CX - 85 + 60, CY - 75)
        typed = shot_when(window, lambda now: changed(shot, now, *field) >= 20, "the stars in the account box")
        stars = changed(shot, typed, *field)
        if stars < 20:
            raise Failure(f"typing into the account box changed {stars} pixels of it")

        # Enter logs in: the "Connecting" box opens over the panel. Its left
        # part lies where only labels and the panel were.
        winedriver.xdotool("key", "Tab")
        type_text("secret")
        winedriver.xdotool("key", "Return")
        box = (CX - 134, CY - 99, CX - 86, CY - 1)
        connecting = shot_when(window, lambda now: changed(typed, now, *box) >= 1000, "the Connecting box")
        covered = changed(typed, connecting, *box)
        if covered < 1000:
            raise Failure(f"Enter did not open the Connecting box ({covered} pixels changed)")

        winedriver.request_close(window)
        code = program.wait_exit(30)
        if code != 0:
            raise Failure(f"closing the window ended the program with {code}")
    finally:
        program.stop()


def typed_login_reaches_the_program(args):
    write_options(["windowwidth=1000", "windowheight=700", "windowmaximized=false"])
    program = winedriver.Program(args.source, args.stand_in, cwd=workdir(args, "stand-in"))
    try:
        window = wait_window(program)
        focus(window)
        type_text("alice")
        winedriver.xdotool("key", "Tab")
        type_text("open sesame")
        winedriver.xdotool("key", "Return")
        wanted = ("gui-message Connecting | Connecting to the login server... | account alice | "
                  "password open sesame")
        line = program.wait_line(lambda l: l.startswith("gui-message"), 20, "the Connecting box")
        if line != wanted:
            raise Failure(f"the login stored {line!r}, not {wanted!r}")
        winedriver.request_close(window)
        program.wait_exit(30)
    finally:
        program.stop()


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        raise Failure(f"{path} is not a PNG file")
    return struct.unpack(">II", head[16:24])


def png_complete(path):
    with open(path, "rb") as f:
        return f.read().endswith(b"\x00\x00\x00\x00IEND\xaeB`\x82")


def ctrl_s_in_the_game_writes_the_client_area(args):
    shots = os.path.join(args.scratch, "shots")
    shutil.rmtree(shots, ignore_errors=True)
    windows_shots = subprocess.run([os.path.join(args.source, "scripts", "wine-run"), "winepath", "-w", shots],
                                   capture_output=True, text=True, timeout=60).stdout.strip()
    write_options(["windowwidth=900", "windowheight=640", "windowmaximized=false", "sspath=" + windows_shots])
    program = winedriver.Program(args.source, args.game_screen, cwd=workdir(args, "game"))
    try:
        program.wait_line(lambda l: l == "game screen", 60, "the game screen")
        window = wait_window(program)
        focus(window)
        # The client asks whether Control is down when its loop gets to the
        # key, as a player's hand would still hold it: keep it down until the
        # file is there.
        winedriver.xdotool("keydown", "ctrl")
        try:
            winedriver.xdotool("key", "s")
            files = winedriver.wait_until(lambda: glob.glob(os.path.join(shots, "*.png")), 15,
                                          "the PNG file of Ctrl+S", interval=0.1)
        finally:
            winedriver.xdotool("keyup", "ctrl")
        # The encoder's thread may still be writing: a whole file ends with
        # the IEND chunk.
        winedriver.wait_until(lambda: png_complete(files[0]), 15, "the PNG file to be written whole")
        size = png_size(files[0])
        if size != (900, 640):
            raise Failure(f"the screenshot is {size[0]} x {size[1]}, not the client area 900 x 640")
        if not re.fullmatch(r"\d+_\d+_\d{4}_\d+_\d+_\d+_\d+\.png", os.path.basename(files[0])):
            raise Failure(f"unexpected screenshot name {os.path.basename(files[0])}")
        winedriver.request_close(window)
        program.wait_exit(30)
    finally:
        program.stop()


def main():
    def extra(parser):
        parser.add_argument("--stand-in", dest="stand_in", required=True)
        parser.add_argument("--game-screen", dest="game_screen", required=True)
        parser.add_argument("--scratch", required=True)

    args = winedriver.parse_args(extra)
    for name in ("program", "stand_in", "game_screen", "source", "gfx", "scratch"):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    login_screen_is_drawn_and_takes_keys(args)
    typed_login_reaches_the_program(args)
    ctrl_s_in_the_game_writes_the_client_area(args)
    shutil.rmtree(options_folder(), ignore_errors=True)
    shutil.rmtree(args.scratch, ignore_errors=True)
    print("login screen: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
