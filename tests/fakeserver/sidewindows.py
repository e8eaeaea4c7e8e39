"""The side windows' behaviour of the fake game server: equipment, containers,
statistics, conditions and buffs, friends and party.

After the enter-game message (the login burst) it sends the equipment
(0x0c), the statistics (0x14), the conditions and buffs (0x1a), the friends
lists (0x18) and the party (0x1b), then reopens the containers that were open
when the player left (0x0d, in index order) and ends the burst with the
action groups (0x37), after which the client opens new containers at their
default places. The state lives in the behaviour, so it outlasts a logout.

Requests:
- a use (0x0F) of a bag position opens that bag's container (0x0d);
- a container close (0x10) closes it (the client has removed its window);
- loot (0x4A) empties the container (the client closes it right after);
- up (0x27) is taken silently;
- add friend (0x17, name, list) adds the name online to that list and answers
  with that one entry (0x18, no clear); remove friend (0x18) answers with the
  whole lists;
- party (0x1B, name, action): action 0 invites (the name joins), action 1
  removes the name; the player's own name leaves (an empty party). Each
  answers with the whole party (0x1b).

    side = SideWindows()
    with FakeServer(behaviours=[world.World(), side]) as server:
        ...
        side.open(server, 0)      # as if the player used the first bag
"""
import threading

import server_messages as sm

CLIENT_USE_AT = 0x0F
CLIENT_CONTAINER_CLOSE = 0x10
CLIENT_ADD_FRIEND = 0x17
CLIENT_REMOVE_FRIEND = 0x18
CLIENT_PARTY = 0x1B
CLIENT_CONTAINER_UP = 0x27
CLIENT_LOOT = 0x4A

PARTY_INVITE = 0
PARTY_REMOVE = 1

# Item ids of the fake world that have sprites in the generated graphics file,
# and the container title icons.
COINS, FLOWER, TORCH = 110, 120, 130
BACKPACK_ICON, BAG_ICON = 2853, 2854

# The equipment slots 1 to 13: (item id, count).
EQUIPMENT = [(TORCH, 1), (0, 0), (FLOWER, 1), (0, 0), (COINS, 37), (0, 0), (0, 0), (0, 0), (0, 0), (0, 0),
             (0, 0), (0, 0), (0, 0)]

# The statistics of 0x14: eight skill groups (level, bonus, percent), of
# which the client shows seven.
STATS = dict(health=150, max_health=200, mana=60, max_mana=90, level=42, experience=123456, experience_percent=70,
             rate=150, magic_level=12, magic_level_bonus=3, magic_level_percent=45,
             skills=[(30 + k, k - 2, 10 * k) for k in range(8)], unused_points=4, talents=[1, 2, 0, 3, 0, 0, 0])

FRIENDS = [(b"Birch", 1, 0), (b"alder", 0, 0), (b"Ash", 1, 1)]


class Bag:
    """One container: its index, title, title icon, capacity and items."""

    def __init__(self, index, name, icon, capacity, items, position=None, loot=0, parent=0):
        self.index = index
        self.name = name
        self.icon = icon
        self.capacity = capacity
        self.items = list(items)
        self.position = position  # (x, y, z) of the bag on the map, or None
        self.loot = loot
        self.parent = parent

    def message(self):
        return sm.build("open_container", index=self.index, title_icon=self.icon, title=self.name,
                        icon_button=self.parent, loot_button=self.loot, capacity=self.capacity,
                        items=[dict(item_id=i, count=c) for i, c in self.items])


def demo_bags():
    return [
        Bag(0, b"Backpack", BACKPACK_ICON, 20, [(COINS, 12), (FLOWER, 1), (TORCH, 1)], position=(119, 119, 7), loot=1),
        Bag(1, b"Pouch", BAG_ICON, 8, [(TORCH, 1)], position=(122, 121, 7)),
    ]


class SideWindows:
    def __init__(self, bags=None, party_others=((b"Mira", 12, 60, 40),)):
        self.lock = threading.Lock()
        self.bags = {b.index: b for b in (demo_bags() if bags is None else bags)}
        self.open_bags = set()
        self.friends = list(FRIENDS)
        self.party_others = list(party_others)
        self.in_party = True
        self.player = b""
        self.bursts = 0  # login bursts sent

    # --- the server's hooks ---

    def on_game_login(self, server, client, request):
        self.player = request.fields.get("character", b"")

    def on_enter_game(self, server, client):
        with self.lock:
            payloads = [
                sm.build("equipment", **{f"item{k}": i for k, (i, _) in enumerate(EQUIPMENT, start=1)},
                         **{f"count{k}": c for k, (_, c) in enumerate(EQUIPMENT, start=1)}),
                sm.build("player_stats", **STATS),
                sm.build("conditions", conditions=[dict(id=1535)],
                         buffs=[dict(name=b"Haste", elapsed=5, duration=60, kind=1)]),
                self._friends_message(clear=1, entries=self.friends),
                self._party_message(),
            ]
            payloads += [self.bags[i].message() for i in sorted(self.open_bags)]
            payloads.append(sm.build("action_groups"))
            self.bursts += 1
        for payload in payloads:
            client.send(payload)

    def on_request(self, server, client, request):
        fields = request.fields
        op = request.opcode
        if op == CLIENT_USE_AT:
            bag = self._bag_at(fields)
            if bag is None:
                return False
            with self.lock:
                self.open_bags.add(bag.index)
            client.send(bag.message())
            return True
        if op == CLIENT_CONTAINER_CLOSE:
            with self.lock:
                self.open_bags.discard(fields["container"])
            return True
        if op == CLIENT_LOOT:
            with self.lock:
                bag = self.bags.get(fields["container"])
                if bag:
                    bag.items = []
            return True
        if op == CLIENT_CONTAINER_UP:
            return True
        if op == CLIENT_ADD_FRIEND:
            entry = (fields["name"], 1, fields["list"])
            with self.lock:
                self.friends = [f for f in self.friends if (f[0], f[2]) != (entry[0], entry[2])] + [entry]
            client.send(self._friends_message(clear=0, entries=[entry]))
            return True
        if op == CLIENT_REMOVE_FRIEND:
            with self.lock:
                self.friends = [f for f in self.friends if (f[0], f[2]) != (fields["name"], fields["list"])]
                payload = self._friends_message(clear=1, entries=self.friends)
            client.send(payload)
            return True
        if op == CLIENT_PARTY:
            name, action = fields["name"], fields["action"]
            with self.lock:
                if action == PARTY_INVITE and name:
                    self.in_party = True
                    if all(m[0] != name for m in self.party_others):
                        self.party_others.append((name, 1, 100, 100))
                elif action == PARTY_REMOVE:
                    if name == self.player:
                        self.in_party = False
                    self.party_others = [m for m in self.party_others if m[0] != name]
                payload = self._party_message()
            client.send(payload)
            return True
        return False

    # --- what other behaviours ask ---

    def item_at(self, x, y, z):
        """(item id, count) at a slot position: a container slot (65534,
        index, slot + 1) of a bag, an equipment slot (65535, 0, slot - 1);
        None elsewhere or for an empty slot."""
        with self.lock:
            if x == 65534 and y in self.bags and 1 <= z <= len(self.bags[y].items):
                return self.bags[y].items[z - 1]
            if x == 65535 and y == 0 and 0 <= z < len(EQUIPMENT) and EQUIPMENT[z][0]:
                return EQUIPMENT[z]
        return None

    # --- cues ---

    def open(self, server, index):
        """Opens a bag as a use of it would."""
        with self.lock:
            self.open_bags.add(index)
            payload = self.bags[index].message()
        return server.send_payload(payload)

    def close(self, server, index):
        """The server closes a container (0x0e)."""
        with self.lock:
            self.open_bags.discard(index)
        return server.send_payload(sm.build("close_container", index=index))

    # --- inside ---

    def _bag_at(self, fields):
        at = (fields.get("x"), fields.get("y"), fields.get("z"))
        for bag in self.bags.values():
            if bag.position == at:
                return bag
        return None

    @staticmethod
    def _friends_message(clear, entries):
        return sm.build("friends", clear=clear,
                        entries=[dict(name=n, online=o, list=l) for n, o, l in entries])

    def _party_message(self):
        members = []
        if self.in_party:
            members = [dict(name=self.player, number=42, first_percent=100, second_percent=80)]
            members += [dict(name=n, number=k, first_percent=h, second_percent=m)
                        for n, k, h, m in self.party_others]
        return sm.build("party", members=members)


