"""The server's messages, one table row each: opcode and fields in wire order.

A field is (kind, name) with kind one of u8, u16, u32, i32, u64, f32 and
string, or a list: ("list8", name, fields) and ("list16", name, fields) write
a u8 or u16 count and then each entry's fields; ("until", name, fields, stop)
writes each entry and then the u16 stop value. Values come as keyword
arguments; an entry of a list is a dict (or an object with those attributes).

Messages whose payload is no fixed sequence of fields (the map-area stream,
for example) are functions in the module of their family that return the
payload; they register themselves in BUILDERS so that build() finds them too.
"""

from wire import Writer, to_bytes

# name -> (opcode, fields)
MESSAGES = {
    "new_version": (0x01, [("string", "text"), ("u32", "version")]),
    "character_list": (0x02, [
        ("u32", "premium_end"),
        ("list8", "characters", [
            ("string", "name"), ("string", "second_text"), ("string", "host"), ("u16", "port"),
            ("u16", "outfit0"), ("u16", "outfit1"), ("u16", "outfit2"),
            ("u8", "outfit3"), ("u8", "outfit4"), ("u8", "outfit5"),
            ("u8", "outfit6"), ("u8", "outfit7"), ("u8", "outfit8"),
            ("string", "fourth_text"), ("u16", "level"),
        ]),
    ]),
    "enter_game": (0x03, [("u32", "player_id"), ("u32", "followed_id"), ("u8", "welcome"),
                          ("u32", "items_version")]),
    "disconnect": (0x16, []),
    "ping": (0x19, [("u16", "value")]),
}

# name -> function(**values) returning a whole payload, opcode included.
BUILDERS = {}


def opcode_of(name):
    if name in MESSAGES:
        return MESSAGES[name][0]
    raise KeyError(f"no table row for the server message {name!r}")


def _value(values, name):
    if isinstance(values, dict):
        if name not in values:
            raise KeyError(f"missing field {name!r}")
        return values[name]
    return getattr(values, name)


def write_fields(writer, fields, values):
    for field in fields:
        kind, name = field[0], field[1]
        if kind in ("list8", "list16", "until"):
            entries = list(_value(values, name))
            if kind == "list8":
                writer.u8(len(entries))
            elif kind == "list16":
                writer.u16(len(entries))
            for entry in entries:
                write_fields(writer, field[2], entry)
            if kind == "until":
                writer.u16(field[3])
        elif kind == "string":
            writer.string(to_bytes(_value(values, name)))
        else:
            getattr(writer, kind)(_value(values, name))
    return writer


def build(name, **values):
    """The payload of one server message, opcode first."""
    if name in BUILDERS:
        return BUILDERS[name](**values)
    opcode, fields = MESSAGES[name]
    return write_fields(Writer().u8(opcode), fields, values).bytes()


# --- the login road -------------------------------------------------------------


def character_list(premium_end, characters):
    rows = []
    for c in characters:
        row = {"name": c.name, "second_text": c.second_text, "host": c.host, "port": c.port,
               "fourth_text": c.fourth_text, "level": c.level}
        for i in range(9):
            row[f"outfit{i}"] = c.outfit[i]
        rows.append(row)
    return build("character_list", premium_end=premium_end, characters=rows)


def new_version(text, version):
    return build("new_version", text=text, version=version)


def enter_game(player_id, followed_id, welcome, items_version):
    return build("enter_game", player_id=player_id, followed_id=followed_id, welcome=welcome,
                 items_version=items_version)


def ping(value):
    return build("ping", value=value)


def disconnect():
    return build("disconnect")
