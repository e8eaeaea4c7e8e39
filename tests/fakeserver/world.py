"""The fake game server's world: a small map of its own, the player's
authoritative position, the player's steps and a wandering NPC.

The map is 48 x 48 tiles on floor 7 (x and y from 100 to 147) with grass, a
wall around it, a pond, a stackable pile of coins, an animated flower, a top
item and a torch. The player starts at (120, 120): a wall stands east of it
(121, 120), the tile west (119, 120) is free and so is the tile north of that
(119, 119), and a wall stands north of the tile two steps west (118, 119).
A step onto (118, 120) is refused by the server's script although the tile
is free, so that the client has to take its predicted step back.

Behaviour (give World() to FakeServer(behaviours=[...])):
- at the game login it sends the item records (0x31) when the client's items
  cache is older than ITEMS_VERSION, and makes the enter-game message
  announce that version;
- the player's creature carries the privilege byte (flags bit 0) of a staff
  character: World(privilege=3) makes every character staff, otherwise the
  character's own privilege (Character.privilege, the demo's Brenna) counts;
- after the enter-game message it sends the whole view (0x05, 20 x 16 tiles
  around the player, floors 7 to 0) with a ping behind it;
- each step request (0x04 to 0x0B) moves the player when the target is free
  and answers with 0x09 carrying only the strip that came into view; a
  blocked or refused step gets 0x0a with a text; a turn (0x0D) is recorded;
- on cue (npc_step, appear, vanish, tile_update, send_records) it sends the
  creature, tile and item-record messages; every burst ends with a ping.

A tile's items go on the wire top first, ground last: the client puts each
item it reads at the front of the tile's list, so the ground ends up first.
"""
import threading
import time

import server_messages as sm

ITEMS_VERSION = 14
FLOOR = 7
WORLD_X = range(100, 148)
WORLD_Y = range(100, 148)
START = (120, 120)
PLAYER_SPEED = 300
NPC_ID = 0x20000001
VISITOR_ID = 0x20000002
MONSTER_OUTFIT = (600, 0, 0, 0, 0, 0, 0, 0, 0)
PLAYER_OUTFIT = (10, 0, 0, 0, 0, 1, 12, 34, 56)

# Item ids, with sprites in the generated graphics file.
GRASS, WATER, WALL, COINS, FLOWER, CROWN, TORCH = 100, 102, 103, 110, 120, 125, 130

# (id, ground flag, flags, pattern size, animation frames, name, minimap colour, ground speed)
ITEMS = [
    (GRASS, 1, 0x00, 32, 0, "grass", 0, 100),
    (WATER, 1, 0x02, 32, 0, "water", 40, 100),
    (WALL, 0, 0x02, 32, 0, "stone wall", 0, None),
    (COINS, 0, 0x100 | 0x80, 32, 0, "gold coin", 0, None),
    (FLOWER, 0, 0x00, 32, 3, "flower", 0, None),
    (CROWN, 0, 0x20, 32, 0, "tree crown", 0, None),
    (TORCH, 0, 0x01, 32, 0, "torch", 0, None),
]
STACKABLE = {i[0] for i in ITEMS if i[2] & 0x100}
BLOCKING = {i[0] for i in ITEMS if i[2] & 0x02}

# Direction codes: 1 down, 2 left, 3 up, 4 right, 5 down-left, 6 up-left,
# 7 up-right, 8 down-right; the step request's opcode is the code plus 3.
OFFSETS = {1: (0, 1), 2: (-1, 0), 3: (0, -1), 4: (1, 0), 5: (-1, 1), 6: (-1, -1), 7: (1, -1), 8: (1, 1)}
STEP_OPCODES = range(0x04, 0x0C)
TURN_OPCODE = 0x0D


def item_records():
    return sm.build("item_records", records=[
        dict(id=i, ground=g, flags=f, pattern=p, frames=a, name=n.encode(), minimap=m, speed=s)
        for i, g, f, p, a, n, m, s in ITEMS])


class World:
    def __init__(self, refused=((118, 120),), first_ping=0x6000, privilege=None):
        self.lock = threading.Lock()
        self.privilege = privilege
        self.player_privilege = privilege or 0
        self.refused = set(refused)
        self.items = {}    # (x, y) -> [item, ...] bottom to top; an item is id or (id, count)
        for x in WORLD_X:
            for y in WORLD_Y:
                border = x in (WORLD_X[0], WORLD_X[-1]) or y in (WORLD_Y[0], WORLD_Y[-1])
                self.items[(x, y)] = [GRASS, WALL] if border else [GRASS]
        for x in range(130, 134):
            for y in range(130, 134):
                self.items[(x, y)] = [WATER]
        self.items[(121, 120)] = [GRASS, WALL]
        self.items[(118, 119)] = [GRASS, WALL]
        self.items[(122, 122)] = [GRASS, (COINS, 25)]
        self.items[(115, 115)] = [GRASS, FLOWER]
        self.items[(125, 118)] = [GRASS, CROWN]
        self.items[(117, 117)] = [GRASS, TORCH]
        self.player = list(START)
        self.player_name = b"Aldric"
        self.facing = 3
        self.npc = [124, 124]
        self.visitor = None
        self.next_ping = first_ping
        self.pings = []       # every ping value sent
        self.steps = []       # (monotonic time, direction, accepted) of every step request
        self.turns = []
        self.client = None

    # -- the server's hooks --

    def on_game_login(self, server, client, request):
        self._take_player(server, client, request)
        server.enter_items_version = ITEMS_VERSION
        if request.fields.get("items_version", 0) < ITEMS_VERSION:
            client.send(item_records())

    def on_enter_game(self, server, client):
        with self.lock:
            self.player = list(START)
            px, py = self.player
            view = self._area("map_area", 20, 16, px - 9, py - 7)
            self._burst([view])

    def on_request(self, server, client, request):
        if request.opcode in STEP_OPCODES:
            self._step(request.opcode - 3)
            return True
        if request.opcode == TURN_OPCODE:
            with self.lock:
                self.turns.append(request.fields.get("direction", request.raw[1:2]))
            return True
        return False

    # -- cues --

    def npc_step(self, direction):
        """The NPC steps when the tile is free; returns the ping value (or None)."""
        with self.lock:
            dx, dy = OFFSETS[direction]
            target = (self.npc[0] + dx, self.npc[1] + dy)
            if not self._free(target):
                return None
            self.npc = list(target)
            return self._burst([sm.build("creature_step", id=NPC_ID, direction=direction)])

    def wander(self, interval):
        """Lets the NPC take a step in a random direction every interval
        seconds while a client is in the game (for the demo)."""
        import random

        def walk():
            while True:
                time.sleep(interval)
                if self.client and self.client.open:
                    self.npc_step(random.choice((1, 2, 3, 4)))

        threading.Thread(target=walk, daemon=True).start()
        return self

    def appear(self, x, y):
        """A visitor appears at a place (0x06); returns the ping value."""
        with self.lock:
            self.visitor = (x, y)
            creature = dict(flags=0x40, id=VISITOR_ID, name=b"Visitor", health=100, direction=1, speed=200,
                            light=0, outfit=MONSTER_OUTFIT)
            return self._burst([sm.build("add_creature", x=x, y=y, z=FLOOR, creature=creature)])

    def vanish(self):
        with self.lock:
            self.visitor = None
            return self._burst([sm.build("remove_creature", id=VISITOR_ID)])

    def tile_update(self, x, y, items):
        """The tile's items change (0x2c); items bottom to top."""
        with self.lock:
            self.items[(x, y)] = list(items)
            return self._burst([sm.build("tile_update", x=x, y=y, z=FLOOR, items=self._wire_items((x, y)))])

    def send_records(self):
        with self.lock:
            return self._burst([item_records()])

    # -- inside --

    def _take_player(self, server, client, request):
        """The client and the character it plays."""
        self.client = client
        self.player_name = request.fields.get("character", b"Aldric")
        if self.privilege is None:
            rows = [c for c in server.characters if c.name == self.player_name]
            self.player_privilege = getattr(rows[0], "privilege", 0) if rows else 0

    def _burst(self, payloads):
        value = self.next_ping
        self.next_ping += 1
        self.pings.append(value)
        if self.client:
            self.client.send(b"".join(payloads) + sm.ping(value))
        return value

    def _free(self, at):
        if at not in self.items or at in (tuple(self.player), tuple(self.npc), self.visitor):
            return False
        return not any((i if isinstance(i, int) else i[0]) in BLOCKING for i in self.items[at])

    def _step(self, direction):
        with self.lock:
            dx, dy = OFFSETS[direction]
            target = (self.player[0] + dx, self.player[1] + dy)
            refused = target in self.refused
            accepted = not refused and self._free(target)
            self.steps.append((time.monotonic(), direction, accepted))
            if not accepted:
                text = b"Sorry, not possible." if refused else b"You cannot go there."
                self._burst([sm.build("walk_refused", text=text, unused=0)])
                return
            self.player = list(target)
            px, py = target
            strips = []
            if dx:
                strips.append(self._area("map_area_strip", 1, 16, px - 9 if dx < 0 else px + 10, py - 7))
            if dy:
                strips.append(self._area("map_area_strip", 20, 1, px - 9, py - 7 if dy < 0 else py + 8))
            self._burst(strips)

    def _wire_items(self, at):
        out = []
        for item in reversed(self.items.get(at, [])):
            if isinstance(item, int):
                out.append((item, 25) if item in STACKABLE else (item,))
            else:
                out.append(item)
        return out

    def _creatures_at(self, at):
        found = []
        if at == tuple(self.player):
            player = dict(flags=0, id=0x10000001, name=self.player_name, health=100, direction=self.facing,
                          speed=PLAYER_SPEED, light=6, outfit=PLAYER_OUTFIT)
            if self.player_privilege:
                player.update(flags=0x01, privilege=self.player_privilege)
            found.append(player)
        if at == tuple(self.npc):
            found.append(dict(flags=0, id=NPC_ID, name=b"Wanderer", health=100, direction=1, speed=150, light=0,
                              outfit=MONSTER_OUTFIT))
        return found

    def _area(self, name, width, height, x0, y0):
        tiles = []
        for floor in sm.area_floors(FLOOR):
            for x in range(x0, x0 + width):
                for y in range(y0, y0 + height):
                    if floor != FLOOR:
                        tiles.append(None)
                        continue
                    entries = [("creature", c) for c in self._creatures_at((x, y))]
                    entries += [("item",) + item for item in self._wire_items((x, y))]
                    tiles.append(entries or None)
        return sm.build(name, width=width, height=height, x=x0, y=y0, z=FLOOR, camera_flag=0, tiles=tiles)
