"""The character dialogs' behaviour of the fake game server: the spell
library, the outfit options and the talents.

Requests:
- request spells (0x31): the spell library (0x32, reset) with the spells of
  the three vocations, one of them labelled "unknown being", ended by 0xFFFF;
- request outfits (0x32): the outfit options (0x33): outfit 10 and two
  outfits without pictures in the generated graphics file, two hair styles
  and a beard, whose requirements use the codes 0, 2, 3 and 25;
- outfit (0x0C): recorded in `outfits_saved`;
- talents (0x33): the points spent, when the unused points cover them and no
  talent goes past its maximum: the statistics (0x14) with the new numbers
  (unchanged ones otherwise);
- reset talents (0x34): the statistics with every spent point returned to
  the unused ones, then the chat line "Your talent points were reset."
  (type 6, "Main"), which makes an open talents dialog read them again.

The statistics start from those of the login burst (sidewindows.STATS, or
the `stats` given) at every enter-game message, as the burst sends them.

    character = Character()
    with FakeServer(behaviours=[character, actions.ActionWorld(login_burst=False),
                                sidewindows.SideWindows()]) as server:
        ...
"""
import copy
import struct
import threading

import server_messages as sm
import sidewindows

CLIENT_OUTFIT = 0x0C
CLIENT_REQUEST_SPELLS = 0x31
CLIENT_REQUEST_OUTFITS = 0x32
CLIENT_TALENTS = 0x33
CLIENT_RESET_TALENTS = 0x34

TALENT_NAMES = ("durability", "spirituality", "legerity", "expertise", "aggression", "fortification", "resistance")
TALENT_MAXIMUMS = (50, 50, 100, 10, 50, 50, 25)
RESET_TEXT = b"Your talent points were reset."
NOTICE = 6

WARRIOR, RANGER, MAGE = 1, 2, 3
# (spell id, vocation, name, label, mana, magic level, description)
LIBRARY = [
    (1418, MAGE, b"Light Healing", b"Healing", 20, 1, b"Heals a little."),
    (1419, MAGE, b"Fireball", b"Attack", 40, 5, b"Burns one target."),
    (1420, MAGE, b"Ice Lance", b"Attack", 60, 8, b""),
    (1430, WARRIOR, b"Whirlwind", b"Attack", 30, 2, b"Hits every creature around."),
    (1431, WARRIOR, b"War Cry", b"unknown being", 10, 1, b"Frightens a monster."),
    (1440, RANGER, b"Aimed Shot", b"Attack", 25, 3, b"A shot that rarely misses."),
]

# Outfit 10 has pictures in the generated graphics file; 145 and 806 have none.
OUTFITS = [dict(id=10, requirement=0), dict(id=145, requirement=2), dict(id=806, requirement=25)]
HAIRS = [dict(id=0, requirement=0), dict(id=40, requirement=3)]
BEARDS = [dict(id=0, requirement=0)]


def library_message():
    """The library with every vocation's spells, ended by 0xFFFF."""
    spells = [dict(spell_id=i, vocation=v, name=n, label=l, mana=m, magic_level=ml, description=d)
              for i, v, n, l, m, ml, d in LIBRARY]
    # The table ends the list with 0; the server may end it with 0xFFFF too.
    return sm.build("spell_library", reset=1, spells=spells)[:-2] + struct.pack("<H", 0xFFFF)


def outfit_options_message():
    return sm.build("outfit_choices", outfits=OUTFITS, hair=HAIRS, beards=BEARDS)


class Character:
    def __init__(self, stats=None):
        self.lock = threading.Lock()
        self.base = copy.deepcopy(stats if stats is not None else sidewindows.STATS)
        self.stats = copy.deepcopy(self.base)
        self.outfits_saved = []
        self.resets = 0

    # --- the server's hooks ---

    def on_enter_game(self, server, client):
        with self.lock:
            self.stats = copy.deepcopy(self.base)

    def on_request(self, server, client, request):
        op = request.opcode
        if op == CLIENT_REQUEST_SPELLS:
            client.send(library_message())
            return True
        if op == CLIENT_REQUEST_OUTFITS:
            client.send(outfit_options_message())
            return True
        if op == CLIENT_OUTFIT:
            with self.lock:
                self.outfits_saved.append([request.fields[f"part{k}"] for k in range(9)])
            return True
        if op == CLIENT_TALENTS:
            points = [request.fields[name] for name in TALENT_NAMES]
            with self.lock:
                self._spend(points)
                payload = sm.build("player_stats", **self.stats)
            client.send(payload)
            return True
        if op == CLIENT_RESET_TALENTS:
            with self.lock:
                self.stats["unused_points"] += sum(self.stats["talents"])
                self.stats["talents"] = [0] * len(TALENT_NAMES)
                self.resets += 1
                payload = sm.build("player_stats", **self.stats)
            client.send(payload)
            client.send(sm.build("chat_message", sender=b"Server", channel=b"Main", kind=NOTICE, text=RESET_TEXT))
            return True
        return False

    # --- inside ---

    def _spend(self, points):
        """Adds the points when the unused ones cover them and every talent
        stays within its maximum; otherwise nothing changes."""
        talents = self.stats["talents"]
        if sum(points) > self.stats["unused_points"]:
            return
        if any(t + p > cap for t, p, cap in zip(talents, points, TALENT_MAXIMUMS)):
            return
        self.stats["talents"] = [t + p for t, p in zip(talents, points)]
        self.stats["unused_points"] -= sum(points)
