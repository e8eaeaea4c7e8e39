#!/usr/bin/env python3
"""The client's requests, one table row per opcode: name and fields in wire
order, written from the protocol's description (never from the client's
code, so that one typo cannot hide in both).

A field is (kind, name) with kind one of u8, u16, u32, f32 and string; a
third element (low, high) limits the values a field may hold. Lists:
("list8", name, fields) reads a u8 count and then each entry's fields;
("u8list", name, (low, high)) a u8 count and that many u8 values. ("if",
name, value, fields) reads the fields only when the field name, read before,
holds value. The guild (0x38) and brewing (0x39) requests are families: a u8
sub-command follows the opcode, and each sub-command has a row of its own.

The decoder is strict: a frame holds exactly one request, and exactly the
fields of its row: a byte too many, a field cut short, an unknown opcode or
sub-command, or a value outside its limits is a DecodeError.

Run as a program, it decodes a file of frames (u16 length and payload, as the
client sends them) and prints one JSON line per frame:

    client_requests.py decode FILE
"""

import json
import sys

from wire import Reader, ShortPayload, Writer, to_bytes

PROTOCOL_VERSION = 573
LOGIN_TAG = b"kov847"

# Client opcodes the servers act on.
CLIENT_LOGIN = 0x01
CLIENT_GAME_LOGIN = 0x02
CLIENT_CHAT = 0x03
CLIENT_LOGOUT = 0x13
CLIENT_PONG = 0x19
CLIENT_GUILD = 0x38
CLIENT_BREW = 0x39

DIRECTION = (1, 8)
STRING = "string"


def _position(prefix=""):
    return [("u16", prefix + "x"), ("u16", prefix + "y"), ("u8", prefix + "z")]


# The step opcodes are the direction code plus 3.
_STEPS = {code + 3: ("step " + name, []) for code, name in enumerate(
    ["down", "left", "up", "right", "down-left", "up-left", "up-right", "down-right"], start=1)}

# opcode -> (name, fields)
REQUESTS = {
    CLIENT_LOGIN: ("login", [("u16", "version"), ("string", "account"), ("string", "password"),
                             ("string", "tag"), ("u32", "gfx_stamp"), ("u32", "reserved")]),
    CLIENT_GAME_LOGIN: ("game login", [("u16", "version"), ("string", "account"), ("string", "password"),
                                       ("string", "character"), ("u32", "items_version")]),
    CLIENT_CHAT: ("chat message", [("string", "channel"), ("string", "text")]),
    **_STEPS,
    0x0C: ("outfit", [("u16", "part0"), ("u16", "part1"), ("u16", "part2"), ("u8", "part3"), ("u8", "part4"),
                      ("u8", "part5"), ("u8", "part6"), ("u8", "part7"), ("u8", "part8")]),
    0x0D: ("turn", [("u8", "direction", DIRECTION)]),
    0x0E: ("move thing", _position("from_") + _position("to_") + [("u8", "count")]),
    0x0F: ("use at", _position() + [("u8", "container", (0, 19)), ("u32", "action")]),
    0x10: ("container close", [("u8", "container")]),
    0x11: ("look", _position()),
    0x12: ("targets", [("u32", "attack"), ("u32", "follow")]),
    CLIENT_LOGOUT: ("logout", []),
    0x14: ("op 14", [("u32", "offer"), ("u32", "amount"), ("u8", "buy_or_sell")]),
    0x15: ("join channel", [("u8", "kind"), ("string", "name")]),
    0x16: ("op 16", [("u8", "kind"), ("string", "name")]),
    0x17: ("add friend", [("string", "name"), ("u8", "list")]),
    0x18: ("remove friend", [("string", "name"), ("u8", "list")]),
    CLIENT_PONG: ("pong", [("u16", "value")]),
    0x1A: ("walk path", [("u32", "x_times_3"), ("u32", "y_times_2"), ("u16", "floor_times_4"),
                         ("u8list", "steps", DIRECTION)]),
    0x1B: ("party command", [("string", "name"), ("u8", "action")]),
    0x1C: ("request channels", []),
    0x1D: ("ban info request", [("string", "name")]),
    0x1E: ("banish", [("string", "name"), ("u16", "days"), ("string", "comments"), ("u8", "flag"),
                      ("string", "text")]),
    0x1F: ("trade command", [("u8", "sub"), ("if", "sub", 4, [("u16", "slot")])]),
    0x20: ("report", [("string", "text")]),
    0x21: ("op 21", [("u32", "first"), ("u8", "flag")]),
    0x22: ("request action list", []),
    0x23: ("cast spell", [("u16", "spell"), ("string", "target")]),
    0x24: ("op 24", [("string", "name")]),
    0x25: ("house save", _position() + [("list8", "invites", [("string", "name"), ("u8", "role")]),
                                        ("list8", "permissions", [("string", "name"), ("u8", "level")])]),
    0x26: ("house bid", [("u32", "house"), ("u32", "amount")]),
    0x27: ("op 27", [("u8", "container")]),
    0x28: ("request quests", []),
    0x29: ("summon monster", [("string", "name")]),
    0x2A: ("market open", []),
    0x2B: ("market accept", [("string", "player"), ("u32", "item"), ("u32", "amount"), ("f32", "price"),
                             ("u8", "side")]),
    0x2C: ("market create offer", [("u32", "item"), ("u32", "amount"), ("f32", "price"), ("u8", "side")]),
    0x2D: ("market query", [("u32", "item"), ("string", "player")]),
    0x2E: ("market offer action", [("u32", "item"), ("u8", "side")]),
    0x2F: ("house abandon", []),
    0x30: ("house transfer", [("string", "name"), ("u32", "price")]),
    0x31: ("request spells", []),
    0x32: ("op 32", []),
    0x33: ("talents", [("u16", name) for name in ("durability", "spirituality", "legerity", "expertise",
                                                  "aggression", "fortification", "resistance")]),
    0x34: ("op 34", []),
    0x35: ("npc shop select", [("u32", "item")]),
    0x36: ("house buy item", [("u32", "item")]),
    0x37: ("request guild", []),
    CLIENT_GUILD: ("guild", None),
    CLIENT_BREW: ("brewing", None),
    0x3A: ("request online list", []),
    0x4A: ("op 4a", [("u8", "container")]),
}

# family opcode -> {sub-command: (name, fields)}
FAMILIES = {
    CLIENT_GUILD: {
        1: ("guild command 1", [("string", "text")]),
        2: ("guild command 2", [("string", "name")]),
        3: ("guild command 3", [("u32", "member")]),
        4: ("guild create", [("string", "name")]),
        5: ("guild join", [("u32", "guild")]),
        6: ("guild command 6", [("u32", "member"), ("string", "title"), ("u32", "rank")]),
        7: ("guild command 7", [("string", "guild"), ("u32", "days"), ("u32", "fee"), ("u8", "loyalty")]),
        8: ("guild command 8", [("u32", "war")]),
        9: ("guild command 9", [("u32", "war")]),
        10: ("guild command 10", [("u8", "level"), ("string", "rank_name")]),
        11: ("guild command 11", [("u32", "rank")]),
        12: ("guild command 12", [("u32", "rank"), ("u8", "step")]),
    },
    CLIENT_BREW: {
        1: ("brew command 1", [("u8", "size"), ("u16", "amount")]),
        2: ("brew command 2", []),
        3: ("brew command 3", []),
    },
}


class DecodeError(ValueError):
    """A frame that is not exactly one request of the table."""


class Request:
    """One decoded client request: its opcode, a name, its fields and its bytes."""

    def __init__(self, server, opcode, name, fields, raw):
        self.server = server      # "login" or "game"
        self.opcode = opcode
        self.name = name
        self.fields = fields
        self.raw = raw            # the request's bytes, opcode included
        self.accepted = None      # for logins: whether the server accepted it

    def __repr__(self):
        shown = ", ".join(f"{k}={v!r}" for k, v in self.fields.items())
        return f"{self.server} <- 0x{self.opcode:02x} {self.name}({shown})"

    def as_json(self):
        """One line: the name, the opcode, the fields in wire order (text as
        Latin-1, so every byte is one character) and the bytes in hex."""
        line = {"request": self.name, "opcode": self.opcode}
        line.update(_plain(self.fields))
        line["raw"] = bytes(self.raw).hex()
        return json.dumps(line)


def _plain(value):
    if isinstance(value, (bytes, bytearray)):
        return bytes(value).decode("latin-1")
    if isinstance(value, dict):
        return {k: _plain(v) for k, v in value.items()}
    if isinstance(value, list):
        return [_plain(v) for v in value]
    return value


def _check(name, value, limits):
    if limits and not limits[0] <= value <= limits[1]:
        raise DecodeError(f"{name} is {value}, outside {limits[0]} to {limits[1]}")
    return value


def read_fields(reader, fields, into):
    for field in fields:
        kind, name = field[0], field[1]
        if kind == "list8":
            into[name] = [read_fields(reader, field[2], {}) for _ in range(reader.u8())]
        elif kind == "u8list":
            into[name] = [_check(name, reader.u8(), field[2]) for _ in range(reader.u8())]
        elif kind == "if":
            if into.get(name) == field[2]:
                read_fields(reader, field[3], into)
        else:
            into[name] = _check(name, getattr(reader, kind)(), field[2] if len(field) > 2 else None)
    return into


def decode_request(payload, server="game"):
    """The one request of a frame, or DecodeError."""
    reader = Reader(payload)
    if reader.remaining() == 0:
        raise DecodeError("empty frame")
    opcode = reader.u8()
    row = REQUESTS.get(opcode)
    if row is None:
        raise DecodeError(f"unknown opcode 0x{opcode:02x}")
    name, fields = row
    values = {}
    try:
        if fields is None:
            sub = reader.u8()
            family = FAMILIES[opcode]
            if sub not in family:
                raise DecodeError(f"unknown {name} sub-command {sub}")
            values["sub"] = sub
            name, fields = family[sub]
        read_fields(reader, fields, values)
    except ShortPayload as error:
        raise DecodeError(f"{name}: field cut short ({error})") from None
    if reader.remaining():
        raise DecodeError(f"{name}: {reader.remaining()} bytes too many")
    return Request(server, opcode, name, values, bytes(payload))


def decode_stream(data):
    """One JSON line per frame of a byte stream; a malformed frame gives a
    line with "error"."""
    lines = []
    at = 0
    while at < len(data):
        if len(data) - at < 2:
            lines.append(json.dumps({"error": "stream ends inside a length prefix", "raw": data[at:].hex()}))
            break
        size = data[at] | data[at + 1] << 8
        payload = data[at + 2:at + 2 + size]
        at += 2 + size
        if len(payload) < size:
            lines.append(json.dumps({"error": "stream ends inside a frame", "raw": payload.hex()}))
            break
        try:
            lines.append(decode_request(payload).as_json())
        except DecodeError as error:
            lines.append(json.dumps({"error": str(error), "raw": payload.hex()}))
    return lines


def encode_request(opcode, **values):
    """The bytes a correct client sends for one request of the table (not for
    the families)."""
    name, fields = REQUESTS[opcode]
    writer = Writer().u8(opcode)
    _write_fields(writer, fields, values)
    return writer.bytes()


def _write_fields(writer, fields, values):
    for field in fields:
        kind, name = field[0], field[1]
        if kind == "list8":
            writer.u8(len(values[name]))
            for entry in values[name]:
                _write_fields(writer, field[2], entry)
        elif kind == "u8list":
            writer.u8(len(values[name]))
            for value in values[name]:
                writer.u8(value)
        elif kind == "if":
            if values.get(name) == field[2]:
                _write_fields(writer, field[3], values)
        elif kind == "string":
            writer.string(to_bytes(values[name]))
        else:
            getattr(writer, kind)(values[name])


def login_request(account, password, gfx_stamp, tag=LOGIN_TAG, version=PROTOCOL_VERSION, reserved=0):
    """The login request a correct client sends, byte for byte."""
    return encode_request(CLIENT_LOGIN, version=version, account=account, password=password, tag=tag,
                          gfx_stamp=gfx_stamp, reserved=reserved)


def game_login_request(account, password, character, items_version, version=PROTOCOL_VERSION):
    """The game login a correct client sends, byte for byte."""
    return encode_request(CLIENT_GAME_LOGIN, version=version, account=account, password=password,
                          character=character, items_version=items_version)


def first_difference(expected, received):
    for i, (a, b) in enumerate(zip(expected, received)):
        if a != b:
            return i
    return min(len(expected), len(received))


def main(argv):
    if len(argv) != 3 or argv[1] != "decode":
        print("usage: client_requests.py decode FILE", file=sys.stderr)
        return 2
    with open(argv[2], "rb") as file:
        data = file.read()
    for line in decode_stream(data):
        print(line)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
