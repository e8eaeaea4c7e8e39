#!/usr/bin/env python3
"""The map view under Wine, once per back end (Direct3D 9, OpenGL, DirectDraw),
against the fake server's scene (tests/fakeserver/mapscene.py).

The client logs in by itself and enters the game; the server sends the world
around the player, a burst of effects, projectiles and rising texts, then the
marker, a progress bar and daylight. When every effect has run out, an X
screenshot of the view is checked at chosen pixels (two tiles of the
patterned ground, a wall, the NPC's name colour, the black frame of its
health bar, the progress bar); under Direct3D 9 and OpenGL the client's own
map-view screenshot (Shift+Ctrl+S) must show the same picture, and the
view's last pixel column and row show the ground (the clip reaches them). Then the
server makes it night (level 80): a tile beside the torch stays lit while a
tile far from it darkens (under DirectDraw, which cannot blend, the dark tile
is covered in opaque black and the lit one keeps its colour). Last, in
daylight again, the player presses Left: the next screenshot shows the ground
one tile further right.

The three back ends' daylight pictures must agree on every pixel but the NPC's
label (DirectDraw draws names in one colour by design) and the animated flower.

The program is the client with a main loop that prints where the view lies,
where the player stands and how many passes it has made (MapViewProbeWin32.cpp).
"""
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import fakeserver as fs  # noqa: E402
import mapscene  # noqa: E402
import winedriver  # noqa: E402
from winedriver import (Failure, Report, find_window, frames_after, options_folder, stage, wait_server,  # noqa: E402
                        xdotool)

ENGINES = {2: "Direct3D 9", 1: "OpenGL", 3: "DirectDraw"}
OPTION = {2: b"direct3d", 1: b"opengl", 3: b"directdraw"}  # the option "engine" names them
VIEW_W, VIEW_H = 544, 416
TOLERANCE = 12
CAMERA = (112, 114)  # the view's top-left tile with the player at (120, 120)

# Colours of the generated graphics file (tools/gfxgen/MapSprites.h).
PATTERN = [(200, 40, 40), (40, 200, 40), (40, 40, 200), (200, 200, 40), (40, 200, 200),
           (200, 40, 200), (120, 80, 20), (20, 120, 80), (80, 20, 120)]


def pattern_colour(x, y):
    return PATTERN[x % 3 + 3 * (y % 3)]


def tile_centre(x, y, camera=CAMERA):
    return ((x - camera[0]) * 32 + 16, (y - camera[1]) * 32 + 16)


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def prepare(args, engine, login_port):
    work = os.path.join(args.scratch, f"engine{engine}")
    shots = os.path.join(work, "shots")
    winedriver.prepare_client(
        work, args.gfx, login_port,
        b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\n"
        b"engine=%s\r\ndontresize=true\r\nfpslimit=60\r\nsspath=%s\r\n"
        # The experience calculator is translucent, which DirectDraw draws opaque.
        b"experiencecalculator=false\r\n" % (OPTION[engine], wine_path(shots).encode()))
    os.makedirs(shots)
    return work


# --- pictures -------------------------------------------------------------------------


def read_ppm(data):
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    return int(fields[1]), int(fields[2]), data[pos + 1:]


class Picture:
    def __init__(self, width, height, pixels, name):
        self.width, self.height, self.pixels, self.name = width, height, pixels, name

    @classmethod
    def convert(cls, source, name, crop=None):
        command = ["convert", source]
        if crop:
            command += ["-crop", crop, "+repage"]
        data = subprocess.run(command + ["ppm:-"], capture_output=True, check=True).stdout
        return cls(*read_ppm(data), name)

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


def x_screenshot(view, path):
    ox, oy, vx, vy = view
    xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True).stdout
    with open(path + ".xwd", "wb") as f:
        f.write(xwd)
    picture = Picture.convert("xwd:" + path + ".xwd", path, f"{VIEW_W}x{VIEW_H}+{ox + vx}+{oy + vy}")
    os.remove(path + ".xwd")
    subprocess.run(["convert", "ppm:-", path], input=b"P6\n%d %d\n255\n" % (picture.width, picture.height) +
                   picture.pixels, check=True)
    return picture


def close(actual, expected, tolerance=TOLERANCE):
    return all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


def brightness(colour):
    return sum(colour) / 3


# --- one run ---------------------------------------------------------------------------


def pong_of(server, value, what):
    wait_server(server, lambda: any(r.fields.get("value") == value
                                    for r in server.requests_of(fs.CLIENT_PONG, "game")), what)


def effects_gone(program, timeout=30):
    program.wait_line(lambda l: l == "effects 0 texts 0", timeout, "every effect and text to run out")


def press(program, window, modifiers, key, attempts, done, what):
    """Presses a key with modifiers held (through the X test extension, as a
    player would) until done() holds, at most `attempts` times. The client
    reads the modifiers' state when it handles the key, a frame later, so
    they stay down for a few frames."""
    for _ in range(attempts):
        xdotool("windowfocus", "--sync", window)
        xdotool("keydown", *modifiers)
        try:
            xdotool("key", key)
            frames_after(program, 2, 10)
        finally:
            xdotool("keyup", *modifiers)
        if done(10):
            return True
    print(f"note: {what} did not come after {attempts} presses")
    return False


def run_engine(args, engine, report):
    name = ENGINES[engine]
    scene = mapscene.MapScene()
    server = fs.FakeServer(gfx_stamp=fs.read_gfx_stamp(args.gfx), log=lambda text: None, behaviours=[scene])
    shots = {}
    with server:
        work = prepare(args, engine, server.login_port)
        program = winedriver.Program(args.source, args.program, cwd=work)
        with winedriver.running(program, tail=30, clean=(options_folder(),)):
            line = program.wait_line(lambda l: l.startswith("engine "), 90, "the back end")
            report.check(line == f"engine {engine}", f"{name}: the client runs on it ({line})")
            window = find_window("^Velmora Online", 90, program.process)
            stage(f"{name}: the game and the player")
            program.wait_line(lambda l: l == "player 120 120 7", 60, "the player at its start")
            view_line = next((l for l in reversed(program.lines) if l.startswith("view ")), None)
            if view_line is None:
                raise Failure("the program did not say where the view lies")
            ox, oy, vx, vy, tile = (int(v) for v in view_line.split()[1:])
            if tile != 32:
                raise Failure(f"the view is not unstretched: {view_line}")
            view = (ox, oy, vx, vy)

            pong_of(server, scene.effects_burst(), "the pong behind the effects")
            stage(f"{name}: the effects burst")
            program.wait_line(lambda l: l.startswith("effects ") and l != "effects 0 texts 0", 30,
                              "the effects on the map")
            pong_of(server, scene.scene(0), "the pong behind the scene")
            stage(f"{name}: the scene in daylight")
            effects_gone(program)
            frames_after(program)
            shots["day"] = x_screenshot(view, os.path.join(work, "day.png"))

            if engine != 3:
                before = set(os.listdir(os.path.join(work, "shots")))
                found = []

                def saved(timeout):
                    deadline = time.monotonic() + timeout
                    while time.monotonic() < deadline:
                        for file in set(os.listdir(os.path.join(work, "shots"))) - before:
                            try:
                                found.append(Picture.convert(os.path.join(work, "shots", file),
                                                             "map-view screenshot"))
                                return True
                            except subprocess.CalledProcessError:
                                pass  # still being written
                        program.wait_line(lambda l: l.startswith("frames "), 10, "a frame")
                    return False
                press(program, window, ("ctrl", "shift"), "s", 3, saved, "the map-view screenshot")
                picture = found[0] if found else None
                report.check(picture is not None and (picture.width, picture.height) == (VIEW_W, VIEW_H),
                             f"{name}: Shift+Ctrl+S saves the map view")
                if picture is not None:
                    shots["client"] = picture

            pong_of(server, scene.darkness(80), "the pong behind the darkness")
            stage(f"{name}: night")
            frames_after(program)
            shots["night"] = x_screenshot(view, os.path.join(work, "night.png"))

            stage(f"{name}: the step")
            # Daylight again, so the step is seen on the plain ground.
            pong_of(server, scene.darkness(0), "the pong behind the daylight")
            xdotool("windowfocus", "--sync", window)
            xdotool("keydown", "Left")
            try:
                # Held for a few frames (the game polls held keys every frame).
                frames_after(program, 2, 10)
            finally:
                xdotool("keyup", "Left")
            program.wait_line(lambda l: l == "player 119 120 7", 30, "the step to the left")
            wait_server(server, lambda: tuple(scene.player) == (119, 120), "the step to the left")
            frames_after(program)
            shots["stepped"] = x_screenshot(view, os.path.join(work, "stepped.png"))

            winedriver.request_close(window)
            code = program.wait_exit(30)
            report.check(code == 0, f"{name}: the program ends with 0 ({code})")
    return shots


# --- checks ----------------------------------------------------------------------------

NPC = (124, 124)
PLAYER = (120, 120)
NAME_DIRECTX = (220, 100, 35)  # half health
NAME_DIRECTDRAW = (220, 200, 70)


def label_box(creature=NPC):
    cx = (creature[0] - CAMERA[0]) * 32 + 8
    top = (creature[1] - CAMERA[1]) * 32 - 8 - 20
    return cx, top


def check_day(name, engine, day, report):
    for tile in ((113, 115), (114, 115), (118, 122)):
        x, y = tile_centre(*tile)
        report.check(close(day.at(x, y), pattern_colour(*tile)),
                     f"{name}: patterned ground at {tile} is {pattern_colour(*tile)} ({day.at(x, y)})")
    wx, wy = tile_centre(121, 120)
    wall = day.at(wx - 12, wy - 13)
    report.check(abs(wall[0] - wall[1]) < 12 and 110 <= wall[1] <= 170, f"{name}: the wall is grey stone ({wall})")
    cx, top = label_box()
    want = NAME_DIRECTDRAW if engine == 3 else NAME_DIRECTX
    found = [(x, y) for x in range(cx - 40, cx + 40) for y in range(top, top + 14) if close(day.at(x, y), want, 16)]
    report.check(len(found) > 5, f"{name}: the NPC's name is drawn in {want} ({len(found)} pixels)")
    report.check(close(day.at(cx + 10, top + 15), (0, 0, 0), 8) and close(day.at(cx + 10, top + 18), (0, 0, 0), 8),
                 f"{name}: the health bar's frame is black ({day.at(cx + 10, top + 15)})")
    fill = [day.at(x, top + 16) for x in range(cx - 14, cx - 6)]
    report.check(all(close(p, want, 16) for p in fill), f"{name}: half the health bar is filled ({fill[0]})")
    bx, by = tile_centre(*mapscene.BAR_AT)
    report.check(close(day.at(bx - 10, by - 2), (200, 200, 200), 8), f"{name}: the progress bar is grey where filled")
    report.check(close(day.at(bx + 10, by - 2), (0, 0, 0), 8), f"{name}: and black beyond its 50 %")


def check_edges(name, day, report):
    """The field's last pixel column and row: the ground of the view's last
    column and row of tiles, not the black of a clip one pixel short."""
    last_x, last_y = VIEW_W - 1, VIEW_H - 1
    column = [y for y in range(VIEW_H)
              if not close(day.at(last_x, y), pattern_colour(CAMERA[0] + 16, CAMERA[1] + y // 32))]
    row = [x for x in range(VIEW_W)
           if not close(day.at(x, last_y), pattern_colour(CAMERA[0] + x // 32, CAMERA[1] + 12))]
    first = f", first {day.at(last_x, column[0])} at y {column[0]}" if column else ""
    report.check(not column, f"{name}: the view's last pixel column is drawn ({len(column)} pixels differ{first})")
    first = f", first {day.at(row[0], last_y)} at x {row[0]}" if row else ""
    report.check(not row, f"{name}: the view's last pixel row is drawn ({len(row)} pixels differ{first})")


def check_night(name, engine, day, night, report):
    lit = tile_centre(118, 117)
    dark = tile_centre(127, 125)
    if engine == 3:
        report.check(night.at(*dark) == (0, 0, 0), f"{name}: the far tile is covered in black ({night.at(*dark)})")
        report.check(close(night.at(*lit), day.at(*lit), 4),
                     f"{name}: the tile by the torch keeps its colour ({night.at(*lit)})")
    else:
        report.check(brightness(night.at(*dark)) < 0.45 * brightness(day.at(*dark)),
                     f"{name}: the far tile darkens ({day.at(*dark)} -> {night.at(*dark)})")
        report.check(brightness(night.at(*lit)) > brightness(night.at(*dark)) + 25,
                     f"{name}: the tile by the torch is lit ({night.at(*lit)} against {night.at(*dark)})")


def check_step(name, stepped, report):
    camera = (CAMERA[0] - 1, CAMERA[1])
    for tile in ((113, 115), (112, 115)):
        x, y = tile_centre(*tile, camera=camera)
        report.check(close(stepped.at(x, y), pattern_colour(*tile)),
                     f"{name}: after the step {tile} lies one tile further right ({stepped.at(x, y)})")


def near_tile(x, y, tile):
    tx, ty = tile_centre(*tile)
    return abs(x - tx) <= 16 and abs(y - ty) <= 16


def excluded(x, y, blending=True):
    """Pixels the back ends draw differently by design: the creatures' labels
    (DirectDraw names everyone in one colour and does not smooth glyph
    edges), the animated flower, and without blending (DirectDraw) the
    half-transparent pixels of the tree crown."""
    for creature in (NPC, PLAYER):
        cx, top = label_box(creature)
        if cx - 50 <= x <= cx + 50 and top - 2 <= y <= top + 22:
            return True
    return near_tile(x, y, (115, 115)) or (not blending and near_tile(x, y, (125, 118)))


def differing(a, b, tolerance=TOLERANCE, blending=True):
    count = 0
    for y in range(VIEW_H):
        for x in range(VIEW_W):
            if not excluded(x, y, blending) and not close(a.at(x, y), b.at(x, y), tolerance):
                count += 1
    return count


def all_black(picture):
    return not any(picture.pixels)


def main():
    args = winedriver.scratch_args()
    report = Report()
    pictures = {}
    for engine, name in ENGINES.items():
        shots = run_engine(args, engine, report)
        pictures[engine] = shots
        check_day(name, engine, shots["day"], report)
        check_edges(name, shots["day"], report)
        check_night(name, engine, shots["day"], shots["night"], report)
        check_step(name, shots["stepped"], report)
        if "client" in shots:
            if engine == 2 and all_black(shots["client"]):
                # As in tests/wine/backends: Wine gives black front-buffer reads.
                print(f"note {name}: the map-view screenshot is black (front-buffer reads are black under Wine)")
            else:
                report.check(differing(shots["client"], shots["day"]) == 0,
                             f"{name}: the map-view screenshot shows what the window shows")
    for engine in (1, 3):
        count = differing(pictures[2]["day"], pictures[engine]["day"], blending=engine != 3)
        report.check(count == 0, f"{ENGINES[engine]} draws the daylight scene as Direct3D 9 does "
                                 f"({count} pixels differ)")
    if report.failures:
        raise Failure(f"{len(report.failures)} checks failed; pictures kept in {args.scratch}")
    shutil.rmtree(args.scratch, ignore_errors=True)
    print("map view: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
