"""The NPC shop's behaviour of the fake game server: a merchant who sells a
flower and a torch and buys torches.

On cue it sends the shop's contents (0x24, the goods it sells under "Buy
from NPC" and those it buys under "Sell to NPC"), asks how many pieces
(0x17), ends the talk (0x25), and ends it and goes on in the same frame
(0x25 + 0x24, 0x25 + 0x17). Every frame it sends carries a ping behind.

Requests:
- the shop's choice (0x21: item, sell) of an item on its lists asks how many
  pieces (0x17): buying with the gold the player carries, selling with the
  pieces; an item it does not deal in is recorded and not answered;
- the amount (0x14: item, amount, buying) is recorded and answered with a
  chat line that says what was traded;
- the Ctrl-clicked row (0x35: item) is recorded;
- a chat line (0x03) "!shop" opens the shop and "!bye" ends the talk, so that
  a player of scripts/run can open the windows.

    shop = Shop()
    with FakeServer(behaviours=[shop, actions.ActionWorld()]) as server:
        ...
        shop.offers(server)
"""

import server_messages as sm
from cues import PingedFrames
from client_requests import CLIENT_CHAT

CLIENT_NPC_TRADE = 0x14
CLIENT_NPC_CHOICE = 0x21
CLIENT_NPC_SELECT = 0x35

# Item ids of the fake world with pictures in the generated graphics file.
FLOWER, TORCH = 120, 130
# (name, item id, price): what the merchant sells, and what it buys.
SELLS = ((b"flower", FLOWER, 5), (b"torch", TORCH, 8))
BUYS = ((b"torch", TORCH, 3),)
# What the player carries: gold, and the pieces of the demo backpack.
GOLD = 50
PIECES = {FLOWER: 1, TORCH: 1}


class Shop(PingedFrames):
    def __init__(self, sells=SELLS, buys=BUYS, gold=GOLD, pieces=None, first_ping=0x7800):
        super().__init__(first_ping)
        self.sells = list(sells)
        self.buys = list(buys)
        self.gold = gold
        self.pieces = dict(PIECES if pieces is None else pieces)
        self.choices = []    # (item, sell) of every 0x21
        self.trades = []     # (item, amount, buying) of every 0x14
        self.selects = []    # item of every 0x35

    # --- the server's hook ---

    def on_request(self, server, client, request):
        fields = request.fields
        op = request.opcode
        if op == CLIENT_NPC_CHOICE:
            item, sell = fields["first"], fields["flag"]
            with self.lock:
                self.choices.append((item, sell))
                question = self._question(item, buying=not sell)
            if question:
                self._send(client, [question])
            return True
        if op == CLIENT_NPC_TRADE:
            item, amount, buying = fields["offer"], fields["amount"], fields["buy_or_sell"]
            with self.lock:
                self.trades.append((item, amount, buying))
                name = self._name(item)
            verb = b"bought" if buying else b"sold"
            text = b"You %s %d of %s." % (verb, amount if amount < 0x80000000 else amount - (1 << 32), name)
            self._send(client, [sm.build("chat_message", sender=b"Server", channel=b"Main", kind=6, text=text)])
            return True
        if op == CLIENT_NPC_SELECT:
            with self.lock:
                self.selects.append(fields["item"])
            return True
        if op == CLIENT_CHAT:
            cue = {b"!shop": self.offers, b"!bye": self.end}.get(fields["text"])
            if cue:
                cue(server)
            return cue is not None
        return False

    # --- cues (each returns the ping value behind its frame; None without a
    # game connection) ---

    def offers(self, server):
        """The shop's contents (0x24)."""
        return self._send(server, [self._offers()])

    def ask(self, server, item_name, item_id, price, carried, buying):
        """How many pieces (0x17)."""
        return self._send(server, [self._ask(item_name, item_id, price, carried, buying)])

    def end(self, server):
        """The talk ends (0x25)."""
        return self._send(server, [sm.build("npc_talk_end")])

    def end_and_offer(self, server):
        """The talk ends and the shop opens again in the same frame (0x25 + 0x24)."""
        return self._send(server, [sm.build("npc_talk_end"), self._offers()])

    def end_and_ask(self, server, item_name, item_id, price, carried, buying):
        """The talk ends and a new question comes in the same frame (0x25 + 0x17)."""
        return self._send(server, [sm.build("npc_talk_end"), self._ask(item_name, item_id, price, carried, buying)])

    # --- inside ---

    def _offers(self):
        offers = [dict(name=n, item_id=i, price=p, buy=1) for n, i, p in self.sells]
        offers += [dict(name=n, item_id=i, price=p, buy=0) for n, i, p in self.buys]
        return sm.build("npc_shop_offers", offers=offers)

    @staticmethod
    def _ask(item_name, item_id, price, carried, buying):
        return sm.build("npc_trade", item_name=item_name, item_id=item_id, price=price, carried=carried,
                        buying=1 if buying else 0)

    def _name(self, item):
        """"a torch" for an item on the lists. Called with the lock held."""
        for name, item_id, _ in self.sells + self.buys:
            if item_id == item:
                return b"a " + name
        return b"something"

    def _question(self, item, buying):
        """The amount question for an item of the list the choice came from,
        or None. Called with the lock held."""
        for name, item_id, price in (self.sells if buying else self.buys):
            if item_id == item:
                carried = self.gold if buying else self.pieces.get(item, 0)
                return self._ask(b"a " + name, item, price, carried, buying)
        return None

