"""The chat behaviour of the fake game server.

It echoes every chat line (0x03) back as a Say line (0x04, kind 1) from the
player in the same channel, as a real server shows the player's own words;
answers a join request for a public channel (0x15, kind 2) by opening its tab
(0x0b); takes a leave request (0x16) silently; answers the request for the
channel list (0x1C) with CHANNELS. The rest comes on cue: a private line from
another player, a broadcast, a loot notice, a status text, a channel list, a
paged text of three pages, a tip and the tutorial.

A few lines work like a game master's commands, so that a player of the
demo world can see what otherwise only comes on cue: "!tutorial" completes
the tutorial (0x3C), "!fight" puts the player in a fight (conditions with
1104, under which closing the window asks first), "!text" shows a paged text
of three pages, "!tip" a tip anchored where the player stands and "!whisper"
a private line from Ana, which opens her tab; none is echoed.

    chat = Chat(player_position=lambda: (120, 120))
    with FakeServer(behaviours=[chat]) as server:
        ...
        chat.private(server, "Ana", "hello")
"""

from client_requests import CLIENT_CHAT, CLIENT_GAME_LOGIN
from server_messages import build
from world import FLOOR, START

CLIENT_JOIN_CHANNEL = 0x15
CLIENT_LEAVE_CHANNEL = 0x16
CLIENT_REQUEST_CHANNELS = 0x1C

# The public channels the server offers when asked.
CHANNELS = (b"Trade", b"Help")
# A condition under which the character stays in the world for a while.
IN_FIGHT = 1104

SAY = 1
BROADCAST = 2
PRIVATE = 5
NOTICE = 6


class Chat:
    def __init__(self, player_position=None):
        """player_position: the player's (x, y) on the world's floor now,
        where "!tip" anchors its tip; without it the world's start."""
        self.player = b""
        self.player_position = player_position or (lambda: START)

    def on_enter_game(self, server, client):
        logins = server.requests_of(CLIENT_GAME_LOGIN, "game")
        self.player = logins[-1].fields.get("character", b"") if logins else b""

    def on_request(self, server, client, request):
        fields = request.fields
        if request.opcode == CLIENT_CHAT:
            command = self.COMMANDS.get(fields["text"])
            if command:
                command(self, server)
            else:
                client.send(build("chat_message", sender=self.player, channel=fields["channel"], kind=SAY,
                                  text=fields["text"]))
            return True
        if request.opcode == CLIENT_JOIN_CHANNEL:
            if fields["kind"] == 2:
                client.send(build("channel_open", channel_type=2, name=fields["name"]))
            return True
        if request.opcode == CLIENT_REQUEST_CHANNELS:
            client.send(build("channel_list", channels=[dict(name=n) for n in CHANNELS]))
            return True
        return request.opcode == CLIENT_LEAVE_CHANNEL

    # --- cues -----------------------------------------------------------------------

    @staticmethod
    def open_channel(server, name, channel_type=2):
        return server.send_payload(build("channel_open", channel_type=channel_type, name=name))

    @staticmethod
    def line(server, sender, channel, kind, text):
        return server.send_payload(build("chat_message", sender=sender, channel=channel, kind=kind, text=text))

    @classmethod
    def private(cls, server, sender, text):
        """A private line: its channel is the sender's name."""
        return cls.line(server, sender, sender, PRIVATE, text)

    @classmethod
    def broadcast(cls, server, text):
        return cls.line(server, b"", b"Main", BROADCAST, text)

    @classmethod
    def loot_notice(cls, server, text=b"Loot of a rat: 3 gold coins dropped on the ground."):
        return cls.line(server, b"Server", b"Main", NOTICE, text)

    @staticmethod
    def status_text(server, text):
        return server.send_payload(build("status_text", text=text))

    @staticmethod
    def channel_list(server, names):
        return server.send_payload(build("channel_list", channels=[dict(name=n) for n in names]))

    @staticmethod
    def paged_text(server, text=b"The first page.|The second page.|The third page."):
        return server.send_payload(build("paged_text", text=text))

    @staticmethod
    def tip(server, tip_id, title, text, x, y, z):
        return server.send_payload(build("tip_message", tip_id=tip_id, title=title, text=text, x=x, y=y, z=z))

    @staticmethod
    def tutorial(server):
        return server.send_payload(build("tutorial"))

    @staticmethod
    def conditions(server, ids):
        """The player's conditions replaced by these, without buffs."""
        return server.send_payload(build("conditions", conditions=[dict(id=i) for i in ids], buffs=[]))

    def tip_here(self, server):
        x, y = self.player_position()
        return self.tip(server, 0, b"Welcome", b"Tips like this one point at a spot of the map.", x, y, FLOOR)


# Each takes the behaviour and the server.
Chat.COMMANDS = {
    b"!tutorial": lambda chat, server: Chat.tutorial(server),
    b"!fight": lambda chat, server: Chat.conditions(server, [IN_FIGHT]),
    b"!text": lambda chat, server: Chat.paged_text(server),
    b"!tip": Chat.tip_here,
    b"!whisper": lambda chat, server: Chat.private(server, b"Ana", b"Hello! Care to trade?"),
}
