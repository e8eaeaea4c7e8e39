"""The item market's behaviour of the fake game server: a catalogue, a few
offers in the "Food" category (one of them the player's own) and a history
of past trades over several years.

Cues (each sends one frame with a ping behind and returns the ping's value,
None without a game connection):
- open(server): the catalogue (0x36, a name twice), a full listing (0x2F:
  the balance and every offer) and the history (0x30, behind the listing,
  which empties it) in one frame: the client opens the market window;
- listing(server, offers): a listing without the full flag, which adds the
  offers to those the client holds;
- ping(server): a ping alone.

Requests:
- market open (0x2A, the window's Refresh): answered with a full listing
  and, since that empties the client's history, the history behind it;
- accept (0x2B), create offer (0x2C), query (0x2D) and withdraw (0x2E) are
  recorded (`accepted`, `created`, `queried`, `withdrawn`); a created offer
  joins the player's own offers and a withdrawn one leaves them, both seen
  at the next full listing. None of them is answered;
- a chat line (0x03) "!market" runs the open cue, so that a player of
  scripts/run can open the market.

    market = Market()
    with FakeServer(behaviours=[market, actions.ActionWorld()]) as server:
        ...
        market.open(server)
"""
import server_messages as sm
from cues import PingedFrames
from client_requests import CLIENT_CHAT

CLIENT_MARKET_OPEN = 0x2A
CLIENT_MARKET_ACCEPT = 0x2B
CLIENT_MARKET_CREATE = 0x2C
CLIENT_MARKET_QUERY = 0x2D
CLIENT_MARKET_WITHDRAW = 0x2E

COINS, FLOWER, TORCH = 110, 120, 130
FOOD = 2
PLAYER = b"Aldric"  # the demo account's first character
BALANCE = 5000

# The catalogue the buy offer searches (case-sensitive): the torch twice, as a
# server may list it.
CATALOGUE = [(FLOWER, b"flower"), (TORCH, b"torch"), (TORCH, b"torch"), (COINS, b"gold coin")]
# (item id, item name, category, player, count, price each, sell)
OFFERS = [
    (FLOWER, b"flower", FOOD, b"Brenna", 5, 2.5, 1),
    (FLOWER, b"flower", FOOD, b"Cedric", 10, 2.0, 0),
    (TORCH, b"torch", FOOD, PLAYER, 1, 4.0, 1),
]
# (time, item name, the other player, price each, count): 2016, 2009 twice, 2005.
HISTORY = [
    (1467104700, b"torch", b"Brenna", 4.0, 1),
    (1231003800, b"flower", b"Cedric", 2.0, 3),
    (1231003800, b"gold coin", b"Brenna", 1.0, 100),
    (1136073540, b"flower", b"Brenna", 1.5, 2),
]


def offer_entry(offer):
    item_id, name, category, player, count, price, sell = offer
    return dict(item_name=name, category=category, player_name=player, item_id=item_id, count=count, price=price,
                sell=sell)


class Market(PingedFrames):
    def __init__(self, first_ping=0x7400):
        super().__init__(first_ping)
        self.offers = list(OFFERS)
        self.listings = 0     # full listings sent
        self.accepted = []    # (player, item id, amount, price, side)
        self.created = []     # (item id, amount, price, side)
        self.queried = []     # (item id, player)
        self.withdrawn = []   # (item id, side)

    # --- the server's hooks ---

    def on_enter_game(self, server, client):
        with self.lock:
            self.offers = list(OFFERS)

    def on_request(self, server, client, request):
        op, fields = request.opcode, request.fields
        if op == CLIENT_MARKET_OPEN:
            # A full listing empties the client's history: it comes again behind.
            self._send(client, [self._full_listing(), self._history()])
            return True
        with self.lock:
            if op == CLIENT_MARKET_ACCEPT:
                self.accepted.append((fields["player"], fields["item"], fields["amount"], fields["price"],
                                      fields["side"]))
                return True
            if op == CLIENT_MARKET_CREATE:
                self.created.append((fields["item"], fields["amount"], fields["price"], fields["side"]))
                name = next((n for i, n in CATALOGUE if i == fields["item"]), b"Item %d" % fields["item"])
                self.offers.append((fields["item"], name, FOOD, PLAYER, fields["amount"], fields["price"],
                                    fields["side"]))
                return True
            if op == CLIENT_MARKET_QUERY:
                self.queried.append((fields["item"], fields["player"]))
                return True
            if op == CLIENT_MARKET_WITHDRAW:
                self.withdrawn.append((fields["item"], fields["side"]))
                own = [o for o in self.offers if o[3] == PLAYER and o[0] == fields["item"] and o[6] == fields["side"]]
                if own:
                    self.offers.remove(own[0])
                return True
        if op == CLIENT_CHAT and fields["text"] == b"!market":
            self.open(server)
            return True
        return False

    # --- cues ---

    def open(self, server):
        """The catalogue, a full listing and the history in one frame."""
        # The history behind the listing, which would empty it.
        payloads = [sm.build("market_item_names", items=[dict(item_id=i, name=n) for i, n in CATALOGUE]),
                    self._full_listing(), self._history()]
        return self._send(server, payloads)

    def ping(self, server):
        """A frame of a ping alone: its answer shows that the client has run a
        pass since it was sent."""
        return self._send(server, [])

    def listing(self, server, offers):
        """A listing without the full flag: the offers are added to those held."""
        return self._send(server, [sm.build("market_offers", full=0, offers=[offer_entry(o) for o in offers])])

    # --- inside ---

    @staticmethod
    def _history():
        return sm.build("market_history", records=[dict(time=t, item_name=i, player_name=p, price=e, count=c)
                                                   for t, i, p, e, c in HISTORY])

    def _full_listing(self):
        with self.lock:
            self.listings += 1
            offers = [offer_entry(o) for o in self.offers]
        return sm.build("market_offers", full=1, balance=BALANCE, offers=offers)
