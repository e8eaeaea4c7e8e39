"""The fake game server's chat channels: every public channel the client asks
to join (0x15 with kind 2) is opened at once (0x0b), so that the client's
restored channels become tabs. A ping follows each answer.

Behaviour: give Channels() to FakeServer(behaviours=[...]).
"""
import threading

import server_messages as sm

JOIN_OPCODE = 0x15
PUBLIC = 2


class Channels:
    def __init__(self, first_ping=0x7000):
        self.lock = threading.Lock()
        self.next_ping = first_ping
        self.opened = []  # channel names, in the order they were opened

    def on_request(self, server, client, request):
        if request.opcode != JOIN_OPCODE or request.fields.get("kind") != PUBLIC:
            return False
        name = request.fields.get("name", b"")
        with self.lock:
            value = self.next_ping
            self.next_ping += 1
            self.opened.append(name)
            client.send(sm.build("channel_open", channel_type=PUBLIC, name=name) + sm.ping(value))
        return True
