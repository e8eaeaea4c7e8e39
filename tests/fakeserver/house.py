"""The fake game server's houses: the player's house for the house management
and the houses on auction for the bidding.

Cues (each returns the ping value behind its frame, or None without a game
connection):
- house(server, ...) sends the house's data (0x28): "Harbour Lane 4" at
  (130, 125, 7), by default with access level 2, rights 7, the invite "Ivo",
  the tile permission "Mira" (2) and two decoration items, a flower (120) and
  a torch (130). Access level, rights byte (bits above 4 too) and the lists
  may be chosen, duplicate names included. Once the player has saved, the
  saved lists (and position) are sent instead of the defaults. cut_short
  announces more decoration items than follow: the message then ends its
  frame, and the ping comes in a frame of its own;
- bidding(server, can_bid=1, houses=None, extra=0) sends the houses on
  auction (0x29): by default houses 7, 8 and 9 with 100, 300 and 0 seconds
  left, each with a bidder; houses may be chosen (with and without bidders,
  seconds left 0 or negative as 0xFFFFFFFB). extra adds that many to the
  count over the houses that follow: the ping then comes in the next frame.

Requests: the save (0x25) is stored and sent back by the next house cue;
bids (0x26), abandon (0x2F), transfers (0x30) and purchases (0x36) are
recorded. A chat line (0x03) "!house" or "!bidding" runs the cue of that
name, so that a player of scripts/run can open both dialogs.

    houses = House()
    with FakeServer(behaviours=[houses, actions.ActionWorld()]) as server:
        ...
        houses.house(server)
        houses.bidding(server)
"""

import server_messages as sm
from cues import PingedFrames
from client_requests import CLIENT_CHAT

CLIENT_SAVE = 0x25
CLIENT_BID = 0x26
CLIENT_ABANDON = 0x2F
CLIENT_TRANSFER = 0x30
CLIENT_BUY = 0x36

NAME = b"Harbour Lane 4"
POSITION = (130, 125, 7)
FLOWER, TORCH = 120, 130
INVITES = [(b"Ivo", 0)]                # (name, sub owner)
PERMISSIONS = [(b"Mira", 2)]           # (name, rights)
DECORATIONS = [(FLOWER, b"Flower", b"2 premium cards"), (TORCH, b"Torch", b"3 premium cards")]
# (house id, name, bidder, highest bid, seconds left, rent)
HOUSES = [(7, b"Mill Road 1", b"Ann", 5, 100, 300),
          (8, b"Mill Road 2", b"Bob", 12, 300, 450),
          (9, b"Mill Road 3", b"Cy", 2, 0, 200)]


class House(PingedFrames):
    def __init__(self, first_ping=0x7C00):
        super().__init__(first_ping)
        self.saved = None     # the fields of the last save request
        self.saves = []       # the fields of every save request
        self.bids = []        # (house id, amount)
        self.abandons = 0
        self.transfers = []   # (name, price)
        self.purchases = []   # item ids

    # --- the server's hooks ---

    def on_enter_game(self, server, client):
        with self.lock:
            self.saved = None

    def on_request(self, server, client, request):
        fields = request.fields
        op = request.opcode
        with self.lock:
            if op == CLIENT_SAVE:
                self.saved = fields
                self.saves.append(fields)
            elif op == CLIENT_BID:
                self.bids.append((fields["house"], fields["amount"]))
            elif op == CLIENT_ABANDON:
                self.abandons += 1
            elif op == CLIENT_TRANSFER:
                self.transfers.append((fields["name"], fields["price"]))
            elif op == CLIENT_BUY:
                self.purchases.append(fields["item"])
        if op in (CLIENT_SAVE, CLIENT_BID, CLIENT_ABANDON, CLIENT_TRANSFER, CLIENT_BUY):
            return True
        if op == CLIENT_CHAT:
            cue = {b"!house": self.house, b"!bidding": self.bidding}.get(fields["text"])
            if cue:
                cue(server)
            return cue is not None
        return False

    # --- cues ---

    def house(self, server, access_level=2, rights=7, invites=None, permissions=None, decorations=None,
              cut_short=False):
        """The house's data (0x28): the last save's lists when there was one
        and none are given."""
        with self.lock:
            saved = self.saved
        position = POSITION
        if saved is not None:
            position = (saved["x"], saved["y"], saved["z"])
            if invites is None:
                invites = [(i["name"], i["role"]) for i in saved["invites"]]
            if permissions is None:
                permissions = [(p["name"], p["level"]) for p in saved["permissions"]]
        invites = INVITES if invites is None else invites
        permissions = PERMISSIONS if permissions is None else permissions
        decorations = DECORATIONS if decorations is None else decorations
        values = dict(name=NAME, x=position[0], y=position[1], floor=position[2], access_level=access_level,
                      grantable_rights=rights, invites=[dict(name=n, sub_owner=s) for n, s in invites],
                      tile_permissions=[dict(name=n, rights=r) for n, r in permissions],
                      decoration_items=[dict(item_id=i, name=n, detail=d) for i, n, d in decorations])
        if cut_short:
            values["decoration_items_count"] = len(decorations) + 2
        return self._send(server, [sm.build("house", **values)], alone=cut_short)

    def bidding(self, server, can_bid=1, houses=None, extra=0):
        """The houses on auction (0x29)."""
        houses = HOUSES if houses is None else houses
        values = dict(can_bid=can_bid, houses=[
            dict(house_id=h, name=n, bidder=b, highest_bid=bid, seconds_left=s, rent=r)
            for h, n, b, bid, s, r in houses])
        if extra:
            values["houses_count"] = len(houses) + extra
        return self._send(server, [sm.build("house_bidding", **values)], alone=extra > 0)

    # --- inside ---

