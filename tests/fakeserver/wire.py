"""The wire format of the game protocol, written from its description alone:
frames are a u16 little-endian payload length and the payload; numbers are
little-endian; a string is a u16 byte count and the bytes."""

import struct


def to_bytes(text):
    return text if isinstance(text, bytes) else text.encode("latin-1")


class Writer:
    """Builds a payload."""

    def __init__(self):
        self.data = bytearray()

    def u8(self, value):
        self.data += struct.pack("<B", value & 0xFF)
        return self

    def u16(self, value):
        self.data += struct.pack("<H", value & 0xFFFF)
        return self

    def u32(self, value):
        self.data += struct.pack("<I", value & 0xFFFFFFFF)
        return self

    def i32(self, value):
        self.data += struct.pack("<i", value)
        return self

    def u64(self, value):
        self.data += struct.pack("<Q", value & 0xFFFFFFFFFFFFFFFF)
        return self

    def f32(self, value):
        self.data += struct.pack("<f", value)
        return self

    def string(self, text):
        text = to_bytes(text)
        self.u16(len(text))
        self.data += text
        return self

    def raw(self, data):
        self.data += data
        return self

    def bytes(self):
        return bytes(self.data)


class ShortPayload(Exception):
    """A field runs past the end of its payload."""


class Reader:
    """Reads the fields of a payload; a field cut short raises ShortPayload."""

    def __init__(self, data):
        self.data = bytes(data)
        self.pos = 0

    def remaining(self):
        return len(self.data) - self.pos

    def take(self, count):
        if self.remaining() < count:
            raise ShortPayload(f"{count} bytes wanted at {self.pos}, {self.remaining()} left")
        chunk = self.data[self.pos:self.pos + count]
        self.pos += count
        return chunk

    def u8(self):
        return self.take(1)[0]

    def u16(self):
        return struct.unpack("<H", self.take(2))[0]

    def u32(self):
        return struct.unpack("<I", self.take(4))[0]

    def i32(self):
        return struct.unpack("<i", self.take(4))[0]

    def u64(self):
        return struct.unpack("<Q", self.take(8))[0]

    def f32(self):
        return struct.unpack("<f", self.take(4))[0]

    def string(self):
        return self.take(self.u16())

    def rest(self):
        return self.take(self.remaining())


def frame(payload):
    """A whole frame: the u16 length and the payload."""
    if len(payload) > 0xFFFF:
        raise ValueError("payload too long for one frame")
    return struct.pack("<H", len(payload)) + bytes(payload)


class FrameReader:
    """Cuts a byte stream into frame payloads, however it is split on the way."""

    def __init__(self):
        self.buffer = bytearray()

    def feed(self, data):
        self.buffer += data
        payloads = []
        while len(self.buffer) >= 2:
            size = struct.unpack_from("<H", self.buffer)[0]
            if len(self.buffer) < 2 + size:
                break
            payloads.append(bytes(self.buffer[2:2 + size]))
            del self.buffer[:2 + size]
        return payloads
