#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets that read the client's own
formats: HTTP answers, ini files, graphics files, items caches, the game connection's
frames and the minimap's files. They are the cases the native tests use (good files and
the broken shapes those tests check; the frames are the fake server's: every
sample and variant of its table, also over its world's login burst), so the
fuzzer starts from every branch the tests reach.

Usage: make_seeds.py <output folder>   (one subfolder per target)
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fakeserver"))
import fakeserver  # noqa: E402
import world  # noqa: E402


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def http_seeds(folder):
    # The first byte chooses the size of the pieces the answer arrives in.
    zip_like = b"PK\x03\x04\x00\x00\r\n\r\n\x00\xff"
    answers = {
        "whole": b"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello",
        "bare-lf": b"HTTP/1.1 200 OK\nServer: x\nContent-Length: 3\n\nabc",
        "binary-body": b"HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n" + zip_like,
        "two-lengths": b"HTTP/1.1 200 OK\r\nContent-Length: 9\r\nContent-Length: 1\r\n\r\nxyz",
        "not-found": b"HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone",
        "no-length": b"HTTP/1.1 200 OK\r\nServer: x\r\n\r\nabc",
        "negative": b"HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nabc",
        "too-long": b"HTTP/1.1 200 OK\r\nContent-Length: 52428800\r\n\r\nabc",
        "short-status": b"HTTP/1.1\r\n\r\n",
        "status-page": b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 27\r\n"
                       b"Connection: close\r\n\r\nServer down for maintenance",
    }
    for name, answer in answers.items():
        for piece in (0, 7, 96):
            write(folder, f"{name}-{piece}", bytes([piece]) + answer)


def ini_seeds(folder):
    write(folder, "options", "## Velmora Online options\r\n##\r\n\r\n[options]\r\nengine=direct3d\r\n"
                             "fpslimit=60\r\nwindowwidth=1024\r\nwindowheight=768\r\nwindowmaximized=false\r\n"
                             "skin=1373\r\nsspath=C:\\shots\r\nautofollow=true\r\n\r\n[channels]\r\nTrade=true\r\n"
                             "\r\n[windows]\r\nleftbarwidth=180\r\n")
    write(folder, "lines", "a=b\n[x]\n[]\n[y]\nk=\n=v\nk=v=w\n##[z]\n[x]\nk=2\n\r\n[end")
    write(folder, "containers", "[container0]\nx=10\ny=-20\nheight=300\nminimized=true\n")


def gfx(stamp, sprites, count=None):
    """A graphics file: stamp, count, then (width, height, run-length data) per id."""
    out = struct.pack("<Ii", stamp, len(sprites) + 1 if count is None else count)
    for width, height, data in sprites:
        out += struct.pack("<HHI", width, height, len(data)) + data
    return out


def gfx_seeds(folder):
    pixel = bytes([10, 20, 30, 255])
    runs = pixel + bytes([1, 5]) + pixel * 3 + bytes([1, 0]) + pixel
    write(folder, "small", gfx(1500000000, [(4, 3, runs), (2, 2, pixel * 4), (0, 0, b""), (16, 16, bytes([1, 255]))]))
    write(folder, "short-data", gfx(1500000000, [(8, 8, pixel * 2)]))
    write(folder, "cut", gfx(1500000000, [(4, 4, pixel * 16)])[:-7])
    write(folder, "count-too-big", gfx(1500000000, [(1, 1, pixel)], count=100000))
    write(folder, "size-past-end", gfx(1500000000, [(1, 1, pixel)]) + struct.pack("<HHI", 1, 1, 0xFFFFFFF0))


def items(version, records, marker=0xFF, count=None):
    out = struct.pack("<IHB", version, len(records) if count is None else count, marker)
    for item_id, name, speed in records:
        stored = bytes((b - 1) & 0xFF for b in name)
        out += struct.pack("<HBBIHHHf", item_id, 1, 0x2A, 0x00200102, 64, 0x0103, len(stored), speed) + stored
    return out


def itemscache_seeds(folder):
    write(folder, "good", items(7, [(100, b"Axe", 100.0), (19999, b"", 0.5), (0, b"Gold Coin", 150.0)]))
    write(folder, "bad-marker", items(7, [(100, b"Axe", 100.0)], marker=0xFE))
    write(folder, "cut", items(7, [(100, b"Axe", 100.0)])[:-2])
    write(folder, "trailing", items(7, [(100, b"Axe", 100.0)]) + b"\x00")
    write(folder, "long-name", items(7, [(100, b"n" * 300, 100.0)]))
    write(folder, "nan-speed", items(7, [(100, b"Axe", float("nan"))]))
    write(folder, "empty", items(0, []))


def minimap_seeds(folder):
    # One input is read as an area file, a markers file and an old single file.
    def marker(x, y, z, icon, text):
        return struct.pack("<HHBII", x, y, z, icon, len(text)) + text
    one_colour = bytes([1, 255]) * 257 + bytes([1, 1])
    write(folder, "area-one-colour", one_colour)
    write(folder, "area-runs", bytes([5, 2, 9, 0, 6, 1, 7, 255, 0, 3]))
    write(folder, "area-cut", one_colour[:101])
    write(folder, "markers", struct.pack("<I", 2) + marker(1046, 692, 7, 5768, b"temple") + marker(1, 2, 3, 5768, b""))
    write(folder, "markers-long-text", struct.pack("<I", 1) + marker(1, 2, 7, 5768, b"x" * 256))
    write(folder, "markers-cut", (struct.pack("<I", 3) + marker(1, 2, 7, 5768, b"camp"))[:-2])
    write(folder, "old", struct.pack("<III", 0xDEAD, 1, 2) + struct.pack("<HHBB", 10, 20, 16, 2)
          + struct.pack("<HHBB", 1000, 20, 7, 2) + b"\x01")
    write(folder, "old-bad-magic", struct.pack("<III", 0xBEEF, 1, 0))


def protocol_seeds(folder):
    # The first byte: bit 0 a game screen, the rest the size of the pieces.
    fs = fakeserver
    frames = {
        "characters": fs.frame(fs.character_list(30, fs.demo_characters())),
        "no-characters": fs.frame(fs.character_list(0, [])),
        "new-version": fs.frame(fs.new_version(fs.NEW_VERSION_TEXT, 612)),
        "wrong-account": fs.frame(fs.new_version(fs.WRONG_ACCOUNT_TEXT, 0)),
        "empty-text": fs.frame(fs.new_version(b"", 0)),
        "enter-game": fs.frame(fs.enter_game(0x10000001, 0x10000001, 1, 7)),
        "ping-disconnect": fs.frame(fs.ping(7) + fs.disconnect() + fs.ping(8)),
        "bad-opcode": fs.frame(fs.ping(7) + bytes([0x41, 0, 0])),
        "odd-chat": fs.frame(bytes([0x04]) + b"chat" * 4) + fs.frame(fs.ping(9)),
        "empty-frame": fs.frame(b"") + fs.frame(fs.ping(1)),
        "cut": fs.frame(fs.character_list(30, fs.demo_characters()))[:-9],
        "short-fields": fs.frame(bytes([0x02, 1, 0, 0, 0, 3, 0xFF, 0xFF])),
        "many": b"".join(fs.frame(fs.ping(i)) for i in range(200)),
    }
    # Every message the client reads, as the protocol tests send it: with a
    # ping behind it in one frame, or in the next for a sample that claims
    # more than its bytes hold.
    ending = fs.frame_ending_labels()
    for label, payload in fs.sample_payloads():
        seed = fs.frame(payload) + fs.frame(fs.ping(0x4242)) if label in ending \
            else fs.frame(payload + fs.ping(0x4242))
        frames["sample-" + label.replace(" #", "-")] = seed
    for name, data in frames.items():
        for first in (0, 1, 0x41):
            write(folder, f"{name}-{first}", bytes([first]) + data)
    # The same on a game screen that the fake world's login burst has filled
    # (item records, enter game, a whole view with the player and a
    # creature), so that the frame after the message draws it over a world.
    burst = fs.frame(world.item_records() + fs.enter_game(0x10000001, 0x10000001, 0, world.ITEMS_VERSION)
                     + world.World()._area("map_area", 20, 16, world.START[0] - 9, world.START[1] - 7))
    for label, payload in fs.sample_payloads():
        seed = fs.frame(payload) + fs.frame(fs.ping(0x4242)) if label in ending \
            else fs.frame(payload + fs.ping(0x4242))
        write(folder, "world-" + label.replace(" #", "-"), bytes([1]) + burst + seed)


def main(out):
    http_seeds(os.path.join(out, "http"))
    ini_seeds(os.path.join(out, "ini"))
    gfx_seeds(os.path.join(out, "gfx"))
    itemscache_seeds(os.path.join(out, "itemscache"))
    protocol_seeds(os.path.join(out, "protocol"))
    minimap_seeds(os.path.join(out, "minimap_files"))
    write(out, "stamp", "")


if __name__ == "__main__":
    main(sys.argv[1])
