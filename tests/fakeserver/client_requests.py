"""The client's requests, one table row each: opcode, name and fields in wire
order, written from the protocol's description (never from the client's code,
so that one typo cannot hide in both).

A field is (kind, name) with kind one of u8, u16, u32, i32, u64, f32 and
string, or a list: ("list8", name, fields) and ("list16", name, fields) read a
u8 or u16 count and then each entry's fields.
"""

from wire import Reader, ShortPayload, Writer, to_bytes

PROTOCOL_VERSION = 573
LOGIN_TAG = b"kov847"

# Client opcodes the servers act on.
CLIENT_LOGIN = 0x01
CLIENT_GAME_LOGIN = 0x02
CLIENT_LOGOUT = 0x13
CLIENT_PONG = 0x19

# opcode -> (name, fields)
REQUESTS = {
    CLIENT_LOGIN: ("login", [("u16", "version"), ("string", "account"), ("string", "password"),
                             ("string", "tag"), ("u32", "gfx_stamp"), ("u32", "reserved")]),
    CLIENT_GAME_LOGIN: ("game login", [("u16", "version"), ("string", "account"), ("string", "password"),
                                       ("string", "character"), ("u32", "items_version")]),
    CLIENT_LOGOUT: ("logout", []),
    CLIENT_PONG: ("pong", [("u16", "value")]),
    # A step is one byte, the direction code plus 3; a turn names the direction.
    0x04: ("step down", []),
    0x05: ("step left", []),
    0x06: ("step up", []),
    0x07: ("step right", []),
    0x08: ("step down-left", []),
    0x09: ("step up-left", []),
    0x0A: ("step up-right", []),
    0x0B: ("step down-right", []),
    0x0D: ("turn", [("u8", "direction")]),
}


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


def read_fields(reader, fields, into):
    for field in fields:
        kind, name = field[0], field[1]
        if kind in ("list8", "list16"):
            count = reader.u8() if kind == "list8" else reader.u16()
            entries = []
            for _ in range(count):
                entries.append(read_fields(reader, field[2], {}))
            into[name] = entries
        else:
            into[name] = getattr(reader, kind)()
    return into


def decode_requests(payload, server="game"):
    """The requests of one frame. A request the table does not know takes the
    rest of the frame; one cut short is decoded as far as it goes."""
    reader = Reader(payload)
    requests = []
    while reader.remaining() > 0:
        start = reader.pos
        opcode = reader.u8()
        fields = {}
        row = REQUESTS.get(opcode)
        name = row[0] if row else "unknown"
        try:
            if row:
                read_fields(reader, row[1], fields)
            else:
                fields["rest"] = reader.rest()
        except ShortPayload as error:
            fields["short"] = str(error)
            reader.pos = len(reader.data)
        requests.append(Request(server, opcode, name, fields, payload[start:reader.pos]))
    return requests


def encode_request(opcode, **values):
    """The bytes a correct client sends for one request of the table."""
    name, fields = REQUESTS[opcode]
    writer = Writer().u8(opcode)
    for kind, field in ((f[0], f[1]) for f in fields):
        value = values[field]
        writer.string(to_bytes(value)) if kind == "string" else getattr(writer, kind)(value)
    return writer.bytes()


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
