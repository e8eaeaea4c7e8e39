"""What the behaviours that send frames on cue share: every frame they send
carries a ping of its own behind its messages, and `pings` lists the values
sent, so that a test knows when the client has read a frame (its answer)."""
import threading

import server_messages as sm


class PingedFrames:
    def __init__(self, first_ping):
        self.lock = threading.Lock()
        self.next_ping = first_ping
        self.pings = []  # every ping value sent

    def _send(self, to, payloads, alone=False):
        """The payloads and a ping in one frame, to a client or the server's
        latest game connection; the ping value, or None when nothing could
        be sent. With `alone` the ping follows in a frame of its own, behind
        a message that reads to the end of its frame."""
        with self.lock:
            value = self.next_ping
            self.next_ping += 1
            self.pings.append(value)
        body = b"".join(payloads)
        frames = [body, sm.ping(value)] if alone else [body + sm.ping(value)]
        sent = all(to.send_payload(frame) if hasattr(to, "send_payload") else to.send(frame) for frame in frames)
        return value if sent else None
