"""The server's messages, one table row each: opcode and fields in wire order.

A field is (kind, name) with kind one of u8, u16, u32, i32, u64, f32 and
string, or a list: ("list8", name, fields), ("list16", name, fields) and
("list32", name, fields) write a u8, u16 or u32 count (the value of
NAME_count when given, else the number of entries) and then each entry's
fields; ("until", name, fields, stop) writes each entry and then the u16 stop
value (or NAME_stop when given). ("when", name, fields) writes the fields only when the value of name
(written before) is not 0. Values come as keyword arguments; an entry of a
list is a dict (or an object with those attributes).

Messages whose payload is no fixed sequence of fields (the map-area stream,
for example) are functions, here or in the module of their family, that
return the payload; they register themselves in BUILDERS so that build()
finds them too.

SAMPLES holds one valid payload of every message read after the login, as
the keyword values for build(): lists of several entries, strings with odd
bytes, conditional fields present. VARIANTS holds further valid shapes of
them (conditional fields absent, counts at their limits, and the shapes the
dialogs' tests and the fake server's behaviours send). The client's tests
send each of them followed by a ping in the same frame and expect the ping's
answer, so a handler that reads one byte too many or too few shows; add your
message's sample when you build its handler. A variant whose count claims
more than its bytes hold (a CutShort) is sent alone in its frame instead,
with the ping in the next.
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

    # --- chat, channels and notices ---
    "chat_message": (0x04, [("string", "sender"), ("string", "channel"), ("u8", "kind"), ("string", "text")]),
    "channel_open": (0x0b, [("u8", "channel_type"), ("string", "name")]),
    "status_text": (0x0f, [("string", "text")]),
    "channel_list": (0x1c, [("list8", "channels", [("string", "name")])]),
    "paged_text": (0x2b, [("string", "text")]),
    "tip_message": (0x34, [("u32", "tip_id"), ("string", "title"), ("string", "text"), ("u16", "x"), ("u16", "y"),
                           ("u8", "z")]),
    "tutorial": (0x3c, []),

    # --- the world: creatures, steps and tiles (map areas, creatures, tiles and
    # item records have builders below) ---
    "remove_creature": (0x07, [("u32", "id")]),
    "creature_step": (0x08, [("u32", "id"), ("u8", "direction")]),
    "walk_refused": (0x0a, [("string", "text"), ("u8", "unused")]),
    "resume_walk": (0x2e, []),

    # --- trade, NPC shop and market ---
    "npc_trade": (0x17, [("string", "item_name"), ("u32", "item_id"), ("u32", "price"), ("u32", "carried"),
                         ("u8", "buying")]),
    "trade_open": (0x20, [("string", "partner_name")]),
    "trade_items": (0x21, [
        ("u8", "own_locked"), ("u8", "partner_locked"), ("u8", "own_accepted"),
        ("until", "own_items", [("u16", "item_id"), ("u8", "count"), ("u8", "group")], 0xFFFF),
        ("until", "partner_items", [("u16", "item_id"), ("u8", "count"), ("u8", "group")], 0xFFFF),
    ]),
    "trade_end": (0x22, []),
    "no_operation": (0x23, []),
    "npc_shop_offers": (0x24, [
        ("list8", "offers", [("string", "name"), ("u32", "item_id"), ("u32", "price"), ("u8", "buy")]),
    ]),
    "npc_talk_end": (0x25, []),
    "market_offers": (0x2f, [
        ("u8", "full"),
        ("when", "full", [("u32", "balance")]),
        ("list32", "offers", [("string", "item_name"), ("u8", "category"), ("string", "player_name"),
                              ("u16", "item_id"), ("u32", "count"), ("f32", "price"), ("u8", "sell")]),
    ]),
    "market_history": (0x30, [
        ("list32", "records", [("u32", "time"), ("string", "item_name"), ("string", "player_name"),
                               ("f32", "price"), ("u32", "count")]),
    ]),
    "market_item_names": (0x36, [("list16", "items", [("u16", "item_id"), ("string", "name")])]),

    # --- houses ---
    "house": (0x28, [
        ("string", "name"), ("u16", "x"), ("u16", "y"), ("u8", "floor"),
        ("u8", "access_level"), ("u8", "grantable_rights"),
        ("list8", "invites", [("string", "name"), ("u8", "sub_owner")]),
        ("list8", "tile_permissions", [("string", "name"), ("u8", "rights")]),
        ("list8", "decoration_items", [("u32", "item_id"), ("string", "name"), ("string", "detail")]),
    ]),
    "house_bidding": (0x29, [
        ("u8", "can_bid"),
        ("list16", "houses", [("u32", "house_id"), ("string", "name"), ("string", "bidder"),
                              ("u32", "highest_bid"), ("u32", "seconds_left"), ("u32", "rent")]),
    ]),

    # --- guild and staff ---
    "ban_info": (0x1e, [("string", "comment"), ("string", "ban_time"), ("string", "info_line"),
                        ("u8", "banned")]),
    "ban_dialog": (0x1f, []),
    "guild": (0x38, [
        ("string", "name"), ("string", "channel_message"), ("u8", "own_level"),
        ("list8", "ranks", [("u32", "rank_id"), ("u8", "level"), ("u8", "order"), ("string", "name")]),
        ("list8", "members", [("u32", "member_id"), ("u32", "rank_id"), ("string", "name"),
                              ("string", "title")]),
        ("list8", "wars", [("u32", "war_id"), ("string", "text"), ("string", "status"), ("u8", "loyalty"),
                           ("u32", "loss_fee")]),
    ]),
    "guild_request_answered": (0x39, []),
    "party": (0x1b, [("list8", "members", [("string", "name"), ("u16", "number"), ("u8", "first_percent"),
                                           ("u8", "second_percent")])]),
    "no_guild": (0x3a, [("list8", "invites", [("u32", "guild_id"), ("string", "name")])]),
    "online_list": (0x40, [
        ("u8", "new_list"),
        ("list16", "players", [("string", "name"), ("u16", "level"), ("u32", "idle_seconds"),
                               ("u32", "online_minutes")]),
    ]),

    # --- quests, outfits, summons, brewing and recipes (the quest log has
    # builders below: "quest" and "achievements") ---
    "summon_list": (0x2d, [("list8", "monsters", [("string", "name"), ("u16", "mana")])]),
    "brewing": (0x3d, [
        ("u8", "active"),
        ("when", "active", [("u8", "potion_size"), ("u16", "amount"), ("u8", "heat"),
                            ("list8", "ingredients", [("u16", "item_id"), ("u16", "amount")])]),
    ]),
    "recipes": (0x3e, [("list8", "recipes", [("string", "name"), ("string", "text")])]),

    # --- player: equipment, containers and conditions ---
    # Slots 1 to 13 in order, always 39 bytes.
    "equipment": (0x0c, [field for k in range(1, 14) for field in (("u16", f"item{k}"), ("u8", f"count{k}"))]),
    "open_container": (0x0d, [
        ("u8", "index"), ("u32", "title_icon"), ("string", "title"), ("u8", "icon_button"), ("u8", "loot_button"),
        ("u8", "capacity"), ("list8", "items", [("u16", "item_id"), ("u8", "count")]),
    ]),
    "close_container": (0x0e, [("u8", "index")]),
    "conditions": (0x1a, [
        ("list8", "conditions", [("u32", "id")]),
        ("list8", "buffs", [("string", "name"), ("u32", "elapsed"), ("u32", "duration"), ("u8", "kind")]),
    ]),
    # --- spells and hotkeys ---
    # More than 100 spells end the client's reading of the frame.
    "spell_list": (0x26, [("list8", "spells", [("string", "name"), ("u16", "spell_id"), ("u16", "mana"),
                                               ("u8", "magic_level"), ("u16", "seconds"), ("u8", "offensive"),
                                               ("u8", "premium"), ("string", "description")])]),
    "spell_shade": (0x27, [("u32", "spell_id"), ("u8", "seconds")]),
    # Entries up to spell id 0 (0xFFFF ends the list too).
    "spell_library": (0x32, [("u16", "reset"),
                             ("until", "spells", [("u16", "spell_id"), ("u8", "vocation"), ("string", "name"),
                                                  ("string", "label"), ("u16", "mana"),
                                                  ("u16", "magic_level"), ("string", "description")], 0)]),
    "spell_cooldown": (0x35, [("u32", "spell_id"), ("u32", "seconds")]),
    "action_groups": (0x37, []),

    # --- map effects and markers ---
    "floating_text": (0x10, [("u16", "x"), ("u16", "y"), ("string", "text"), ("u8", "type")]),
    "effects": (0x11, [("list8", "effects", [("u16", "x"), ("u16", "y"), ("u16", "item_id")])]),
    "target_pair": (0x12, [("u32", "attack_target"), ("u32", "follow_target")]),
    "darkness": (0x13, [("u8", "level")]),
    "projectile": (0x15, [("u16", "from_x"), ("u16", "from_y"), ("u16", "to_x"), ("u16", "to_y"),
                          ("u16", "effect_id")]),
    "marker_item": (0x1d, [("u16", "x"), ("u16", "y"), ("u8", "z"), ("u32", "item_id")]),
    "remove_tile_item": (0x3b, [("u16", "x"), ("u16", "y"), ("u8", "z"), ("u16", "item_id")]),
    # Behind a shown flag of 0 nothing follows.
    "progress_bar": (0x3f, [("u8", "shown"), ("when", "shown", [("u16", "state"), ("u8", "value"), ("u16", "x"),
                                                                ("u16", "y"), ("u8", "z")])]),
}

# name -> function(**values) returning a whole payload, opcode included.
BUILDERS = {}
BUILDER_OPCODES = {}


def opcode_of(name):
    if name in MESSAGES:
        return MESSAGES[name][0]
    if name in BUILDER_OPCODES:
        return BUILDER_OPCODES[name]
    raise KeyError(f"no table row for the server message {name!r}")


def builder(name, opcode):
    """Registers a function as the builder of a message."""
    def register(function):
        BUILDERS[name] = function
        BUILDER_OPCODES[name] = opcode
        return function
    return register


def _value(values, name):
    if isinstance(values, dict):
        if name not in values:
            raise KeyError(f"missing field {name!r}")
        return values[name]
    return getattr(values, name)


def write_fields(writer, fields, values):
    for field in fields:
        kind, name = field[0], field[1]
        if kind == "when":
            if _value(values, name):
                write_fields(writer, field[2], values)
        elif kind in ("list8", "list16", "list32", "until"):
            entries = list(_value(values, name))
            # NAME_count, when given, is written in place of the number of
            # entries: a count that claims more (or fewer) than follow.
            count = values.get(f"{name}_count", len(entries)) if isinstance(values, dict) else len(entries)
            if kind == "list8":
                writer.u8(count)
            elif kind == "list16":
                writer.u16(count)
            elif kind == "list32":
                writer.u32(count)
            limit = {"list8": 0xFF, "list16": 0xFFFF}.get(kind)
            if limit is not None and max(len(entries), count) > limit:
                raise ValueError(f"{max(len(entries), count)} entries do not fit the count of {name!r}")
            for entry in entries:
                write_fields(writer, field[2], entry)
            if kind == "until":
                writer.u16(values.get(f"{name}_stop", field[3]) if isinstance(values, dict) else field[3])
        elif kind == "string":
            writer.string(to_bytes(_value(values, name)))
        else:
            getattr(writer, kind)(_value(values, name))
    return writer


def build(message, /, **values):
    """The payload of one server message, opcode first. (The message's name
    is positional only: a field may be called "name".)"""
    if message in BUILDERS:
        return BUILDERS[message](**values)
    opcode, fields = MESSAGES[message]
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


# --- messages of an irregular shape ---------------------------------------------------

@builder("quest", 0x2a)
def quest(kind, reset, name, progress, lines, line_count=None):
    """The quest log's kind 1: one quest and its notes (other kinds are
    "achievements"). line_count, when given, is written in place of the
    number of lines: a count that claims more notes than follow."""
    if kind != 1:
        raise ValueError("a quest has kind 1")
    count = len(lines) if line_count is None else line_count
    if not 0 <= count <= 0xFFFF or len(lines) > 0xFFFF:
        raise ValueError("the line count is a u16")
    w = Writer().u8(0x2a).u16(kind).u8(reset).string(to_bytes(name)).u8(progress).u16(count)
    for line in lines:
        w.string(to_bytes(_value(line, "text")))
    return w.bytes()


ACHIEVEMENTS_MAX = 255


@builder("achievements", 0x2a)
def achievements(kind, reset, points_earned, points_possible, entries):
    """The quest log with a kind other than 1: up to 255 achievements, ended
    by an empty name when there are fewer (a name must not be empty)."""
    if kind == 1 or len(entries) > ACHIEVEMENTS_MAX:
        raise ValueError("achievements need a kind other than 1 and at most 255 entries")
    w = Writer().u8(0x2a).u16(kind).u8(reset).u32(points_earned).u32(points_possible)
    for entry in entries:
        if not _value(entry, "name"):
            raise ValueError("an empty name would end the list")
        write_fields(w, [("string", "name"), ("u16", "level"), ("u16", "points"), ("u8", "progress"),
                         ("string", "description")], entry)
    if len(entries) < ACHIEVEMENTS_MAX:
        w.string(b"")
    return w.bytes()


@builder("outfit_choices", 0x33)
def outfit_choices(outfits, hair, beards):
    """Three counts first, then the three lists of (id, requirement)."""
    lists = (outfits, hair, beards)
    w = Writer().u8(0x33)
    for entries in lists:
        if len(entries) > 0xFF:
            raise ValueError("at most 255 choices of each kind")
        w.u8(len(entries))
    for entries in lists:
        for entry in entries:
            write_fields(w, [("u32", "id"), ("u8", "requirement")], entry)
    return w.bytes()


# --- the world ------------------------------------------------------------------------

CREATURE_MARKER = 10   # in a tile's list: a creature record follows
SKIP = 0xFF00          # 0xFF00 + n ends a tile and leaves the n tiles after it unchanged
LIST_END = 0xFFFF


def creature_record(writer, c):
    """A creature: flags, id, name, health, direction, speed, light byte, the
    nine outfit values (three u16, six u8), and the privilege byte when bit 0
    of the flags is set. c is a dict (or an object with those attributes)."""
    flags = _value(c, "flags")
    writer.u8(flags).u32(_value(c, "id")).string(to_bytes(_value(c, "name")))
    writer.u8(_value(c, "health")).u8(_value(c, "direction")).u16(_value(c, "speed")).u8(_value(c, "light"))
    outfit = list(_value(c, "outfit"))
    for v in outfit[:3]:
        writer.u16(v)
    for v in outfit[3:]:
        writer.u8(v)
    if flags & 0x01:
        writer.u8(_value(c, "privilege"))
    return writer


def area_floors(z):
    """The floors an area message carries, in stream order: 7 down to 0 above
    ground; two either side of z below it, no deeper than 15."""
    if z <= 7:
        return list(range(7, -1, -1))
    return list(range(z - 2, min(z + 2, 15) + 1))


def tile_stream(writer, tiles):
    """The area stream of a list of tiles in stream order (floor, then x, then
    y). A tile is None (left unchanged) or a list of entries, each
    ("item", id) for an item without a count byte, ("item", id, count) for a
    stackable one, or ("creature", record). Runs of unchanged tiles become
    skip values, at most 255 a time; the count runs on across columns and
    floors."""
    i = 0
    n = len(tiles)
    while i < n:
        if tiles[i] is None:
            run = 1
            while i + run < n and tiles[i + run] is None and run < 256:
                run += 1
            writer.u16(SKIP + run - 1)
            i += run
            continue
        for entry in tiles[i]:
            if entry[0] == "creature":
                writer.u16(CREATURE_MARKER)
                creature_record(writer, entry[1])
            else:
                writer.u16(entry[1])
                if len(entry) > 2:
                    writer.u8(entry[2])
        i += 1
        run = 0
        while i < n and tiles[i] is None and run < 255:
            run += 1
            i += 1
        writer.u16(SKIP + run)
    return writer


def _area(opcode, width, height, x, y, z, camera_flag, tiles):
    expected = width * height * len(area_floors(z))
    if len(tiles) != expected:
        raise ValueError(f"an area of {width} x {height} on floors {area_floors(z)} has {expected} tiles, "
                         f"not {len(tiles)}")
    w = Writer().u8(opcode).u8(width).u8(height).u16(x).u16(y).u8(z).u8(camera_flag)
    return tile_stream(w, tiles).bytes()


@builder("map_area", 0x05)
def map_area(width, height, x, y, z, camera_flag, tiles):
    """A map area: 20 x 16 is a whole view around the player."""
    return _area(0x05, width, height, x, y, z, camera_flag, tiles)


@builder("map_area_strip", 0x09)
def map_area_strip(width, height, x, y, z, camera_flag, tiles):
    """The same after a step of the player: the part that came into view."""
    return _area(0x09, width, height, x, y, z, camera_flag, tiles)


@builder("add_creature", 0x06)
def add_creature(x, y, z, creature):
    return creature_record(Writer().u8(0x06).u16(x).u16(y).u8(z), creature).bytes()


@builder("tile_update", 0x2c)
def tile_update(x, y, z, items):
    """One tile's items, top first: (id,) or (id, count) for a stackable one."""
    w = Writer().u8(0x2c).u16(x).u16(y).u8(z)
    for item in items:
        w.u16(item[0])
        if len(item) > 1:
            w.u8(item[1])
    return w.u16(LIST_END).bytes()


@builder("item_records", 0x31)
def item_records(records):
    """Item records up to 0xFFFF; the ground speed is sent for ground items only."""
    w = Writer().u8(0x31)
    for r in records:
        ground = _value(r, "ground")
        w.u16(_value(r, "id")).u8(ground).u32(_value(r, "flags")).u16(_value(r, "pattern"))
        w.u16(_value(r, "frames")).string(to_bytes(_value(r, "name"))).u8(_value(r, "minimap"))
        if ground == 1:
            w.u8(_value(r, "speed"))
    return w.u16(LIST_END).bytes()


# --- the player's statistics and the friends lists ---

# The statistics carry eight skill groups and eight talent values (the
# unused points first): 75 bytes behind the opcode.
PLAYER_STATS_SKILL_GROUPS = 8


@builder("player_stats", 0x14)
def player_stats(health, max_health, mana, max_mana, level, experience, experience_percent, rate, magic_level,
                 magic_level_bonus, magic_level_percent, skills, unused_points, talents):
    """skills: (level, bonus -128..127, percent) per group; talents: the seven talents' points."""
    if len(skills) != PLAYER_STATS_SKILL_GROUPS or len(talents) != 7:
        raise ValueError("eight skill groups and seven talents")
    w = Writer().u8(0x14)
    w.u16(health).u16(max_health).u16(mana).u16(max_mana).u16(level).u64(experience).u8(experience_percent)
    w.u32(rate).u16(magic_level).u8(magic_level_bonus).u8(magic_level_percent)
    for skill_level, bonus, percent in skills:
        w.u16(skill_level).u8(bonus & 0xFF).u8(percent)
    w.u16(unused_points)
    for points in talents:
        w.u16(points)
    return w.bytes()


@builder("friends", 0x18)
def friends(clear, entries):
    """The u16 count comes before the clear flag, the entries after it."""
    w = Writer().u8(0x18).u16(len(entries)).u8(clear)
    for e in entries:
        w.string(to_bytes(_value(e, "name"))).u8(_value(e, "online")).u8(_value(e, "list"))
    return w.bytes()


# --- samples ------------------------------------------------------------------------

# Bytes a handler must carry through unchanged: a NUL, the colour markup
# bytes 0x01 and 0x02, a byte above 0x7f, 0xff, a line break and a format
# sign.
ODD = b"\x00\x01\x7f\x80\x02 caf\xe9\xff\n%s"

SAMPLES = {
    "chat_message": dict(sender=b"Ana" + ODD, channel=b"Main", kind=1, text=b"hello " + ODD),
    "channel_open": dict(channel_type=2, name=b"Trade" + ODD),
    "status_text": dict(text=b"You are exhausted." + ODD),
    "channel_list": dict(channels=[dict(name=b"Trade"), dict(name=ODD), dict(name=b"")]),
    "paged_text": dict(text=b"First page|Second page|" + ODD),
    "tip_message": dict(tip_id=0xFFFFFFFF, title=b"Tip" + ODD, text=ODD, x=0xFFFF, y=1000, z=255),
    "tutorial": dict(),
    # The world. Item ids 7001 and 7002 are defined by the item-record
    # sample (7002 stackable); 7100 has no record anywhere, so it carries no
    # count byte.
    "map_area": dict(width=2, height=1, x=100, y=200, z=7, camera_flag=1, tiles=[
        [("item", 7100), ("creature", dict(flags=0x43, id=0x40000001, name=b"Rat" + ODD, health=100, direction=2,
                                           speed=0xFFFF, light=255, outfit=(0xFFFF, 1, 2, 255, 255, 255, 0, 1, 2),
                                           privilege=3))],
        None, None, [("item", 7100)], None, None, None, None, None, None, None, None, None, None, None,
        [("creature", dict(flags=0, id=0xFFFFFFFF, name=b"", health=0, direction=9, speed=0, light=0,
                           outfit=(0, 0, 0, 0, 0, 0, 0, 0, 0))), ("item", 7100)]]),
    "map_area_strip": dict(width=1, height=3, x=0xFFFF, y=0, z=9, camera_flag=0,
                           tiles=[None] * 14 + [[("item", 7100)]]),
    "add_creature": dict(x=65535, y=65535, z=255, creature=dict(
        flags=0x01, id=0x40000002, name=ODD, health=255, direction=0, speed=300, light=6,
        outfit=(10, 0, 0, 200, 200, 9, 200, 200, 200), privilege=255)),
    "remove_creature": dict(id=0x40000002),
    "creature_step": dict(id=0x40000001, direction=4),
    "walk_refused": dict(text=b"Sorry, not possible." + ODD, unused=255),
    "tile_update": dict(x=100, y=200, z=7, items=[(7100,), (7100,), (7100,)]),
    "resume_walk": dict(),
    "item_records": dict(records=[
        dict(id=7001, ground=1, flags=0, pattern=32, frames=0x0103, name=b"Test Grass" + ODD, minimap=0,
             speed=150),
        dict(id=7002, ground=0, flags=0x100, pattern=64, frames=0, name=b"", minimap=9, speed=None),
        dict(id=0xFFFE, ground=2, flags=0xFFFFFFFF, pattern=0xFFFF, frames=0xFFFF, name=ODD, minimap=255,
             speed=None),
    ]),
    "npc_trade": dict(item_name=b"Mana Potion" + ODD, item_id=2874, price=0xFFFFFFFF, carried=0, buying=1),
    "trade_open": dict(partner_name=ODD),
    "trade_items": dict(
        own_locked=1, partner_locked=0, own_accepted=255,
        own_items=[dict(item_id=0, count=1, group=0), dict(item_id=0xFFFE, count=100, group=7),
                   dict(item_id=3031, count=255, group=7)],
        partner_items=[dict(item_id=2160, count=1, group=0), dict(item_id=0xFF00, count=0, group=255)]),
    "trade_end": dict(),
    "no_operation": dict(),
    "npc_shop_offers": dict(offers=[
        dict(name=b"Sword", item_id=2376, price=85, buy=1),
        dict(name=ODD, item_id=0xFFFFFFFF, price=0, buy=0),
        dict(name=b"", item_id=1, price=1, buy=2),
    ]),
    "npc_talk_end": dict(),
    "market_offers": dict(full=1, balance=123456789, offers=[
        dict(item_name=b"Plate Armor", category=9, player_name=b"Aldric", item_id=2463, count=3, price=1250.5,
             sell=1),
        dict(item_name=ODD, category=15, player_name=ODD, item_id=0xFFFF, count=0x7FFFFFFF, price=-0.0,
             sell=0),
        dict(item_name=b"", category=0, player_name=b"", item_id=0, count=0, price=1e30, sell=9),
    ]),
    "market_history": dict(records=[
        dict(time=1700000000, item_name=b"Gold Coin", player_name=b"Brenna", price=1.0, count=100),
        dict(time=0xFFFFFFFF, item_name=ODD, player_name=b"", price=0.25, count=0),
    ]),
    "market_item_names": dict(items=[
        dict(item_id=2160, name=b"Crystal Coin"), dict(item_id=0xFFFF, name=ODD), dict(item_id=0, name=b""),
    ]),
    "house": dict(
        name=b"Harbour Lane 4" + ODD, x=0xFFFF, y=1024, floor=7, access_level=2, grantable_rights=7,
        invites=[dict(name=b"Aldric", sub_owner=1), dict(name=ODD, sub_owner=255), dict(name=b"", sub_owner=0)],
        tile_permissions=[dict(name=b"Brenna", rights=0xFF), dict(name=b"Cedric", rights=1)],
        decoration_items=[dict(item_id=1650, name=b"Chair", detail=b"5 premium cards"),
                          dict(item_id=0xFFFFFFFF, name=ODD, detail=b"")]),
    "house_bidding": dict(can_bid=1, houses=[
        dict(house_id=1, name=b"Harbour Lane 4", bidder=b"Aldric", highest_bid=12, seconds_left=86400, rent=3),
        dict(house_id=0xFFFFFFFF, name=ODD, bidder=b"", highest_bid=0, seconds_left=0xFFFFFFFF, rent=0),
    ]),
    "ban_info": dict(comment=b"Botting" + ODD, ban_time=b"14", info_line=b"Banned until Monday", banned=1),
    "ban_dialog": dict(),
    "guild": dict(
        name=b"Knights of Velmora", channel_message=ODD, own_level=2,
        ranks=[dict(rank_id=3, level=2, order=0, name=b"Leader"), dict(rank_id=9, level=1, order=1, name=ODD),
               dict(rank_id=0xFFFFFFFF, level=5, order=255, name=b"")],
        members=[dict(member_id=100, rank_id=3, name=b"Aldric", title=b""),
                 dict(member_id=101, rank_id=9, name=b"Brenna", title=ODD),
                 dict(member_id=0xFFFFFFFF, rank_id=77, name=b"Invited One", title=b"x")],
        wars=[dict(war_id=5, text=b"Knights vs Rogues", status=b"Not accepted", loyalty=1, loss_fee=500),
              dict(war_id=6, text=ODD, status=b"", loyalty=0, loss_fee=0xFFFFFFFF)]),
    "guild_request_answered": dict(),
    "player_stats": dict(health=150, max_health=185, mana=0xFFFF, max_mana=0, level=42, experience=0xFFFFFFFFFFFF,
                         experience_percent=30, rate=150, magic_level=45, magic_level_bonus=255,
                         magic_level_percent=101, skills=[(45, -2, 70), (0xFFFF, 127, 0), (1, -128, 255),
                                                          (10, 0, 5), (20, 1, 6), (30, 2, 7), (40, 3, 8), (9, 9, 9)],
                         unused_points=3, talents=[50, 0, 100, 10, 0xFFFF, 1, 25]),
    "friends": dict(clear=1, entries=[dict(name=b"Birch", online=1, list=0), dict(name=b"alder", online=0, list=0),
                                      dict(name=ODD, online=255, list=1), dict(name=b"Ash", online=1, list=2),
                                      dict(name=b"Birch", online=0, list=10), dict(name=b"", online=1, list=200)]),
    "party": dict(members=[dict(name=b"Aldric", number=42, first_percent=100, second_percent=50),
                           dict(name=ODD, number=0xFFFF, first_percent=255, second_percent=0),
                           dict(name=b"Aldric", number=1, first_percent=0, second_percent=0)]),
    "no_guild": dict(invites=[dict(guild_id=1, name=b"Knights of Velmora"), dict(guild_id=0xFFFFFFFF, name=ODD)]),
    "online_list": dict(new_list=1, players=[
        dict(name=b"Aldric", level=42, idle_seconds=7, online_minutes=90),
        dict(name=ODD, level=0xFFFF, idle_seconds=0xFFFFFFFF, online_minutes=0),
    ]),
    "quest": dict(kind=1, reset=1, name=b"The Lost Ring" + ODD, progress=50,
                  lines=[dict(text=b"Start: talk to the innkeeper."), dict(text=ODD), dict(text=b"")]),
    "achievements": dict(kind=2, reset=0, points_earned=15, points_possible=0xFFFFFFFF, entries=[
        dict(name=b"First Steps", level=1, points=5, progress=100, description=b"Leave the temple."),
        dict(name=ODD, level=0xFFFF, points=0, progress=0, description=ODD),
    ]),
    "summon_list": dict(monsters=[dict(name=b"Rat", mana=20), dict(name=ODD, mana=0xFFFF)]),
    "outfit_choices": dict(
        outfits=[dict(id=10, requirement=0), dict(id=145, requirement=1)],
        hair=[dict(id=0xFFFFFFFF, requirement=255)],
        beards=[dict(id=1, requirement=0), dict(id=2, requirement=3), dict(id=3, requirement=0)]),
    "brewing": dict(active=1, potion_size=3, amount=0xFFFF, heat=200, ingredients=[
        dict(item_id=2799, amount=4), dict(item_id=2800, amount=0), dict(item_id=2799, amount=9),
    ]),
    "recipes": dict(recipes=[dict(name=b"Small Health Potion", text=b"Two moonflowers" + ODD),
                             dict(name=ODD, text=b"")]),
    "equipment": dict({f"item{k}": (0xFFFF if k == 11 else 7000 + k) for k in range(1, 14)},
                      **{f"count{k}": (255 if k == 13 else k % 3) for k in range(1, 14)}),
    "open_container": dict(index=3, title_icon=0xFFFFFFFF, title=b"Backpack" + ODD, icon_button=1, loot_button=255,
                           capacity=255, items=[dict(item_id=7002, count=100), dict(item_id=0, count=0),
                                                dict(item_id=0xFFFF, count=255)]),
    "close_container": dict(index=3),
    "conditions": dict(conditions=[dict(id=1104), dict(id=0), dict(id=0xFFFFFFFF)], buffs=[
        dict(name=b"Haste" + ODD, elapsed=0xFFFFFFFF, duration=0xFFFFFFFF, kind=255),
        dict(name=b"", elapsed=1, duration=2, kind=0)]),
    "spell_list": dict(spells=[
        dict(name=b"Light Healing", spell_id=1418, mana=20, magic_level=1, seconds=0, offensive=1, premium=0,
             description=b"Heals a little."),
        dict(name=ODD, spell_id=0xFFFF, mana=0xFFFF, magic_level=255, seconds=0xFFFF, offensive=255, premium=1,
             description=ODD),
        dict(name=b"", spell_id=0, mana=0, magic_level=0, seconds=0, offensive=0, premium=0, description=b""),
    ]),
    "spell_shade": dict(spell_id=0xFFFFFFFF, seconds=255),
    "spell_library": dict(reset=1, spells=[
        dict(spell_id=1418, vocation=1, name=b"Light Healing", label=b"Level 1" + ODD, mana=20,
             magic_level=1, description=b"Heals a little."),
        dict(spell_id=0xFFFE, vocation=255, name=ODD, label=b"", mana=0xFFFF, magic_level=0,
             description=b""),
    ]),
    "spell_cooldown": dict(spell_id=1418, seconds=0xFFFFFFFF),
    "action_groups": dict(),
    "floating_text": dict(x=0xFFFF, y=0, text=b"-125" + ODD, type=9),
    "effects": dict(effects=[dict(x=100, y=100, item_id=4100), dict(x=0xFFFF, y=0xFFFF, item_id=0xFFFF),
                             dict(x=0, y=0, item_id=0)]),
    "target_pair": dict(attack_target=0x40000001, follow_target=0xFFFFFFFF),
    "darkness": dict(level=0),
    "projectile": dict(from_x=100, from_y=100, to_x=0xFFFF, to_y=0, effect_id=4200),
    "marker_item": dict(x=0xFFFF, y=0xFFFF, z=255, item_id=0xFFFFFFFF),
    "remove_tile_item": dict(x=100, y=100, z=7, item_id=0xFFFF),
    "progress_bar": dict(shown=1, state=0xFFFF, value=255, x=100, y=100, z=255),
}

class CutShort(dict):
    """The keyword values of a shape whose count claims more than the bytes
    that follow it. The client reads such a message up to the end of its
    frame, so anything behind it in the frame would be taken for its data:
    the tests send it alone in its frame. With cut_bytes, that many bytes
    are taken off the end of the built message: a list, a record or a
    terminator the frame ends before."""


# Further valid shapes: name -> list of keyword values (a CutShort for a
# count beyond the message's bytes).
VARIANTS = {
    "chat_message": [dict(sender=b"", channel=b"", kind=255, text=b""),
                     dict(sender=b"Server", channel=b"Main", kind=6, text=b"Your talent points were reset.")],
    "channel_list": [dict(channels=[])],
    "map_area": [
        # Floors 12 to 15, every tile skipped in one value; and a whole view.
        dict(width=1, height=2, x=1, y=1, z=14, camera_flag=0, tiles=[None] * 8),
        dict(width=20, height=16, x=90, y=90, z=7, camera_flag=0,
             tiles=[[("item", 7100)]] * 320 + [None] * (320 * 7)),
    ],
    "tile_update": [dict(x=0, y=0, z=0, items=[])],
    "item_records": [dict(records=[])],
    # The merchant: questions buying and selling, a price of 0 with gold whose
    # top bit is set, a total beyond 32 bits; shops empty, of the fake world,
    # and of 255 offers.
    "npc_trade": [dict(item_name=b"a torch", item_id=130, price=8, carried=50, buying=1),
                  dict(item_name=b"a torch", item_id=130, price=3, carried=1, buying=0),
                  dict(item_name=b"a fish", item_id=605, price=0, carried=0x80000000, buying=1),
                  dict(item_name=b"", item_id=110, price=300000, carried=10000, buying=0)],
    "npc_shop_offers": [dict(offers=[]),
                        dict(offers=[dict(name=b"flower", item_id=120, price=5, buy=1),
                                     dict(name=b"torch", item_id=130, price=8, buy=1),
                                     dict(name=b"torch", item_id=130, price=3, buy=0)]),
                        dict(offers=[dict(name=b"W%d" % i, item_id=i, price=i * 7, buy=i % 2)
                                     for i in range(255)])],
    # The market: a full listing of the player's own offers and others' in
    # one category, one without the flag, counts of 0 and from 2^31 on
    # (dropped), more offers announced than sent; history times across the
    # years, one from 2^31 on (dropped) and equal times; a catalogue with a
    # name twice and one cut short.
    "market_offers": [dict(full=0, offers=[SAMPLES["market_offers"]["offers"][0]]),
                      dict(full=1, balance=0, offers=[]),
                      dict(full=1, balance=5000, offers=[
                          dict(item_name=b"flower", category=2, player_name=b"Brenna", item_id=120, count=5,
                               price=2.5, sell=1),
                          dict(item_name=b"flower", category=2, player_name=b"Cedric", item_id=120, count=10,
                               price=2.0, sell=0),
                          dict(item_name=b"torch", category=2, player_name=b"Aldric", item_id=130, count=1,
                               price=4.0, sell=1),
                          dict(item_name=b"torch", category=2, player_name=b"aldric", item_id=130, count=0x80000000,
                               price=float("inf"), sell=0)]),
                      dict(full=0, offers=[], offers_count=0x80000000),
                      dict(full=0, offers=[dict(item_name=b"bread", category=2, player_name=b"Bob", item_id=5,
                                                count=1, price=float("nan"), sell=1)]),
                      CutShort(full=0, offers=[
                          dict(item_name=b"bread", category=2, player_name=b"Bob", item_id=5, count=1, price=1.0,
                               sell=1),
                          dict(item_name=b"milk", category=2, player_name=b"Bob", item_id=6, count=1, price=1.0,
                               sell=0)], offers_count=9)],
    "market_history": [dict(records=[]),
                       dict(records=[dict(time=t, item_name=b"torch", player_name=b"Brenna", price=4.0, count=1)
                                     for t in (1467104700, 1231003800, 1231003800, 1136073540, 0, 0x7FFFFFFF,
                                               0x80000000)]),
                       CutShort(records=[dict(time=1, item_name=b"a", player_name=b"", price=0.5, count=2)],
                                records_count=0x7FFFFFFF)],
    "market_item_names": [dict(items=[]),
                          dict(items=[dict(item_id=120, name=b"flower"), dict(item_id=130, name=b"torch"),
                                      dict(item_id=130, name=b"torch"), dict(item_id=110, name=b"gold coin")]),
                          CutShort(items=[dict(item_id=130, name=b"torch")], items_count=0xFFFF)],
    # The trade window's states and offers: a start with a plain name and an
    # empty one; updates through open, locked, both locked and accepted; 17
    # own items (three rows) beside 8 of the partner's (one), groups whose
    # runs are one slot, darker groups and an id without a picture.
    "trade_open": [dict(partner_name=b"Bob"), dict(partner_name=b"")],
    "trade_items": [dict(own_locked=0, partner_locked=0, own_accepted=0, own_items=[], partner_items=[]),
                    dict(own_locked=1, partner_locked=0, own_accepted=0,
                         own_items=[dict(item_id=120, count=1, group=0)], partner_items=[]),
                    dict(own_locked=1, partner_locked=1, own_accepted=0, own_items=[],
                         partner_items=[dict(item_id=110, count=30, group=1), dict(item_id=110, count=12, group=1)]),
                    dict(own_locked=1, partner_locked=1, own_accepted=1,
                         own_items=[dict(item_id=110 + i % 3 * 10, count=i + 1, group=0) for i in range(17)],
                         partner_items=[dict(item_id=130, count=1, group=0)] * 8),
                    dict(own_locked=0, partner_locked=1, own_accepted=0,
                         own_items=[dict(item_id=120, count=1, group=g) for g in (0, 3, 3, 0, 5, 8, 9, 255)],
                         partner_items=[dict(item_id=0xFFFE, count=255, group=0)]),
                    # No 0xFFFF at all: the player's offer ends with the frame.
                    CutShort(own_locked=1, partner_locked=0, own_accepted=0,
                             own_items=[dict(item_id=403, count=2, group=0), dict(item_id=130, count=1, group=1)],
                             partner_items=[], cut_bytes=4)],
    # The house: no entries at all; an invite-only level with rights bits
    # above 4, repeated names and an item without a picture; both lists full;
    # and a decoration list that ends with the message.
    "house": [dict(name=b"", x=0, y=0, floor=0, access_level=0, grantable_rights=0, invites=[],
                   tile_permissions=[], decoration_items=[]),
              dict(name=b"Harbour Lane 4", x=130, y=125, floor=7, access_level=1, grantable_rights=0xF6,
                   invites=[dict(name=b"Ivo", sub_owner=0), dict(name=b"Ivo", sub_owner=2)],
                   tile_permissions=[dict(name=b"Mira", rights=5), dict(name=b"Mira", rights=0x80)],
                   decoration_items=[dict(item_id=120, name=b"Flower", detail=b"2 premium cards"),
                                     dict(item_id=130, name=b"Torch", detail=b"3 premium cards"),
                                     dict(item_id=0xFFFF, name=b"Statue", detail=b"")]),
              dict(name=b"Guildhall", x=1, y=2, floor=15, access_level=255, grantable_rights=255,
                   invites=[dict(name=b"I%d" % i, sub_owner=i % 2) for i in range(255)],
                   tile_permissions=[dict(name=b"P%d" % i, rights=i) for i in range(255)],
                   decoration_items=[]),
              CutShort(name=b"Cut", x=130, y=125, floor=7, access_level=2, grantable_rights=7,
                       invites=[dict(name=b"Ivo", sub_owner=1)], tile_permissions=[],
                       decoration_items=[dict(item_id=120, name=b"Flower", detail=b"x")], decoration_items_count=3),
              # The message ends after the house's x; two invites announced,
              # one sent, and nothing behind it.
              CutShort(name=b"Cut", x=130, y=125, floor=7, access_level=2, grantable_rights=7, invites=[],
                       tile_permissions=[], decoration_items=[], cut_bytes=8),
              CutShort(name=b"Cut", x=1, y=2, floor=7, access_level=2, grantable_rights=0,
                       invites=[dict(name=b"Ivo", sub_owner=2)], invites_count=2, tile_permissions=[],
                       decoration_items=[], cut_bytes=2)],
    # Houses with and without a bidder, seconds left of 0 and below, and a
    # count of 500 over the one house that follows.
    "house_bidding": [dict(can_bid=0, houses=[]),
                      dict(can_bid=2, houses=[
                          dict(house_id=7, name=b"Mill Road 1", bidder=b"Ann", highest_bid=5, seconds_left=100,
                               rent=300),
                          dict(house_id=8, name=b"Mill Road 2", bidder=b"", highest_bid=0, seconds_left=0,
                               rent=0x80000000),
                          dict(house_id=9, name=b"Mill Road 3", bidder=b"Bob", highest_bid=0xFFFFFFFF,
                               seconds_left=0xFFFFFFFB, rent=1)]),
                      CutShort(can_bid=1, houses=[dict(house_id=7, name=b"Mill Road 1", bidder=b"", highest_bid=0,
                                                       seconds_left=60, rent=300)], houses_count=500),
                      # The third house announced is its id alone.
                      CutShort(can_bid=1, houses=[
                          dict(house_id=7, name=b"Mill Road 1", bidder=b"Ann", highest_bid=5, seconds_left=100,
                               rent=300),
                          dict(house_id=9, name=b"", bidder=b"", highest_bid=0, seconds_left=0, rent=0)],
                          houses_count=3, cut_bytes=16)],
    # The fake guild as it is founded (ranks sent out of order, an invited
    # character of rank 0, a war not accepted); ranks alone; every list full.
    "guild": [dict(name=b"", channel_message=b"", own_level=0, ranks=[], members=[], wars=[]),
              dict(name=b"Knights", channel_message=b"Welcome to Knights!", own_level=2,
                   ranks=[dict(rank_id=11, level=0, order=2, name=b"Recruit"),
                          dict(rank_id=12, level=2, order=0, name=b"Leader"),
                          dict(rank_id=13, level=1, order=1, name=b"Officer")],
                   members=[dict(member_id=1003, rank_id=11, name=b"Cedric", title=b""),
                            dict(member_id=1001, rank_id=12, name=b"Aldric", title=b""),
                            dict(member_id=1002, rank_id=13, name=b"Brenna", title=b"Scout"),
                            dict(member_id=1004, rank_id=0, name=b"Dara", title=b"")],
                   wars=[dict(war_id=501, text=b"Knights vs Bandits", status=b"Not accepted (7 days)", loyalty=1,
                              loss_fee=500)]),
              dict(name=b"Ranks", channel_message=b"", own_level=1,
                   ranks=[dict(rank_id=1, level=0, order=0, name=b"Member")], members=[], wars=[]),
              dict(name=b"Full" * 8, channel_message=b"m" * 300, own_level=255,
                   ranks=[dict(rank_id=i, level=i % 3, order=255 - i, name=b"R%d" % i) for i in range(255)],
                   members=[dict(member_id=i, rank_id=i, name=b"M%d" % i, title=b"t" * (i % 40))
                            for i in range(255)],
                   wars=[dict(war_id=i, text=b"W%d" % i, status=b"Not accepted" if i % 2 else b"Running",
                              loyalty=i % 2, loss_fee=i * 1000) for i in range(255)])],
    # No invitation: the no-guild dialog opens with an empty list.
    "no_guild": [dict(invites=[])],
    "friends": [dict(clear=0, entries=[]),
                dict(clear=0, entries=[dict(name=b"Friend %d" % i, online=i % 2, list=i % 3) for i in range(300)])],
    "party": [dict(members=[]),
              dict(members=[dict(name=b"Brenna", number=30, first_percent=80, second_percent=20)])],
    # More than 255 entries: the whole u16 count is read.
    "online_list": [dict(new_list=0, players=[
        dict(name=b"Player %d" % i, level=i, idle_seconds=i * 3, online_minutes=i * 7) for i in range(300)]),
                    dict(new_list=2, players=[]),
                    dict(new_list=1, players=[dict(name=b"Mallory", level=1, idle_seconds=0x80000000,
                                                   online_minutes=0xFFFFFFFE)])],
    # Any banned byte but 0 is banned; an empty info line is no answer.
    "ban_info": [dict(comment=b"", ban_time=b"", info_line=b"", banned=2),
                 dict(comment=b"", ban_time=b"", info_line=b"Ana: no ban on record", banned=0)],
    "quest": [dict(kind=1, reset=0, name=b"", progress=0, lines=[]),
              dict(kind=1, reset=0, name=b"Short", progress=255, lines=[dict(text=b"Label: a note"),
                                                                          dict(text=b"a: b c"), dict(text=b"")]),
              # 65 535 notes announced, two sent: the notes end with the frame.
              CutShort(kind=1, reset=1, name=b"Cut", progress=100, line_count=0xFFFF,
                       lines=[dict(text=b"Step one: done."), dict(text=b"\x01")])],
    # Exactly 255 achievements carry no empty name behind them.
    "achievements": [dict(kind=0, reset=1, points_earned=0, points_possible=0, entries=[
        dict(name=b"A%d" % i, level=i, points=i, progress=i % 101, description=b"d") for i in range(255)]),
                     dict(kind=0xFFFF, reset=0, points_earned=0, points_possible=0, entries=[]),
                     # No empty name behind the last: the list ends with the frame.
                     CutShort(kind=2, reset=0, points_earned=15, points_possible=60, entries=[
                         dict(name=b"First Steps", level=0, points=5, progress=100, description=b"Leave the temple."),
                         dict(name=b"Rat Catcher", level=8, points=10, progress=40, description=b"Slay rats.")],
                         cut_bytes=2)],
    # A repeated ingredient, more than six of them, and an id past the sprites.
    "brewing": [dict(active=0),
                dict(active=1, potion_size=5, amount=1, heat=70, ingredients=[
                    dict(item_id=110 + i, amount=i + 1) for i in range(7)] + [
                    dict(item_id=0xFFFF, amount=1), dict(item_id=110, amount=9)]),
                dict(active=1, potion_size=0, amount=0, heat=0, ingredients=[])],
    "summon_list": [dict(monsters=[]),
                    dict(monsters=[dict(name=b"Rat", mana=20), dict(name=b"Wolf", mana=60),
                                   dict(name=b"Bear", mana=120)])],
    "recipes": [dict(recipes=[]),
                dict(recipes=[dict(name=b"Colour at the end", text=b"ends in a colour byte\x01")]),
                dict(recipes=[dict(name=b"Strong Mana Potion", text=b"Three flowers and a pinch of ash.\nDrop them"
                                   b" in while the mixture is calm,\nthen let it boil.")] * 3)],
    # Every requirement kind, and ids the sprite store cannot hold.
    "outfit_choices": [dict(outfits=[], hair=[], beards=[]),
                       dict(outfits=[dict(id=10, requirement=0), dict(id=145, requirement=2),
                                     dict(id=806, requirement=25), dict(id=20000, requirement=19)],
                            hair=[dict(id=0, requirement=0), dict(id=40, requirement=3)],
                            beards=[dict(id=0x80000000, requirement=20)])],
    "effects": [dict(effects=[])],
    # Indexes past the twenty container slots are read whole and ignored.
    "open_container": [dict(index=20, title_icon=0, title=b"", icon_button=0, loot_button=0, capacity=0, items=[]),
                       dict(index=255, title_icon=2853, title=b"Bag", icon_button=0, loot_button=1, capacity=100,
                            items=[dict(item_id=7001, count=1)] * 255)],
    "close_container": [dict(index=255), dict(index=19)],
    "conditions": [dict(conditions=[], buffs=[])],
    # Two bytes in all, opcode and flag.
    "progress_bar": [dict(shown=0)],
    # Exactly 100 spells: the frame goes on behind them.
    "spell_list": [dict(spells=[]),
                   dict(spells=[dict(name=b"S%d" % i, spell_id=2000 + i, mana=i, magic_level=i % 3, seconds=i,
                                     offensive=0, premium=1, description=b"") for i in range(100)])],
    # The three vocations, and a label the library keeps as none; a list
    # ended by 0xFFFF.
    "spell_library": [dict(reset=0, spells=[]),
                      dict(reset=1, spells_stop=0xFFFF, spells=[
                          dict(spell_id=1418, vocation=1, name=b"Light Healing", label=b"Healing", mana=20,
                               magic_level=1, description=b"Heals a little.")]),
                      dict(reset=1, spells=[
                          dict(spell_id=1430, vocation=1, name=b"Whirlwind", label=b"unknown being", mana=30,
                               magic_level=2, description=b"Hits every creature around."),
                          dict(spell_id=1440, vocation=2, name=b"Aimed Shot", label=b"Attack", mana=25,
                               magic_level=3, description=b"\x01"),
                          dict(spell_id=20001, vocation=3, name=b"Ice Lance", label=b"", mana=60, magic_level=8,
                               description=b""),
                      ])],
    # A character fresh from creation: everything 0.
    "player_stats": [dict(health=0, max_health=0, mana=0, max_mana=0, level=0, experience=0, experience_percent=0,
                          rate=0, magic_level=0, magic_level_bonus=0, magic_level_percent=0,
                          skills=[(0, 0, 0)] * 8, unused_points=0, talents=[0] * 7)],
    # A private chat tab; empty texts where the windows show them.
    "channel_open": [dict(channel_type=1, name=b"Brenna"), dict(channel_type=0, name=b"")],
    "paged_text": [dict(text=b""), dict(text=b"|" * 40)],
    "tip_message": [dict(tip_id=0, title=b"", text=b"", x=0, y=0, z=0),
                    dict(tip_id=7, title=b"Welcome", text=b"word " * 200, x=120, y=120, z=7)],
}


def _shapes():
    """(label, name, values) of every sample and variant, samples first."""
    out = [(name, name, values) for name, values in SAMPLES.items()]
    for name, shapes in VARIANTS.items():
        out += [(f"{name} #{i + 1}", name, values) for i, values in enumerate(shapes)]
    return out


def sample_payloads():
    """(label, payload) of every sample and variant, samples first."""
    out = []
    for label, name, values in _shapes():
        cut = values.get("cut_bytes", 0) if isinstance(values, CutShort) else 0
        payload = build(name, **{k: v for k, v in values.items() if k != "cut_bytes"})
        out.append((label, payload[:len(payload) - cut]))
    return out


def frame_ending_labels():
    """The labels of the samples that claim more than their bytes hold (see
    CutShort): sent alone in their frame, with the ping in a frame behind."""
    return {label for label, _, values in _shapes() if isinstance(values, CutShort)}
