"""The fake game server's quest log, summon list, brewing and learned recipes.

Requests:
- request quests (0x28): the log, in one frame: two quests with notes (0x2a
  kind 1), then one batch of achievements ended by an empty name. The first
  request of a game sends it without the clear flag; a later one sets the
  flag on its first message, so a log that is still open is emptied before it
  is filled again;
- summon monster (0x29): recorded in `summons`, no answer;
- brewing (0x39): 1 (begin, size and amount) starts a brew and answers with
  the brewing state (0x3d) at heat 20; every later state of that brew has heat
  80; 2 (finish) ends it and answers with the state without a brew; 3 asks
  for the learned recipes (0x3e, RECIPES);
- move (0x0E) to the brewing dialog's drop area (65535, 65533, 255): the
  dragged item joins the brew's ingredients and the state is sent again. The
  item is looked up in the side-windows behaviour's bags when one is given
  (a container slot is (65534, index, slot + 1)), otherwise it counts as a
  flower. Any other move is left to the next behaviour;
- a chat line (0x03) "!brewing" or "!summon" runs the cue of that name, so a
  player of scripts/run can open those dialogs; other lines are left alone.

Give it to FakeServer before actions.ActionWorld, which takes every other move:

    quests = Quests()
    with FakeServer(behaviours=[quests, actions.ActionWorld()]) as server:
        ...
        quests.brewing(server)       # the brewing dialog, no brew yet
        quests.summon_list(server)   # three monsters
"""
import threading

import server_messages as sm
from client_requests import CLIENT_CHAT

CLIENT_REQUEST_QUESTS = 0x28
CLIENT_SUMMON = 0x29
CLIENT_MOVE = 0x0E
CLIENT_BREW = 0x39

BREW_BEGIN, BREW_FINISH, BREW_RECIPES = 1, 2, 3
# Where the client drops a thing on the brewing dialog.
BREWING_DROP = (65535, 65533, 255)
CONTAINER_X = 65534
FLOWER = 120
FIRST_HEAT, LATER_HEAT = 20, 80

QUESTS = [
    dict(name=b"Rat Problem", progress=100,
         lines=[b"Task: clear the cellar of rats.", b"The innkeeper pays 50 gold per tail."]),
    dict(name=b"The Lost Ring", progress=50,
         lines=[b"Start: talk to the innkeeper.", b"The ring was last seen near the old well.",
                b"Reward: 200 gold"]),
]
POINTS_EARNED, POINTS_POSSIBLE = 15, 60
ACHIEVEMENTS = [
    dict(name=b"First Steps", level=0, points=5, progress=100, description=b"Leave the temple for the first time."),
    dict(name=b"Rat Catcher", level=8, points=10, progress=40, description=b"Slay a hundred rats."),
    dict(name=b"Explorer", level=0, points=5, progress=0, description=b"Visit every town of the island."),
]
MONSTERS = [(b"Rat", 20), (b"Wolf", 60), (b"Bear", 120)]
RECIPES = [
    (b"Small Health Potion", b"Two flowers, boiled at a calm heat.\nMakes a small potion of health."),
    (b"Strong Mana Potion", b"Three flowers and a pinch of ash.\nDrop them in while the mixture is calm,\n"
                            b"then let it boil."),
]


class Quests:
    def __init__(self, side_windows=None):
        self.lock = threading.Lock()
        self.side_windows = side_windows
        self.quest_requests = 0   # answered log requests
        self.summons = []         # names of the summon requests, in order
        self.brew = None          # the brew in progress: dict(size, amount, heat, ingredients)

    # --- the server's hooks ---

    def on_enter_game(self, server, client):
        with self.lock:
            self.quest_requests = 0
            self.brew = None

    def on_request(self, server, client, request):
        fields = request.fields
        op = request.opcode
        if op == CLIENT_REQUEST_QUESTS:
            with self.lock:
                clear = 1 if self.quest_requests else 0
                self.quest_requests += 1
            client.send(self.log_payload(clear))
            return True
        if op == CLIENT_SUMMON:
            with self.lock:
                self.summons.append(fields["name"])
            return True
        if op == CLIENT_BREW:
            return self._brew(client, fields)
        if op == CLIENT_MOVE and (fields["to_x"], fields["to_y"], fields["to_z"]) == BREWING_DROP:
            item = self._item_at(fields["from_x"], fields["from_y"], fields["from_z"])
            with self.lock:
                if self.brew:
                    ingredients = self.brew["ingredients"]
                    ingredients[item] = ingredients.get(item, 0) + fields["count"]
                payload = self._state()
            client.send(payload)
            return True
        if op == CLIENT_CHAT:
            cue = {b"!brewing": self.brewing, b"!summon": self.summon_list}.get(fields["text"])
            if cue:
                cue(server)
            return cue is not None
        return False

    # --- cues ---

    def brewing(self, server, active=False, size=1, amount=1):
        """Opens the brewing dialog: without a brew, or with one just begun."""
        with self.lock:
            self.brew = dict(size=size, amount=amount, heat=FIRST_HEAT, ingredients={}) if active else None
            payload = self._state()
        return server.send_payload(payload)

    @staticmethod
    def summon_list(server):
        return server.send_payload(sm.build("summon_list", monsters=[dict(name=n, mana=m) for n, m in MONSTERS]))

    # --- messages ---

    @staticmethod
    def log_payload(clear):
        """The two quests (the first carrying the clear flag) and the
        achievements, ended by an empty name, back to back."""
        payload = b""
        for index, quest in enumerate(QUESTS):
            payload += sm.build("quest", kind=1, reset=clear if index == 0 else 0, name=quest["name"],
                                progress=quest["progress"], lines=[dict(text=t) for t in quest["lines"]])
        return payload + sm.build("achievements", kind=2, reset=0, points_earned=POINTS_EARNED,
                                  points_possible=POINTS_POSSIBLE, entries=ACHIEVEMENTS)

    def _state(self):
        """The brewing state; a brew's later states are hot. Called with the lock held."""
        brew = self.brew
        if not brew:
            return sm.build("brewing", active=0)
        payload = sm.build("brewing", active=1, potion_size=brew["size"], amount=brew["amount"], heat=brew["heat"],
                           ingredients=[dict(item_id=i, amount=c) for i, c in sorted(brew["ingredients"].items())])
        brew["heat"] = LATER_HEAT
        return payload

    def _brew(self, client, fields):
        sub = fields.get("sub")
        with self.lock:
            if sub == BREW_BEGIN:
                self.brew = dict(size=fields["size"], amount=fields["amount"], heat=FIRST_HEAT, ingredients={})
                payload = self._state()
            elif sub == BREW_FINISH:
                self.brew = None
                payload = self._state()
            elif sub == BREW_RECIPES:
                payload = sm.build("recipes", recipes=[dict(name=n, text=t) for n, t in RECIPES])
            else:
                return False
        client.send(payload)
        return True

    def _item_at(self, x, y, z):
        side = self.side_windows
        if side is not None and x == CONTAINER_X:
            with side.lock:
                bag = side.bags.get(y)
                if bag and 1 <= z <= len(bag.items):
                    return bag.items[z - 1][0]
        return FLOWER
