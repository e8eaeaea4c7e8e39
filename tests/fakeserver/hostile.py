"""A hostile game server: once the game has started it sends batches of
random and malformed frames for every server opcode, each batch followed by
a ping, and counts the pongs.

A batch covers every opcode 0x01 to 0x40, in a random order, twice. First
the frames that keep the stream in step: the opcode's valid samples of
server_messages.py (so that the dialogs they open are reached); then a ping.
Then the frames that most likely put it out of step (the client reads a
message past its frame's end as a fault of the stream): the samples cut
short at a random byte, or cut and ended with a count or a string length at
its largest, now and then a frame of strings of up to 16 000 bytes, samples
with bytes overwritten, appended or repeated, random payloads, several such
messages in one frame;
and the framing attacks: an empty frame, a frame trickled out in pieces, a
length that claims more than was sent (the rest follows in a later write, or
garbage instead in a "desync" batch). The disconnect message (0x16) ends the
session, so it comes last in one batch of DISCONNECT_EVERY only. The final
ping closes the batch.

The client may answer garbage by closing the connection (a "Networking
Error"), after which it logs in again; the behaviour notes each game login.
Nothing is checked here: the Wine driver (tests/wine/hostile) judges the
client.
"""
import random
import struct
import threading
import time

import server_messages as sm

FIRST_OPCODE = 0x01
LAST_OPCODE = 0x40
DISCONNECT = 0x16
DISCONNECT_EVERY = 8
MAX_PAYLOAD = 0xFFFF


def _samples_by_opcode():
    table = {}
    for _, payload in sm.sample_payloads():
        table.setdefault(payload[0], []).append(payload)
    return table


def random_payload(rng, opcode):
    size = rng.choice((0, 1, 2, 3, 4, 6, 8, 16, rng.randint(0, 64), rng.randint(0, 512), rng.randint(0, 4000)))
    return bytes([opcode]) + rng.randbytes(size)


def long_strings(rng, opcode):
    """String after string of up to 16 000 bytes, as many as a frame holds."""
    out = bytearray([opcode])
    while True:
        size = rng.choice((255, 256, 1000, 4000, 16000))
        if len(out) + 2 + size > MAX_PAYLOAD:
            break
        out += struct.pack("<H", size) + bytes(rng.choice(b"Wim .\x01\xff") for _ in range(min(size, 64))) * (
            size // 64) + b"x" * (size % 64)
    return bytes(out)


def mutate(rng, payload):
    """A sample with its opcode kept and its body damaged."""
    data = bytearray(payload)
    kind = rng.randrange(6)
    if kind == 0 and len(data) > 1:  # cut short
        del data[rng.randint(1, len(data) - 1):]
    elif kind == 1 and len(data) > 1:  # bytes overwritten
        for _ in range(rng.randint(1, 8)):
            data[rng.randint(1, len(data) - 1)] = rng.choice((0, 0xFF, 0x7F, 0x80, rng.randrange(256)))
    elif kind == 2 and len(data) > 2:  # a count or a length at its largest
        at = rng.randint(1, len(data) - 2)
        data[at:at + 2] = b"\xff\xff" if rng.random() < 0.5 else b"\xff\x7f"
    elif kind == 3:  # bytes appended
        data += rng.randbytes(rng.randint(1, 300))
    elif kind == 4 and len(data) > 1:  # a field repeated many times
        at = rng.randint(1, len(data) - 1)
        chunk = bytes(data[at:at + rng.randint(1, 16)])
        data[at:at] = chunk * rng.randint(10, 400)
    else:  # every byte of the body random
        data[1:] = rng.randbytes(len(data) - 1)
    return bytes(data[:MAX_PAYLOAD])


def framed(payload):
    return struct.pack("<H", len(payload)) + payload


class Hostile:
    """The behaviour: notes every game login; `run_batch` sends one batch."""

    def __init__(self, seed=1):
        self.rng = random.Random(seed)
        self.samples = _samples_by_opcode()
        self.lock = threading.Lock()
        self.game_logins = 0
        self.batches = 0
        self.frames_sent = 0
        self.bytes_sent = 0

    def on_enter_game(self, server, client):
        with self.lock:
            self.game_logins += 1

    def batch(self, number, desync=False):
        """The parts of one batch without its final ping: lists of byte
        chunks (each one write; ("pause", bytes) is written a moment later),
        the first part the frames that keep the stream in step."""
        rng = self.rng
        opcodes = [op for op in range(FIRST_OPCODE, LAST_OPCODE + 1) if op != DISCONNECT]
        rng.shuffle(opcodes)
        # In step: every opcode's valid samples (a message cut short or
        # with a count beyond its bytes puts the stream out of step too).
        steady = []
        for opcode in opcodes:
            steady += [framed(p) for p in self.samples.get(opcode, [])]
        # Out of step, most likely: samples cut short, or cut and ended with a
        # count or a string length at its largest, strings of up to 16 000
        # bytes, damaged samples, random bytes, several messages in a frame,
        # then the framing attacks.
        rough = []
        for opcode in opcodes:
            for payload in self.samples.get(opcode, []) or [bytes([opcode]) + rng.randbytes(rng.randint(1, 40))]:
                cut = rng.randint(1, max(1, len(payload) - 1))
                rough.append(framed(payload[:cut]))
                rough.append(framed(payload[:cut] + rng.choice((b"\xff", b"\xff\xff", b"\xff\xff\xff\xff"))))
            if rng.random() < 0.15:
                rough.append(framed(long_strings(rng, opcode)))
        pending = []
        for opcode in opcodes:
            for payload in self.messages(opcode):
                if pending and (rng.random() < 0.7 or len(b"".join(pending)) + len(payload) > MAX_PAYLOAD):
                    rough.append(framed(b"".join(pending)))
                    pending = []
                pending.append(payload)
        if pending:
            rough.append(framed(b"".join(pending)))
        rng.shuffle(rough)  # the first fault, which most likely ends the session, differs
        rough.append(b"\x00\x00")  # an empty frame
        body = random_payload(rng, rng.randint(FIRST_OPCODE, LAST_OPCODE))
        whole = framed(body)
        rough += [whole[:1], whole[1:3], whole[3:]]  # one frame in pieces
        claimed = rng.randint(len(body) + 1, MAX_PAYLOAD)
        rough.append(struct.pack("<H", claimed) + body)  # more claimed than sent...
        if not desync:
            rough.append(("pause", bytes(claimed - len(body))))  # ...the rest later
        else:
            rough.append(rng.randbytes(rng.randint(1, 200)))  # ...garbage instead
        # The disconnect message ends the session: now and then, last.
        if number % DISCONNECT_EVERY == DISCONNECT_EVERY - 1:
            rough.append(framed(bytes([DISCONNECT])))
        return steady, rough

    def messages(self, opcode):
        """The damaged payloads of one opcode in a batch."""
        rng = self.rng
        samples = self.samples.get(opcode, [])
        out = [mutate(rng, rng.choice(samples)) for _ in range(2)] if samples else []
        out.append(random_payload(rng, opcode))
        out.append(mutate(rng, bytes([opcode]) + rng.randbytes(rng.randint(1, 40))))
        return out

    def run_batch(self, server, ping_value, desync=False, answered=None):
        """Sends a batch to the latest game connection: the frames in step, a
        ping (ping_value + 1), the rest and the final ping (ping_value).
        `answered(value)`, when given, waits for the pong of the first ping
        before the rest is sent (a client reads all that has come before it
        answers, and a fault in the rest ends the connection before the
        answer goes out). False when no connection took it all."""
        client = server._latest("game")
        if client is None:
            return False
        with self.lock:
            number = self.batches
            self.batches += 1
        steady, rough = self.batch(number, desync)
        if not self._send(client, steady + [framed(sm.ping(ping_value + 1))]):
            return False
        if answered:
            answered(ping_value + 1)
        return self._send(client, rough + [framed(sm.ping(ping_value))])

    def _send(self, client, chunks):
        for chunk in chunks:
            if isinstance(chunk, tuple):
                time.sleep(0.05)
                chunk = chunk[1]
            if not client.open:
                return False
            client.send_raw(chunk)
            self.frames_sent += 1
            self.bytes_sent += len(chunk)
        return client.open
