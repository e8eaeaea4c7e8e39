#!/usr/bin/env python3
"""The minimap and the world map under Wine, played with xdotool against the
fake server's larger world (tests/fakeserver/minimapworld.py).

The client logs in by itself and enters the game at (250, 250). A click on
the minimap 25 tiles east of the player, far beyond the view, sends a far
walk (0x1A) whose steps lead to that tile; the server walks it. The minimap
then shows the land walked through in its palette colours (road, meadow,
stone, pond, wall, door). "Large" opens the world map; a right click on it,
"Add marker...", a click into the text box, "camp" and "Add" write
"markers.map" with that marker. Ctrl+L logs out: the area files of the four
areas seen appear in the user's minimap folder, named by base x / 256, base
y / 256 and the floor, and decode to the colours the server's tiles give.
The first start, with no items cache yet, logs in with version 0; it keeps
the server's item records in "itemscache.dat" in the user's folder with the
version the enter-game message gave, and decoded the file holds exactly
those records. The client is started again and enters: its game login
carries that version, and before any step the minimap shows the land
explored in the first run.

The program is the client with a main loop that prints the minimap's frame
and view, the player's position and the world map's controls
(MinimapProbeWin32.cpp).
"""
import math
import os
import shutil
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import fakeserver as fs  # noqa: E402
import minimapworld as mw  # noqa: E402
import winedriver  # noqa: E402
from winedriver import (Failure, Report, find_window, frames_after, options_folder, stage, wait_server,  # noqa: E402
                        wait_until, xdotool)

WALK_PATH = 0x1A
FLOOR = 7
TOLERANCE = 12
# The minimap's palette (red, green, blue).
PALETTE = {1: (0, 200, 0), 2: (0, 0, 255), 3: (255, 0, 0), 4: (255, 255, 0), 5: (255, 255, 255),
           6: (128, 128, 128)}
GOAL = (mw.START[0] + 25, mw.START[1])
# Landmarks of every colour along the walk, and those of them the first view
# at the start does not hold (x above 260), for the check after the restart.
LANDMARKS = {mw.ROAD_AT: 5, mw.MEADOW_AT: 1, mw.STONE_AT: 6, mw.POND_AT: 2, mw.WALL_AT: 3, mw.DOOR_AT: 4}
FAR_LANDMARKS = {mw.MEADOW_AT: 1, mw.STONE_AT: 6, (268, 258): 2, mw.WALL_AT: 3, (264, 250): 5}


def latest(program, kind):
    return next((l for l in reversed(program.lines) if l.split(" ", 1)[0] == kind), None)


def wait_line(program, predicate, timeout, what):
    """A line already printed that matches, or the next one."""
    for line in reversed(program.lines):
        if predicate(line):
            return line
    return program.wait_line(predicate, timeout, what)


class MinimapView:
    """The minimap as the program last printed it: its frame in client
    pixels, zoom, centre and floor, and the client area's screen origin."""

    def __init__(self, program):
        line = latest(program, "minimap")
        origin = latest(program, "origin")
        if not line or not origin:
            raise Failure("the program did not say where the minimap lies")
        f = line.split()
        self.x, self.y, self.w, self.h = (int(v) for v in f[1:5])
        self.zoom = int(f[6]) / 4
        self.cx, self.cy, self.floor = int(f[8]), int(f[9]), int(f[10])
        self.ox, self.oy = (int(v) for v in origin.split()[1:3])

    def left_top(self):
        halfw, halfh = (self.w - 16) // 2, (self.h - 69) // 2
        return self.cx - math.trunc(halfw / self.zoom), self.cy - math.trunc(halfh / self.zoom)

    def tile_pixel(self, tile):
        """The screen pixel at the middle of a tile as the minimap draws it."""
        left, top = self.left_top()
        z = self.zoom
        return (self.ox + self.x + 8 + int((tile[0] - left) * z + z / 2),
                self.oy + self.y + 26 + int((tile[1] - top) * z + z / 2))

    def position_at(self, px, py):
        """The window's own rule for the tile under a client point."""
        z = self.zoom
        return (math.trunc((px - (self.x + 9)) / z) + math.trunc(self.cx - (self.w - 16) / z * 0.5) + 1,
                math.trunc((py - (self.y + 27)) / z) + math.trunc(self.cy - (self.h - 69) / z * 0.5) + 1)

    def click_point(self, tile):
        """A screen point whose tile by the window's rule is `tile`."""
        for px in range(self.x + 9, self.x + self.w - 8):
            for py in range(self.y + 27, self.y + self.h - 43):
                if self.position_at(px, py) == tile:
                    return self.ox + px, self.oy + py
        raise Failure(f"the minimap does not show {tile}: {vars(self)}")

    def in_map(self, sx, sy):
        return (self.ox + self.x + 8 <= sx < self.ox + self.x + self.w - 8 and
                self.oy + self.y + 26 <= sy < self.oy + self.y + self.h - 43)


def close(actual, expected, tolerance=TOLERANCE):
    return all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


def check_landmarks(program, landmarks, report, what):
    view = MinimapView(program)
    shot = winedriver.Shot("root")
    for tile, colour in landmarks.items():
        sx, sy = view.tile_pixel(tile)
        if not view.in_map(sx, sy):
            report.check(False, f"{what}: {tile} lies inside the minimap's map area")
            continue
        seen = shot.at(sx, sy)
        report.check(close(seen, PALETTE[colour]),
                     f"{what}: the minimap shows {tile} in colour {colour} {PALETTE[colour]} ({seen})")


def control_rect(program, control_id, timeout, what):
    line = wait_line(program, lambda l: l.startswith(f"control {control_id} ") and not l.endswith(" none"),
                     timeout, what)
    return tuple(int(v) for v in line.split()[2:6])


def decode_area(data):
    """Colour codes of an area file by cell index (x * 256 + y); None when
    the file ends inside a pair or holds more than a chunk."""
    cells = []
    if len(data) % 2:
        return None
    for i in range(0, len(data), 2):
        value, run = data[i], data[i + 1]
        if run == 0:
            cells.append(0)
            continue
        cells.extend([value] * run)
    return cells if len(cells) <= 65536 else None


def decode_markers(data):
    count, = struct.unpack_from("<I", data, 0)
    at, markers = 4, []
    for _ in range(count):
        x, y, z, icon, length = struct.unpack_from("<HHBII", data, at)
        at += 13
        markers.append((x, y, z, icon, data[at:at + length].decode("latin-1")))
        at += length
    return markers


def decode_items_cache(data):
    """(version, {id: (ground, minimap colour, flags, pattern, frames, name,
    speed)}) of an items cache file: a header of version, count and the
    marker 0xFF, then the records; None when the marker is wrong, a record is
    cut short or bytes follow the last one."""
    if len(data) < 7 or data[6] != 0xFF:
        return None
    version, count = struct.unpack_from("<IH", data, 0)
    at, records = 7, {}
    for _ in range(count):
        if at + 18 > len(data):
            return None
        item, ground, colour, flags, pattern, frames, length, speed = struct.unpack_from("<HBBIHHHf", data, at)
        at += 18
        if at + length > len(data):
            return None
        # Each name byte is stored one below its character.
        name = bytes((b + 1) % 256 for b in data[at:at + length]).decode("latin-1")
        at += length
        records[item] = (ground, colour, flags, pattern, frames, name, speed)
    return (version, records) if at == len(data) else None


def check_items_cache(report):
    """The records the server sent, kept in the user's application-data
    folder with the version the enter-game message gave."""
    path = os.path.join(options_folder(), "itemscache.dat")
    if not os.path.exists(path):
        raise Failure(f"no itemscache.dat in the user's folder ({sorted(os.listdir(options_folder()))})")
    with open(path, "rb") as f:
        cache = decode_items_cache(f.read())
    report.check(cache is not None, "itemscache.dat decodes: its header's count matches the records that follow")
    if cache is None:
        return
    version, records = cache
    report.check(version == mw.world.ITEMS_VERSION + 3, f"itemscache.dat holds the server's version ({version})")
    wanted = {i: (g, m, f, p, a, n, 100 if s is None else s) for i, g, f, p, a, n, m, s in mw.RECORDS.values()}
    report.check(records == wanted, f"itemscache.dat holds every record the server sent ({records})")


def start_client(args, work):
    program = winedriver.Program(args.source, args.program, cwd=work)
    window = find_window("^Velmora Online", 90, program.process)
    return program, window


def enter(program):
    wait_line(program, lambda l: l == f"player {mw.START[0]} {mw.START[1]} {FLOOR}", 90, "the player at the start")
    wait_line(program, lambda l: l.startswith("minimap "), 30, "the minimap")
    frames_after(program)


def first_run(args, server, world, work, report):
    program, window = start_client(args, work)
    with winedriver.running(program, tail=30):
        stage("enter the game")
        enter(program)

        stage("click the minimap beyond the view")
        view = MinimapView(program)
        sx, sy = view.click_point(GOAL)
        winedriver.click_at(sx, sy)
        wait_server(server, lambda: any(r.fields.get("steps") for r in server.requests_of(WALK_PATH, "game")),
                    "a far walk path (0x1A)")
        request = next(r for r in server.requests_of(WALK_PATH, "game") if r.fields.get("steps"))
        steps = request.fields["steps"]
        end = list(mw.START)
        for step in steps:
            dx, dy = mw.world.OFFSETS[step]
            end[0] += dx
            end[1] += dy
        report.check(tuple(end) == GOAL, f"the far walk's {len(steps)} steps lead to {GOAL} ({tuple(end)})")
        wait_server(server, lambda: tuple(world.player) == GOAL, f"the walk to {GOAL}", timeout=90)
        try:
            wait_line(program, lambda l: l == f"player {GOAL[0]} {GOAL[1]} {FLOOR}", 60, "the player at the goal")
        except Failure as failure:
            raise Failure(f"{failure}: the player at the goal {GOAL}, where the server has it; the program last "
                          f"said {latest(program, 'player')!r} and {latest(program, 'minimap')!r}") from None
        wait_line(program, lambda l: l.startswith("minimap ") and f" centre {GOAL[0]} {GOAL[1]} " in l, 30,
                  "the minimap following the player")
        frames_after(program)

        stage("the explored land in the minimap's colours")
        check_landmarks(program, LANDMARKS, report, "after the walk")

        stage("Large: the world map, a marker")
        view = MinimapView(program)
        winedriver.click_at(view.ox + view.x + 94 + (view.w - 102) // 2, view.oy + view.y + view.h - 36 + 9)
        dx, dy, dw, dh = control_rect(program, 244, 30, "the world map dialog")
        report.check(True, f"\"Large\" opens the world map ({dw} x {dh})")
        winedriver.click_at(view.ox + dx + dw // 2, view.oy + dy + dh // 2 - 40, button=3)
        mx, my, _, _ = control_rect(program, 251, 30, "the world map's menu")
        winedriver.click_at(view.ox + mx + 40, view.oy + my + 12)
        tx, ty, tw, th = control_rect(program, 253, 30, "the marker text box")
        ax, ay, aw, ah = control_rect(program, 254, 30, "the \"Add\" button")
        winedriver.click_at(view.ox + tx + tw // 2, view.oy + ty + th // 2)
        frames_after(program, 2)
        xdotool("type", "--delay", "60", "camp")
        frames_after(program, 2)
        winedriver.click_at(view.ox + ax + aw // 2, view.oy + ay + ah // 2)
        markers_file = os.path.join(options_folder(), "minimap", "markers.map")

        def saved_markers():
            try:
                with open(markers_file, "rb") as f:
                    return [m for m in decode_markers(f.read()) if m[4] == "camp"]
            except (OSError, struct.error):
                return None
        camp = wait_until(saved_markers, 30, "the marker \"camp\" in markers.map")
        report.check(camp[0][2] == FLOOR and camp[0][3] == 5768,
                     f"markers.map holds \"camp\" on floor {FLOOR} with icon 5768 ({camp[0]})")
        report.check(abs(camp[0][0] - GOAL[0]) <= 40 and abs(camp[0][1] - GOAL[1]) <= 40,
                     f"the marker lies near the player ({camp[0][:2]})")

        stage("log out: the area files")
        folder = os.path.join(options_folder(), "minimap")
        names = ["0000000007.map", "0001000007.map", "0000000107.map", "0001000107.map"]
        # A plain tap: the client takes Ctrl from the key-down, however late
        # it handles it. The game screen's teardown writes the area files
        # before the probe says it has gone.
        xdotool("windowfocus", "--sync", window)
        xdotool("key", "ctrl+l")
        left = program.wait_line(lambda l: l.startswith("left the game "), 60,
                                 "the game screen's teardown after the logout")
        report.check(left == f"left the game holding {len(names)} areas", f"the minimap held the four areas ({left})")
        missing = [n for n in names if not os.path.exists(os.path.join(folder, n))]
        if missing:
            raise Failure(f"the logout wrote no {missing} in the user's minimap folder "
                          f"({sorted(os.listdir(folder)) if os.path.isdir(folder) else 'no folder'})")
        check_area_files(folder, names, world, report)

        winedriver.request_close(window)
        code = program.wait_exit(60)
        report.check(code == 0, f"the program ends with 0 ({code})")

    stage("the items cache")
    logins = server.requests_of(fs.CLIENT_GAME_LOGIN, "game")
    report.check([r.fields.get("items_version") for r in logins] == [0],
                 f"the first start asks for the whole item table ({[r.fields for r in logins]})")
    check_items_cache(report)


def check_area_files(folder, names, world, report):
    expected = {}
    for (x, y), items in world.sent.items():
        expected[(x, y)] = mw.tile_colour(items)
    wrong, recorded = [], 0
    for name in names:
        bx, by = int(name[0:4]) * 256, int(name[4:8]) * 256
        with open(os.path.join(folder, name), "rb") as f:
            cells = decode_area(f.read())
        report.check(cells is not None, f"{name} decodes as an area file")
        if cells is None:
            continue
        for cell, colour in enumerate(cells):
            if colour == 0:
                continue
            recorded += 1
            tile = (bx + cell // 256, by + cell % 256)
            if expected.get(tile) != colour:
                wrong.append((tile, colour, expected.get(tile)))
    report.check(not wrong, f"every recorded tile has the colour of what the server sent ({wrong[:5]})")
    report.check(recorded >= 40 * 16, f"the walk's land is recorded ({recorded} tiles)")
    report.check(len(os.listdir(folder)) == len(names) + 1,
                 f"only the areas seen and the markers file are written ({sorted(os.listdir(folder))})")


def second_run(args, server, work, report):
    program, window = start_client(args, work)
    with winedriver.running(program, tail=30):
        stage("start again: the explored land before any step")
        enter(program)
        # The game login carries the version of the cache the start read.
        logins = server.requests_of(fs.CLIENT_GAME_LOGIN, "game")
        report.check(len(logins) == 2 and logins[-1].fields.get("items_version") == mw.world.ITEMS_VERSION + 3,
                     f"the second start loads itemscache.dat ({[r.fields.get('items_version') for r in logins]})")
        check_landmarks(program, FAR_LANDMARKS, report, "after the restart")
        winedriver.request_close(window)
        code = program.wait_exit(60)
        report.check(code == 0, f"the second run ends with 0 ({code})")


def main():
    args = winedriver.scratch_args()
    report = Report()
    world = mw.MinimapWorld()
    server = fs.FakeServer(gfx_stamp=fs.read_gfx_stamp(args.gfx), log=lambda text: None, behaviours=[world])
    try:
        with server:
            work = winedriver.prepare_client(
                os.path.join(args.scratch, "minimap"), args.gfx, server.login_port,
                b"[options]\r\nwindowwidth=1000\r\nwindowheight=700\r\nwindowmaximized=false\r\nfpslimit=60\r\n")
            first_run(args, server, world, work, report)
            second_run(args, server, work, report)
            report.check(not server.failures, f"the fake server decoded every request ({server.failures})")
    finally:
        shutil.rmtree(options_folder(), ignore_errors=True)
    if report.failures:
        raise Failure(f"{len(report.failures)} checks failed")
    shutil.rmtree(args.scratch, ignore_errors=True)
    print("minimap: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
