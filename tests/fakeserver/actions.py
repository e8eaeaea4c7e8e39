"""The fake game server's answers to the player's actions: walking a path,
choosing targets, looking, moving and using things, spells and hotkeys; and
the player's buffs, statistics and action groups after the login burst.

ActionWorld is the world of world.py (same map, same keyboard steps) with a
few things more around the start (120, 120):
- a stack of 5 gold coins at STACK_AT (119, 121), next to the player;
- a lever (usable, item flag 0x400) and a chest (openable, 0x800) on one
  tile, USABLE_AT (122, 119);
- the NPC "Wanderer" standing still at (124, 124) (world.NPC_ID).

Behaviour (give ActionWorld() to FakeServer(behaviours=[...])):
- after the enter-game burst (unless login_burst is False, when
  sidewindows.py sends its own): the conditions and buffs (0x1a, BUFFS: a
  20-second buff), the player's statistics (0x14) and the end of the login
  data (0x37), each in a frame of its own, then a ping;
- walk path (0x1A): an empty path stops a walk; any other is walked one step
  every step_seconds: the player's step (0x08) and the strip that came into
  view (0x09) in one frame. A step that is blocked (a wall, a creature) ends
  the walk with the resume-walk message (0x2e), so the client searches again
  from where the player stands; when the first step of a path is blocked the
  walk is refused (0x0a) instead, so a client that sends the same path again
  ends up refused rather than in a loop;
- targets (0x12): echoed as the target pair (0x12), where 1 keeps a target;
- look (0x11): a status text (0x0f) naming the top thing of the tile;
- move (0x0E) between two map tiles: the top item (count pieces of a stack)
  moves and both tiles are sent again (0x2c); a move the server cannot make
  gets a status text;
- use (0x0F) on the map or of an item hotkey (at 0, 0, 0): on the chest it
  opens the container (0x0d) in the window index the request carries; on
  anything else a status text. A slot's use is left to the next behaviour
  (sidewindows.py opens bags);
- action list (0x22): the spell and hotkey data (0x26) with SPELLS;
- cast spell (0x23) of a known spell: its shading (0x27) and its cooldown
  (0x35); an unknown spell gets a status text.

Cues: block_walk(after_steps) puts the visitor on the path when the walk
has made that many steps; buffs(list) sends the conditions and buffs again;
each returns the ping value sent behind its burst (block_walk when it
happens: see blocked_pings).
"""
import threading
import time

import server_messages as sm
import world
from world import FLOOR, NPC_ID, OFFSETS, World

LEVER, CHEST = 140, 141
STACK_AT = (119, 121)
USABLE_AT = (122, 119)
STACK_COUNT = 5
PLAYER_ID = 0x10000001

# (id, ground flag, flags, pattern size, animation frames, name, minimap colour, ground speed)
ACTION_ITEMS = [
    (LEVER, 0, 0x400, 32, 0, "lever", 0, None),
    (CHEST, 0, 0x800, 32, 0, "chest", 0, None),
]

# spell id -> (name, mana, shading seconds, cooldown seconds)
SPELLS = {
    1418: ("Light Healing", 20, 10, 30),
    1419: ("Fireball", 40, 2, 4),
    1420: ("Ice Lance", 60, 3, 12),
}

# (name, elapsed seconds, duration seconds, kind) sent after the login burst.
BUFFS = [("Haste", 0, 20, 1)]
CONDITIONS = [3]

# The player's statistics: level 42 half way to 43, as the character list says.
STATS = dict(health=180, max_health=200, mana=90, max_mana=120, level=42, experience=2601850, experience_percent=50,
             rate=150, magic_level=7, magic_level_bonus=1, magic_level_percent=30,
             skills=[(15 + i, (-2 if i == 1 else i), 10 * i) for i in range(8)], unused_points=3,
             talents=[1, 0, 2, 0, 0, 4, 0])

CHEST_CONTENTS = [(world.COINS, 3), (world.TORCH, 1)]

def item_records():
    return sm.build("item_records", records=[
        dict(id=i, ground=g, flags=f, pattern=p, frames=a, name=n.encode(), minimap=m, speed=s)
        for i, g, f, p, a, n, m, s in world.ITEMS + ACTION_ITEMS])


def item_name(item_id):
    for row in world.ITEMS + ACTION_ITEMS:
        if row[0] == item_id:
            return row[5]
    return "item %d" % item_id


def _id(item):
    return item if isinstance(item, int) else item[0]


def _count(item):
    return 1 if isinstance(item, int) else item[1]


class ActionWorld(World):
    def __init__(self, step_seconds=0.3, buffs=BUFFS, login_burst=True, **kwargs):
        super().__init__(**kwargs)
        self.login_burst = login_burst
        self.step_seconds = step_seconds
        self.initial_buffs = list(buffs)
        self.items[STACK_AT] = [world.GRASS, (world.COINS, STACK_COUNT)]
        self.items[USABLE_AT] = [world.GRASS, LEVER, CHEST]
        self.targets = [0, 0]       # attack, follow as the server holds them
        self.walks = []             # (start position, steps) of every path that was walked
        self.walk_stops = 0         # empty paths
        self.interruptions = []     # the player's position at every resume-walk message
        self.blocked_pings = []     # ping values behind the block_walk bursts
        self.moves = []             # (source, target, count) of every move made
        self.uses = []              # ((x, y), z, container index, action) of every use request
        self.casts = []             # (spell, target) of every cast request
        self._walk_generation = 0
        self._block_after = None

    # -- the server's hooks --

    def on_game_login(self, server, client, request):
        self._take_player(server, client, request)
        # Always sent: the records of this world are newer than any cache.
        server.enter_items_version = world.ITEMS_VERSION + 2
        client.send(item_records())

    def on_enter_game(self, server, client):
        super().on_enter_game(server, client)
        with self.lock:
            self._walk_generation += 1
            if not self.login_burst:
                return
            # Each in a frame of its own: a message the client cannot read
            # yet ends only its own frame.
            client.send(self._conditions(self.initial_buffs))
            client.send(sm.build("player_stats", **STATS))
            client.send(sm.build("action_groups"))
            self._burst([])

    def on_request(self, server, client, request):
        handler = {0x1A: self._walk_path, 0x12: self._targets, 0x11: self._look, 0x0E: self._move,
                   0x0F: self._use, 0x22: self._action_list, 0x23: self._cast}.get(request.opcode)
        if handler:
            return handler(request.fields) is not False
        return super().on_request(server, client, request)

    # -- cues --

    def block_walk(self, after_steps):
        """When the next walk has made after_steps steps, the visitor steps
        onto the path's next tile and the walk ends with 0x2e."""
        with self.lock:
            self._block_after = after_steps

    def buffs(self, buffs):
        with self.lock:
            if self.client:
                self.client.send(self._conditions(buffs))
            return self._burst([])

    # -- walking --

    def _walk_path(self, fields):
        steps = fields["steps"]
        with self.lock:
            self._walk_generation += 1
            generation = self._walk_generation
            if not steps:
                self.walk_stops += 1
                return
            self.walks.append((tuple(self.player), list(steps)))
        threading.Thread(target=self._walk, args=(generation, list(steps)), daemon=True).start()

    def _walk(self, generation, steps):
        for index, direction in enumerate(steps):
            time.sleep(self.step_seconds)  # the server's own pace, not a wait for the client
            with self.lock:
                if generation != self._walk_generation:
                    return
                dx, dy = OFFSETS[direction]
                target = (self.player[0] + dx, self.player[1] + dy)
                if self._block_after is not None and index == self._block_after and self._free(target):
                    self._block_after = None
                    self.visitor = target
                    creature = dict(flags=0x40, id=world.VISITOR_ID, name=b"Visitor", health=100, direction=1,
                                    speed=200, light=0, outfit=world.MONSTER_OUTFIT)
                    self.blocked_pings.append(self.next_ping)
                    self.interruptions.append(tuple(self.player))
                    self._burst([sm.build("add_creature", x=target[0], y=target[1], z=FLOOR, creature=creature),
                                 sm.build("resume_walk")])
                    return
                if target in self.refused or not self._free(target):
                    if index == 0:
                        self._burst([sm.build("walk_refused", text=b"There is no way.", unused=0)])
                    else:
                        self.interruptions.append(tuple(self.player))
                        self._burst([sm.build("resume_walk")])
                    return
                self._server_step(direction)

    def _server_step(self, direction):
        """The player's step made by the server: the step and the new strip."""
        dx, dy = OFFSETS[direction]
        self.player = [self.player[0] + dx, self.player[1] + dy]
        self.facing = direction if direction <= 4 else self.facing
        px, py = self.player
        payloads = [sm.build("creature_step", id=PLAYER_ID, direction=direction)]
        if dx:
            payloads.append(self._area("map_area_strip", 1, 16, px - 9 if dx < 0 else px + 10, py - 7))
        if dy:
            payloads.append(self._area("map_area_strip", 20, 1, px - 9, py - 7 if dy < 0 else py + 8))
        self._burst(payloads)

    # -- targets, look, move and use --

    def _targets(self, fields):
        with self.lock:
            attack, follow = fields["attack"], fields["follow"]
            if attack != 1:
                self.targets[0] = attack
            if follow != 1:
                self.targets[1] = follow
            self._burst([sm.build("target_pair", attack_target=self.targets[0], follow_target=self.targets[1])])

    def _look(self, fields):
        at = (fields["x"], fields["y"])
        with self.lock:
            if fields["z"] != FLOOR or at not in self.items:
                text = b"You see nothing special."
            elif at == tuple(self.npc):
                text = b"You see Wanderer."
            elif at == tuple(self.player):
                text = b"You see yourself."
            else:
                top = self.items[at][-1]
                count = _count(top)
                name = item_name(_id(top)).encode()
                text = b"You see %d %ss." % (count, name) if count > 1 else b"You see a %s." % name
            self._status(text)

    def _move(self, fields):
        source = (fields["from_x"], fields["from_y"])
        target = (fields["to_x"], fields["to_y"])
        count = fields["count"]
        with self.lock:
            on_map = fields["from_z"] == FLOOR and fields["to_z"] == FLOOR
            if not on_map or source not in self.items or target not in self.items or count < 1:
                self._status(b"Sorry, not possible.")
                return
            items = self.items[source]
            top = items[-1] if len(items) > 1 else None
            if top is None or _id(top) in world.BLOCKING or not self._free(target):
                self._status(b"You cannot move this.")
                return
            item_id, have = _id(top), _count(top)
            moved = min(count, have)
            if isinstance(top, int):
                items.pop()
            elif moved == have:
                items.pop()
            else:
                items[-1] = (item_id, have - moved)
            dest = self.items[target]
            if not isinstance(top, int) and dest and not isinstance(dest[-1], int) and dest[-1][0] == item_id:
                dest[-1] = (item_id, dest[-1][1] + moved)
            else:
                dest.append(item_id if isinstance(top, int) else (item_id, moved))
            self.moves.append((source, target, moved))
            self._burst([sm.build("tile_update", x=x, y=y, z=FLOOR, items=self._wire_items((x, y)))
                         for x, y in (source, target)])

    def _use(self, fields):
        """Uses on the map and item hotkeys (at 0, 0, 0); a slot's use is left
        to the side windows' behaviour (False)."""
        at = (fields["x"], fields["y"])
        action = fields["action"]
        if at[0] > 65533:
            return False
        with self.lock:
            self.uses.append((at, fields["z"], fields["container"], action))
            things = [_id(i) for i in self.items.get(at, [])] if fields["z"] == FLOOR else []
            if CHEST in things and action in (0, CHEST):
                self.client.send(sm.build("open_container", index=fields["container"], title_icon=CHEST,
                                          title=b"chest", icon_button=0, loot_button=1, capacity=8,
                                          items=[dict(item_id=i, count=c) for i, c in CHEST_CONTENTS]))
                self._burst([])
            elif LEVER in things and action in (0, LEVER):
                self._status(b"You pull the lever.")
            elif at == (0, 0) and action:
                self._status(b"You use a %s." % item_name(action).encode())
            else:
                self._status(b"You cannot use this.")

    # -- spells --

    def _action_list(self, fields):
        with self.lock:
            spells = [dict(name=name.encode(), spell_id=spell, mana=mana, kind=0, value=1, first_flag=1, second_flag=0,
                           text=b"Casts %s." % name.encode())
                      for spell, (name, mana, _, _) in sorted(SPELLS.items())]
            self.client.send(sm.build("spell_list", spells=spells))
            self._burst([])

    def _cast(self, fields):
        spell = fields["spell"]
        with self.lock:
            self.casts.append((spell, fields["target"]))
            if spell not in SPELLS:
                self._status(b"You do not know this spell.")
                return
            _, _, shade, cooldown = SPELLS[spell]
            self.client.send(sm.build("spell_shade", spell_id=spell, seconds=shade))
            self.client.send(sm.build("spell_cooldown", spell_id=spell, seconds=cooldown))
            self._burst([])

    # -- inside --

    def _status(self, text):
        self._burst([sm.build("status_text", text=text)])

    @staticmethod
    def _conditions(buffs):
        return sm.build("conditions", conditions=[dict(id=c) for c in CONDITIONS],
                     buffs=[dict(name=n.encode() if isinstance(n, str) else n, elapsed=e, duration=d, kind=k)
                            for n, e, d, k in buffs])
