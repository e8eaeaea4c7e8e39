"""The player trade's behaviour of the fake game server: a partner who offers
a few items, locks as soon as the player locks, and waits.

On cue it starts a trade (0x20), updates it (0x21: both offers, with or
without the 0xFFFF that ends each list), ends it (0x22) and ends and starts a
new one in one frame (0x22 + 0x20). Every frame it sends carries a ping
behind; an update whose list ends with the frame carries its ping in a
frame of its own, since the list would take the ping in.

Requests:
- a move (0x0E) onto the own side of the trade (65535, 65534, n) puts the
  thing at the move's source into the own offer (the first behaviour with an
  item_at(x, y, z) says what lies there, such as the side windows' bags) and
  answers with the new state (0x21);
- the trade command (0x1F): 2 locks (the partner locks too), 3 accepts,
  4 takes back the own offer's slot (slots counted as the client counts them:
  a run of one non-zero group is one slot), each answered with 0x21; 1
  cancels, answered with the trade's end (0x22);
- a chat line (0x03) "trade" or "trade NAME" starts a trade with Bob or NAME,
  his items offered, so that a player of scripts/run can open the window.

    trade = Trade()
    with FakeServer(behaviours=[trade, actions.ActionWorld(), sidewindows.SideWindows()]) as server:
        ...
        trade.start(server, b"Bob", with_items=True)
"""
import server_messages as sm
from cues import PingedFrames
from client_requests import CLIENT_CHAT
from wire import Writer

CLIENT_MOVE = 0x0E
CLIENT_TRADE = 0x1F
TRADE_X, TRADE_Y = 65535, 65534

CANCEL, LOCK, ACCEPT, REMOVE = 1, 2, 3, 4

# Item ids of the fake world with pictures in the generated graphics file.
COINS, FLOWER, TORCH = 110, 120, 130
# (item id, count, group): two coin stacks that the server offers as one slot.
PARTNER_ITEMS = ((COINS, 30, 1), (COINS, 12, 1))


def slots(items):
    """The offer slot of each item, as the client numbers them."""
    numbers, slot = [], -1
    for i, (_, _, group) in enumerate(items):
        if not (group and i > 0 and group == items[i - 1][2]):
            slot += 1
        numbers.append(slot)
    return numbers


class Trade(PingedFrames):
    def __init__(self, partner_items=PARTNER_ITEMS, first_ping=0x7000):
        super().__init__(first_ping)
        self.partner_items = list(partner_items)
        self.own_items = []        # (item id, count, group)
        self.partner = None        # the running trade's partner; None without a trade
        self.own_locked = 0
        self.partner_locked = 0
        self.own_accepted = 0
        self.commands = []         # (command, slot) of every trade command
        self.offered = []          # (source position, target index, count) of every move into the trade

    # --- the server's hooks ---

    def on_enter_game(self, server, client):
        with self.lock:
            self._reset(None)

    def on_request(self, server, client, request):
        fields = request.fields
        if request.opcode == CLIENT_MOVE and (fields["to_x"], fields["to_y"]) == (TRADE_X, TRADE_Y):
            source = (fields["from_x"], fields["from_y"], fields["from_z"])
            item = self._item_at(server, source)
            with self.lock:
                self.offered.append((source, fields["to_z"], fields["count"]))
                if self.partner is not None and item and item[0]:
                    count = min(fields["count"], item[1]) or 1
                    self.own_items.append((item[0], count, 0))
                payload = self._update()
            self._send(client, [payload])
            return True
        if request.opcode == CLIENT_TRADE:
            command, slot = fields["sub"], fields.get("slot")
            with self.lock:
                self.commands.append((command, slot))
                if command == CANCEL:
                    self._reset(None)
                    payloads = [sm.build("trade_end")]
                else:
                    if command == LOCK:
                        self.own_locked = self.partner_locked = 1
                    elif command == ACCEPT:
                        self.own_accepted = 1
                    elif command == REMOVE:
                        numbers = slots(self.own_items)
                        self.own_items = [item for item, n in zip(self.own_items, numbers) if n != slot]
                    payloads = [self._update()]
            self._send(client, payloads)
            return True
        if request.opcode == CLIENT_CHAT:
            words = fields["text"].split()
            if words[:1] != [b"trade"]:
                return False
            self.start(server, words[1] if len(words) > 1 else b"Bob", with_items=True)
            return True
        return False

    # --- cues (each returns the ping value behind its frame; None without a
    # game connection) ---

    def start(self, server, partner=b"Bob", with_items=False):
        """A new trade (0x20); with_items, the partner's offer (0x21) in the same frame."""
        with self.lock:
            self._reset(partner)
            payloads = [sm.build("trade_open", partner_name=partner)]
            if with_items:
                payloads.append(self._update())
        return self._send(server, payloads)

    def update(self, server, end_own=True, end_partner=True):
        """The trade's state and both offers (0x21). A list sent without its
        end takes the rest of its frame: the ping then follows in a frame of
        its own."""
        with self.lock:
            payload = self._update(end_own, end_partner)
        if end_own and end_partner:
            return self._send(server, [payload])
        if not server.send_payload(payload):
            return None
        return self._send(server, [])

    def end(self, server):
        """The trade ends (0x22)."""
        with self.lock:
            self._reset(None)
        return self._send(server, [sm.build("trade_end")])

    def restart(self, server, partner):
        """The trade ends and a new one starts in the same frame (0x22 + 0x20)."""
        with self.lock:
            self._reset(partner)
        return self._send(server, [sm.build("trade_end"), sm.build("trade_open", partner_name=partner)])

    # --- inside ---

    def _reset(self, partner):
        self.partner = partner
        self.own_items = []
        self.own_locked = self.partner_locked = self.own_accepted = 0

    def _update(self, end_own=True, end_partner=True):
        state = (self.own_locked, self.partner_locked, self.own_accepted)
        if end_own and end_partner:
            def entries(items):
                return [dict(item_id=i, count=c, group=g) for i, c, g in items]
            return sm.build("trade_items", own_locked=state[0], partner_locked=state[1], own_accepted=state[2],
                            own_items=entries(self.own_items), partner_items=entries(self.partner_items))
        # The table's lists always end; a list that ends with the frame is
        # written here.
        w = Writer().u8(sm.opcode_of("trade_items")).u8(state[0]).u8(state[1]).u8(state[2])
        for items, ended in ((self.own_items, end_own), (self.partner_items, end_partner)):
            for item_id, count, group in items:
                w.u16(item_id).u8(count).u8(group)
            if ended:
                w.u16(0xFFFF)
        return w.bytes()

    def _item_at(self, server, position):
        for behaviour in server.behaviours:
            finder = getattr(behaviour, "item_at", None)
            if finder:
                item = finder(*position)
                if item:
                    return item
        return None
