"""The guild behaviour of the fake game server.

A player without a guild who asks for the guild window (0x37) gets the
invitations of two guilds (0x3a, INVITES); joining one (0x38 5) or founding
one (0x38 4) makes the player a guild leader: the guild data (0x38) and the
end of the request (0x39). Once in a guild, 0x37 answers with the guild data.

The guild (`Guild.data()`): ranks of orders 2, 0 and 1 ("Recruit", "Leader",
"Officer"); the player (named as the game login named the character) in the
order-0 rank, a member of each other rank and one invited character (rank 0);
a war whose status begins "Not accepted".

Every other guild request is answered with 0x39, after new guild data where
it changes the guild: 1 sets the channel message, 2 invites a character, 3
kicks a member (kicking the player is leaving: the invitations come instead),
6 edits a member, 7 declares a war, 8 accepts one, 9 ends one, 10 adds a rank,
11 removes an unused rank, 12 moves a rank one place.

Cues: hold_answers() keeps the 0x39 answers back (the guild data still goes
at once) until release_answers() sends them, so a driver can look at the
client while it waits for the server's verdict.

    guild = Guild()
    with FakeServer(behaviours=[actions.ActionWorld(), guild]) as server:
        ...
        guild.hold_answers()
        ...
        guild.release_answers()
"""
import threading

from client_requests import CLIENT_GAME_LOGIN, CLIENT_GUILD
from server_messages import build

CLIENT_REQUEST_GUILD = 0x37

INVITES = [(4001, b"Knights of Velmora"), (4002, b"Rogues of the Marsh")]
WAR_ID = 501
UP = 255


class Guild:
    def __init__(self):
        self.lock = threading.Lock()
        self.server = None
        self.player = b""
        self.member = False
        self.held = False
        self.pending = 0  # answers (0x39) kept back
        self.name = b""
        self.channel_message = b""
        self.ranks = []
        self.members = []
        self.wars = []
        self._next_id = 2000

    # --- the server's hooks ---

    def on_enter_game(self, server, client):
        logins = server.requests_of(CLIENT_GAME_LOGIN, "game")
        with self.lock:
            self.server = server
            self.player = logins[-1].fields.get("character", b"") if logins else b""

    def on_request(self, server, client, request):
        if request.opcode == CLIENT_REQUEST_GUILD:
            with self.lock:
                client.send(self._guild_message() if self.member else self._invites_message())
            return True
        if request.opcode != CLIENT_GUILD:
            return False
        with self.lock:
            payloads = self._command(request.fields)
            for payload in payloads:
                client.send(payload)
            if self.held:
                self.pending += 1
            else:
                client.send(build("guild_request_answered"))
        return True

    # --- cues ---

    def hold_answers(self):
        with self.lock:
            self.held = True

    def release_answers(self, server=None):
        """Sends the answers kept back; returns how many."""
        with self.lock:
            self.held = False
            count, self.pending = self.pending, 0
            target = server or self.server
        for _ in range(count):
            target.send_payload(build("guild_request_answered"))
        return count

    def data(self):
        """The guild as the last guild data message sent it (a dict of build()'s values)."""
        with self.lock:
            return dict(name=self.name, channel_message=self.channel_message, own_level=2,
                        ranks=[dict(r) for r in self.ranks], members=[dict(m) for m in self.members],
                        wars=[dict(w) for w in self.wars])

    # --- inside ---

    def _id(self):
        self._next_id += 1
        return self._next_id

    def _found(self, name):
        """The player leads a new guild of that name."""
        self.member = True
        self.name = name
        self.channel_message = b"Welcome to " + name + b"!"
        # Sent in this order so that the client's sorting shows.
        self.ranks = [dict(rank_id=11, level=0, order=2, name=b"Recruit"),
                      dict(rank_id=12, level=2, order=0, name=b"Leader"),
                      dict(rank_id=13, level=1, order=1, name=b"Officer")]
        self.members = [dict(member_id=1003, rank_id=11, name=b"Cedric", title=b""),
                        dict(member_id=1001, rank_id=12, name=self.player, title=b""),
                        dict(member_id=1002, rank_id=13, name=b"Brenna", title=b"Scout"),
                        dict(member_id=1004, rank_id=0, name=b"Dara", title=b"")]
        self.wars = [dict(war_id=WAR_ID, text=name + b" vs Bandits", status=b"Not accepted (7 days)", loyalty=1,
                          loss_fee=500)]

    def _guild_message(self):
        return build("guild", name=self.name, channel_message=self.channel_message, own_level=2, ranks=self.ranks,
                     members=self.members, wars=self.wars)

    @staticmethod
    def _invites_message():
        return build("no_guild", invites=[dict(guild_id=i, name=n) for i, n in INVITES])

    def _member(self, member_id):
        return next((m for m in self.members if m["member_id"] == member_id), None)

    def _command(self, f):
        """The payloads (before the answer) of one guild request."""
        sub = f["sub"]
        if not self.member:
            if sub == 5 and f["guild"] in dict(INVITES):
                self._found(dict(INVITES)[f["guild"]])
                return [self._guild_message()]
            if sub == 4 and f["name"]:
                self._found(f["name"])
                return [self._guild_message()]
            return []
        if sub == 1:
            self.channel_message = f["text"]
        elif sub == 2:
            self.members.append(dict(member_id=self._id(), rank_id=0, name=f["name"], title=b""))
        elif sub == 3:
            member = self._member(f["member"])
            if member is None:
                return []
            if member["name"] == self.player:
                self.member = False
                return [self._invites_message()]
            self.members.remove(member)
        elif sub == 6:
            member = self._member(f["member"])
            if member is None:
                return []
            member.update(title=f["title"], rank_id=f["rank"])
        elif sub == 7:
            self.wars.append(dict(war_id=self._id(), text=self.name + b" vs " + f["guild"],
                                  status=b"Not accepted (%d days)" % f["days"], loyalty=f["loyalty"],
                                  loss_fee=f["fee"]))
        elif sub in (8, 9):
            war = next((w for w in self.wars if w["war_id"] == f["war"]), None)
            if war is None:
                return []
            if sub == 8:
                war["status"] = b"Running"
            else:
                self.wars.remove(war)
        elif sub == 10:
            order = max((r["order"] for r in self.ranks), default=-1) + 1
            self.ranks.append(dict(rank_id=self._id(), level=f["level"], order=min(order, 255),
                                   name=f["rank_name"]))
        elif sub == 11:
            rank = next((r for r in self.ranks if r["rank_id"] == f["rank"]), None)
            if rank is None or any(m["rank_id"] == f["rank"] for m in self.members):
                return []
            self.ranks.remove(rank)
        elif sub == 12:
            ordered = sorted(self.ranks, key=lambda r: r["order"])
            at = next((i for i, r in enumerate(ordered) if r["rank_id"] == f["rank"]), None)
            other = None if at is None else at - 1 if f["step"] == UP else at + 1
            if other is None or not 0 <= other < len(ordered):
                return []
            ordered[at]["order"], ordered[other]["order"] = ordered[other]["order"], ordered[at]["order"]
        else:
            return []
        return [self._guild_message()]
