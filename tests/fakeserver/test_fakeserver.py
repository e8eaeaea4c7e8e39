#!/usr/bin/env python3
"""Checks of the fake server, driven by a client written here with plain sockets."""

import json
import os
import signal
import socket
import struct
import subprocess
import sys
import unittest
import urllib.error
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import fakeserver as fs  # noqa: E402
import server_messages  # noqa: E402

STAMP = 1500000000


class Client:
    """A bare client: sends frames, reads answers with a time limit."""

    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=5)
        self.frames = fs.FrameReader()
        self.pending = []

    def send(self, payload):
        self.sock.sendall(fs.frame(payload))

    def receive(self):
        """The next frame's payload, or None when the server closed."""
        while not self.pending:
            data = self.sock.recv(65536)
            if not data:
                return None
            self.pending += self.frames.feed(data)
        return self.pending.pop(0)

    def close(self):
        self.sock.close()


def enter_game(test, behaviours, character="Brenna"):
    """A fake server with the behaviours and a bare client in its game as the
    character; both go at the end of the test."""
    server = fs.FakeServer(gfx_stamp=STAMP, behaviours=behaviours).start()
    test.addCleanup(server.stop)
    game = Client(server.game_port)
    test.addCleanup(game.close)
    game.send(fs.game_login_request("demo", "demo", character, 1))
    test.assertEqual(game.receive()[0], 0x03)
    return server, game


def read_character_list(payload):
    r = fs.Reader(payload)
    assert r.u8() == fs.SERVER_CHARACTER_LIST
    premium = r.u32()
    rows = []
    for _ in range(r.u8()):
        row = {"name": r.string(), "second": r.string(), "host": r.string(), "port": r.u16(),
               "outfit": tuple([r.u16() for _ in range(3)] + [r.u8() for _ in range(6)]),
               "fourth": r.string(), "level": r.u16()}
        rows.append(row)
    assert r.remaining() == 0
    return premium, rows


class FakeServerTest(unittest.TestCase):
    def setUp(self):
        self.server = fs.FakeServer(gfx_stamp=STAMP, premium_end=1234567).start()
        self.addCleanup(self.server.stop)

    def login(self, account="demo", password="demo"):
        client = Client(self.server.login_port)
        self.addCleanup(client.close)
        client.send(fs.login_request(account, password, STAMP))
        return client

    def test_a_good_login_gets_the_two_characters_of_the_game_server(self):
        client = self.login()
        premium, rows = read_character_list(client.receive())
        self.assertEqual(premium, 1234567)
        self.assertEqual([row["name"] for row in rows], [b"Aldric", b"Brenna"])
        for row in rows:
            self.assertEqual(row["host"], b"127.0.0.1")
            self.assertEqual(row["port"], self.server.game_port)
        self.assertEqual(rows[0]["outfit"], (10, 0, 0, 0, 0, 1, 12, 34, 56))
        self.assertEqual(rows[0]["level"], 42)
        login = self.server.requests_of(fs.CLIENT_LOGIN)
        self.assertEqual(len(login), 1)
        self.assertTrue(login[0].accepted)
        self.assertEqual(login[0].fields["tag"], b"kov847")
        self.assertEqual(self.server.failures, [])

    def test_the_login_request_is_checked_byte_for_byte(self):
        good = fs.login_request("demo", "demo", STAMP)
        cases = {
            "protocol version": fs.login_request("demo", "demo", STAMP, version=572),
            "login tag": fs.login_request("demo", "demo", STAMP, tag=b"kov848"),
            "graphics stamp": fs.login_request("demo", "demo", STAMP + 1),
            "reserved word": fs.login_request("demo", "demo", STAMP, reserved=1),
            "a byte too many": good + b"\x00",
            "a field cut short": good[:-2],
        }
        for name, payload in cases.items():
            with self.subTest(name):
                before = len(self.server.failures)
                client = Client(self.server.login_port)
                self.addCleanup(client.close)
                client.send(payload)
                answer = fs.Reader(client.receive())
                self.assertEqual(answer.u8(), fs.SERVER_NEW_VERSION)
                self.assertNotEqual(answer.string(), fs.NEW_VERSION_TEXT)
                self.assertEqual(len(self.server.failures), before + 1)

    def test_a_wrong_password_is_refused_with_a_text(self):
        client = self.login(password="wrong")
        answer = fs.Reader(client.receive())
        self.assertEqual(answer.u8(), fs.SERVER_NEW_VERSION)
        self.assertEqual(answer.string(), fs.WRONG_ACCOUNT_TEXT)
        self.assertFalse(self.server.requests_of(fs.CLIENT_LOGIN)[0].accepted)
        self.assertEqual(self.server.failures, [])

    def test_the_game_login_enters_the_game_and_takes_commands(self):
        game = Client(self.server.game_port)
        self.addCleanup(game.close)
        game.send(fs.game_login_request("demo", "demo", "Brenna", 77))
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.u32(), r.u32(), r.u8(), r.u32()), (0x03, 0x10000001, 0x10000001, 0, 1))
        self.assertEqual(self.server.requests_of(fs.CLIENT_GAME_LOGIN)[0].fields["items_version"], 77)

        self.assertTrue(self.server.send_ping(0xBEEF))
        self.assertEqual(game.receive(), b"\x19\xef\xbe")
        game.send(b"\x19\xef\xbe")
        self.assertTrue(self.server.wait_for(lambda: self.server.requests_of(fs.CLIENT_PONG)))
        self.assertEqual(self.server.requests_of(fs.CLIENT_PONG)[0].fields["value"], 0xBEEF)

        self.server.send_bad_opcode(0x41)
        self.assertEqual(game.receive()[0], 0x41)
        self.server.send_disconnect()
        self.assertEqual(game.receive(), b"\x16")
        self.server.drop()
        self.assertIsNone(game.receive())
        self.assertEqual(self.server.failures, [])

    def test_a_game_login_for_an_unknown_character_is_a_failure(self):
        game = Client(self.server.game_port)
        self.addCleanup(game.close)
        game.send(fs.game_login_request("demo", "demo", "Nobody", 0))
        self.assertIsNone(game.receive())
        self.assertEqual(len(self.server.failures), 1)

    def test_logout_closes_the_game_connection(self):
        game = Client(self.server.game_port)
        self.addCleanup(game.close)
        game.send(fs.game_login_request("demo", "demo", "Aldric", 0))
        game.receive()
        game.send(b"\x13")
        self.assertIsNone(game.receive())
        self.assertEqual(len(self.server.requests_of(fs.CLIENT_LOGOUT, "game")), 1)


class LoginAnswerTest(unittest.TestCase):
    def answer(self, mode, account="demo", password="demo", **options):
        with fs.FakeServer(gfx_stamp=STAMP, login_answer=mode, **options) as server:
            client = Client(server.login_port)
            client.send(fs.login_request(account, password, STAMP))
            payload = client.receive()
            client.close()
            return payload

    def test_each_scripted_answer(self):
        self.assertEqual(self.answer("new-version", answer_version=480),
                         fs.new_version(fs.NEW_VERSION_TEXT, 480))
        self.assertEqual(self.answer("error", answer_text="Server is closed."),
                         fs.new_version(b"Server is closed.", 1))
        self.assertEqual(self.answer("bad-opcode")[0], 0x41)
        self.assertIsNone(self.answer("close"))

    def test_the_update_account_is_told_of_a_new_version_and_the_demo_account_is_not(self):
        update = dict(update_account=("update", "secret"), answer_version=7)
        self.assertEqual(self.answer("characters", "update", "secret", **update),
                         fs.new_version(fs.NEW_VERSION_TEXT, 7))
        self.assertEqual(self.answer("characters", "update", "wrong", **update),
                         fs.new_version(fs.WRONG_ACCOUNT_TEXT, 0))
        self.assertEqual(self.answer("characters", **update)[0], fs.SERVER_CHARACTER_LIST)


class WireTest(unittest.TestCase):
    def test_frames_are_cut_however_the_stream_is_split(self):
        stream = fs.frame(b"\x01\x02") + fs.frame(b"") + fs.frame(b"\x03")
        for size in (1, 2, 3, len(stream)):
            with self.subTest(chunk=size):
                reader = fs.FrameReader()
                payloads = []
                for at in range(0, len(stream), size):
                    payloads += reader.feed(stream[at:at + size])
                self.assertEqual(payloads, [b"\x01\x02", b"", b"\x03"])

    def test_the_login_request_layout(self):
        self.assertEqual(fs.login_request("ab", "c", 0x01020304),
                         b"\x01" + struct.pack("<H", 573) + b"\x02\x00ab" + b"\x01\x00c" + b"\x06\x00kov847"
                         + b"\x04\x03\x02\x01" + b"\x00\x00\x00\x00")


class RequestDecoderTest(unittest.TestCase):
    """The strict decoder, on frames written here by hand from the protocol's
    byte examples."""

    def decoded(self, payload):
        request = fs.decode_request(payload)
        return request.name, request.fields

    def test_hand_written_frames(self):
        cases = [
            (b"\x1a" + struct.pack("<IIH", 300, 400, 28) + b"\x02\x01\x02",
             "walk path", {"x_times_3": 300, "y_times_2": 400, "floor_times_4": 28, "steps": [1, 2]}),
            (b"\x1a" + b"\x00" * 10 + b"\x00",
             "walk path", {"x_times_3": 0, "y_times_2": 0, "floor_times_4": 0, "steps": []}),
            (b"\x1f\x01", "trade command", {"sub": 1}),
            (b"\x1f\x04\x05\x00", "trade command", {"sub": 4, "slot": 5}),
            (b"\x25\x0a\x00\x14\x00\x07" + b"\x00" + b"\x01\x03\x00Ann\x02",
             "house save", {"x": 10, "y": 20, "z": 7, "invites": [],
                            "permissions": [{"name": b"Ann", "level": 2}]}),
            (b"\x03\x05\x00Trade\x02\x00hi", "chat message", {"channel": b"Trade", "text": b"hi"}),
            (b"\x04", "step down", {}),
            (b"\x0b", "step down-right", {}),
            (b"\x0d\x03", "turn", {"direction": 3}),
            (b"\x0f\x01\x00\x02\x00\x07\x02" + struct.pack("<I", 99),
             "use at", {"x": 1, "y": 2, "z": 7, "container": 2, "action": 99}),
            (b"\x2c" + struct.pack("<IIfB", 7, 5, 1.5, 1),
             "market create offer", {"item": 7, "amount": 5, "price": 1.5, "side": 1}),
            (b"\x38\x07\x01\x00X" + struct.pack("<IIB", 3, 100, 1),
             "guild command 7", {"sub": 7, "guild": b"X", "days": 3, "fee": 100, "loyalty": 1}),
            (b"\x38\x0c" + struct.pack("<IB", 9, 255), "guild command 12", {"sub": 12, "rank": 9, "step": 255}),
            (b"\x39\x01\x02\x10\x00", "brew command 1", {"sub": 1, "size": 2, "amount": 16}),
            (b"\x39\x03", "brew command 3", {"sub": 3}),
            (b"\x4a\x04", "op 4a", {"container": 4}),
            (b"\x13", "logout", {}),
        ]
        for payload, name, fields in cases:
            with self.subTest(name, payload=payload.hex()):
                self.assertEqual(self.decoded(payload), (name, fields))

    def test_every_client_opcode_has_a_row_and_no_other(self):
        self.assertEqual(sorted(fs.REQUESTS), list(range(0x01, 0x3B)) + [0x4A])
        self.assertEqual(sorted(fs.FAMILIES[0x38]), list(range(1, 13)))
        self.assertEqual(sorted(fs.FAMILIES[0x39]), [1, 2, 3])

    def test_malformed_frames_are_refused(self):
        cases = {
            "a byte too many": b"\x19\x05\x00\x00",
            "a field cut short": b"\x19\x05",
            "a string count past the end": b"\x20\x05\x00abc",
            "a step count past the end": b"\x1a" + b"\x00" * 10 + b"\x03\x01\x02",
            "steps behind the count": b"\x1a" + b"\x00" * 10 + b"\x01\x01\x02",
            "a direction code 0": b"\x1a" + b"\x00" * 10 + b"\x01\x00",
            "a direction code 9": b"\x0d\x09",
            "a list count past the end": b"\x25\x00\x00\x00\x00\x00\x02\x01\x00a\x00\x00",
            "a container index 20": b"\x0f\x00\x00\x00\x00\x00\x14\x00\x00\x00\x00",
            "a trade slot behind sub-command 1": b"\x1f\x01\x05\x00",
            "no trade slot behind sub-command 4": b"\x1f\x04",
            "opcode 0x00": b"\x00",
            "opcode 0x3b": b"\x3b",
            "opcode 0x49": b"\x49\x00",
            "opcode 0x4b": b"\x4b",
            "guild sub-command 0": b"\x38\x00",
            "guild sub-command 13": b"\x38\x0d",
            "brewing sub-command 4": b"\x39\x04",
            "a family without its sub-command": b"\x39",
            "an empty frame": b"",
            "two requests in one frame": b"\x13\x13",
        }
        for name, payload in cases.items():
            with self.subTest(name):
                with self.assertRaises(fs.DecodeError):
                    fs.decode_request(payload)

    def test_a_stream_of_frames_gives_one_json_line_each(self):
        stream = (fs.frame(b"\x19\x05\x00") + fs.frame(b"\x03\x01\x00\xe9\x00\x00") + fs.frame(b"\x7f")
                  + fs.frame(b"\x13")[:1])
        lines = [json.loads(line) for line in fs.decode_stream(stream)]
        self.assertEqual(lines[0], {"request": "pong", "opcode": 0x19, "value": 5, "raw": "190500"})
        self.assertEqual(lines[1]["channel"], "\u00e9")
        self.assertEqual(lines[1]["text"], "")
        self.assertIn("unknown opcode", lines[2]["error"])
        self.assertIn("error", lines[3])
        self.assertEqual(len(lines), 4)

    def test_the_command_line_decodes_a_file(self):
        path = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"requests-{os.getpid()}.bin")
        self.addCleanup(lambda: os.path.exists(path) and os.remove(path))
        with open(path, "wb") as f:
            f.write(fs.frame(b"\x2a") + fs.frame(b"\x36\x01\x00\x00\x00"))
        out = subprocess.run([sys.executable, "-B", os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                                 "client_requests.py"), "decode", path],
                             capture_output=True, text=True, check=True).stdout.splitlines()
        self.assertEqual([json.loads(line)["request"] for line in out], ["market open", "house buy item"])

    def test_a_malformed_request_is_a_failure_of_the_server(self):
        with fs.FakeServer(gfx_stamp=STAMP) as server:
            game = Client(server.game_port)
            game.send(fs.game_login_request("demo", "demo", "Aldric", 0))
            game.receive()
            game.send(b"\x19\x05\x00\x00")
            game.send(b"\x19\x06\x00")
            self.assertTrue(server.wait_for(lambda: server.requests_of(fs.CLIENT_PONG)))
            game.close()
            self.assertEqual(len(server.failures), 1)
            self.assertIn("1 bytes too many", server.failures[0])
            self.assertEqual([r.fields["value"] for r in server.requests_of(fs.CLIENT_PONG)], [6])


class ServerMessagesTest(unittest.TestCase):
    def test_conditional_fields_and_u32_counts(self):
        self.assertEqual(fs.build("brewing", active=0), b"\x3d\x00")
        self.assertEqual(fs.build("brewing", active=1, potion_size=2, amount=0x0102, heat=9,
                                  ingredients=[dict(item_id=5, amount=6)]),
                         b"\x3d\x01\x02\x02\x01\x09\x01\x05\x00\x06\x00")
        self.assertEqual(fs.build("market_offers", full=0, offers=[]), b"\x2f\x00" + b"\x00" * 4)
        self.assertEqual(fs.build("market_offers", full=1, balance=7, offers=[]),
                         b"\x2f\x01\x07\x00\x00\x00" + b"\x00" * 4)
        self.assertEqual(fs.build("market_history", records=[dict(time=1, item_name=b"a", player_name=b"",
                                                                 price=0.5, count=2)]),
                         b"\x30\x01\x00\x00\x00" + b"\x01\x00\x00\x00\x01\x00a\x00\x00"
                         + struct.pack("<f", 0.5) + b"\x02\x00\x00\x00")
        with self.assertRaises(ValueError):
            fs.build("no_guild", invites=[dict(guild_id=1, name=b"x")] * 256)

    def test_irregular_messages(self):
        # The three counts of the outfit choices come before the lists.
        self.assertEqual(fs.build("outfit_choices", outfits=[dict(id=1, requirement=2)], hair=[],
                                  beards=[dict(id=3, requirement=4)]),
                         b"\x33\x01\x00\x01" + b"\x01\x00\x00\x00\x02" + b"\x03\x00\x00\x00\x04")
        # An empty name ends fewer than 255 achievements; 255 need no end.
        one = dict(name=b"n", level=1, points=2, progress=3, description=b"")
        self.assertEqual(fs.build("achievements", kind=2, reset=1, points_earned=4, points_possible=5,
                                  entries=[one]),
                         b"\x2a\x02\x00\x01\x04\x00\x00\x00\x05\x00\x00\x00"
                         + b"\x01\x00n\x01\x00\x02\x00\x03\x00\x00" + b"\x00\x00")
        full = fs.build("achievements", kind=2, reset=0, points_earned=0, points_possible=0, entries=[one] * 255)
        self.assertEqual(len(full), 1 + 2 + 1 + 8 + 255 * 10)
        with self.assertRaises(ValueError):
            fs.build("achievements", kind=2, reset=0, points_earned=0, points_possible=0,
                     entries=[dict(one, name=b"")])
        # A quest's line count is its lines' unless a count beyond them is asked for.
        self.assertEqual(fs.build("quest", kind=1, reset=1, name=b"q", progress=7, lines=[dict(text=b"a")]),
                         b"\x2a\x01\x00\x01\x01\x00q\x07\x01\x00\x01\x00a")
        self.assertEqual(fs.build("quest", kind=1, reset=0, name=b"", progress=0, lines=[], line_count=0xFFFF),
                         b"\x2a\x01\x00\x00\x00\x00\x00\xff\xff")

    def test_every_sample_builds_with_its_opcode(self):
        for label, payload in fs.sample_payloads():
            name = label.split(" #")[0]
            with self.subTest(sample=label):
                self.assertIn(name, list(fs.MESSAGES) + list(fs.BUILDERS))
                self.assertEqual(payload[0], server_messages.opcode_of(name))
        self.assertLessEqual(set(fs.VARIANTS), set(fs.SAMPLES))
        # Only variants claim more than they hold, and they say so.
        labels = {label for label, _ in fs.sample_payloads()}
        self.assertLessEqual(fs.frame_ending_labels(), labels)
        self.assertFalse(fs.frame_ending_labels() & set(fs.SAMPLES))


class CommandLineTest(unittest.TestCase):
    def test_it_prints_the_demo_account_and_obeys_commands(self):
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fakeserver.py")
        process = subprocess.Popen([sys.executable, script, "--login-port", "0", "--game-port", "0",
                                    "--gfx-stamp", str(STAMP)],
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        try:
            first = process.stdout.readline()
            self.assertIn("Login server on 127.0.0.1:", first)
            login_port = int(first.split(",")[0].rsplit(":", 1)[1])
            self.assertEqual(process.stdout.readline().split(), ["Demo", "account:", "demo", "password:", "demo"])
            client = Client(login_port)
            client.send(fs.login_request("demo", "demo", STAMP))
            premium, rows = read_character_list(client.receive())
            client.close()
            self.assertGreater(premium, 0)
            self.assertEqual(len(rows), 2)
            process.stdin.write("ping\n")
            process.stdin.write("trade Ana\n")
            process.stdin.write("quit\n")
            process.stdin.flush()
            output = process.communicate(timeout=10)[0]
            self.assertIn("ping: no game connection", output)
            self.assertIn("trade: no game connection", output)
            self.assertEqual(process.returncode, 0)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()

    def test_without_input_it_serves_the_status_page_until_stopped(self):
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fakeserver.py")
        process = subprocess.Popen([sys.executable, script, "--login-port", "0", "--game-port", "0",
                                    "--status-port", "0", "--status-text", "Hello there", "--no-input"],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True)
        try:
            status_line = None
            for line in process.stdout:
                if line.startswith("Status page on "):
                    status_line = line
                    break
            self.assertIsNotNone(status_line)
            url = status_line.split()[-1]
            with urllib.request.urlopen(url, timeout=5) as answer:
                self.assertEqual(answer.read(), b"Hello there")
            self.assertIsNone(process.poll())  # no input, still running
            process.send_signal(signal.SIGTERM)
            process.communicate(timeout=10)
            self.assertEqual(process.returncode, 0)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()


class ChatBehaviourTest(unittest.TestCase):
    def test_lines_are_echoed_public_joins_answered_and_leaves_taken_silently(self):
        import chat
        server, game = enter_game(self, [chat.Chat()])

        def read_line(payload):
            r = fs.Reader(payload)
            return r.u8(), r.string(), r.string(), r.u8(), r.string()

        game.send(fs.encode_request(0x03, channel=b"Trade", text=b"wts sword"))
        self.assertEqual(read_line(game.receive()), (0x04, b"Brenna", b"Trade", 1, b"wts sword"))
        game.send(fs.encode_request(0x15, kind=2, name=b"Help"))
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.u8(), r.string()), (0x0b, 2, b"Help"))
        # A private conversation and a leave get no answer: the next frame is the ping.
        game.send(fs.encode_request(0x15, kind=1, name=b"Ana"))
        game.send(fs.encode_request(0x16, kind=2, name=b"Help"))
        self.assertTrue(server.wait_for(lambda: server.requests_of(0x16)))
        server.send_ping(7)
        self.assertEqual(game.receive(), b"\x19\x07\x00")

        chat.Chat.private(server, b"Ana", b"hi")
        self.assertEqual(read_line(game.receive()), (0x04, b"Ana", b"Ana", 5, b"hi"))
        chat.Chat.paged_text(server)
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.string().count(b"|")), (0x2b, 2))
        self.assertEqual(server.failures, [])


class GuildBehaviourTest(unittest.TestCase):
    """The guild behaviour: invitations while guildless, the guild once joined,
    an answer to every guild request and answers held back on cue."""

    def setUp(self):
        import guild
        self.guild = guild.Guild()
        self.server = fs.FakeServer(gfx_stamp=STAMP, behaviours=[self.guild]).start()
        self.addCleanup(self.server.stop)
        self.game = Client(self.server.game_port)
        self.addCleanup(self.game.close)
        self.game.send(fs.game_login_request("demo", "demo", "Aldric", 1))
        self.assertEqual(self.game.receive()[0], 0x03)

    def command(self, sub, fmt="", *values):
        self.game.send(bytes([0x38, sub]) + struct.pack("<" + fmt, *values))

    @staticmethod
    def string(text):
        return struct.pack("<H", len(text)) + text

    def guild_data(self):
        r = fs.Reader(self.game.receive())
        self.assertEqual(r.u8(), 0x38)
        data = dict(name=r.string(), message=r.string(), level=r.u8())
        data["ranks"] = [(r.u32(), r.u8(), r.u8(), r.string()) for _ in range(r.u8())]
        data["members"] = [(r.u32(), r.u32(), r.string(), r.string()) for _ in range(r.u8())]
        data["wars"] = [(r.u32(), r.string(), r.string(), r.u8(), r.u32()) for _ in range(r.u8())]
        self.assertEqual(r.remaining(), 0)
        return data

    def invites(self):
        r = fs.Reader(self.game.receive())
        self.assertEqual(r.u8(), 0x3a)
        found = [(r.u32(), r.string()) for _ in range(r.u8())]
        self.assertEqual(r.remaining(), 0)
        return found

    def answered(self):
        self.assertEqual(self.game.receive(), b"\x39")

    def test_invitations_joining_and_the_answers(self):
        import guild
        self.game.send(b"\x37")
        self.assertEqual(self.invites(), guild.INVITES)
        self.command(5, "I", 4001)
        data = self.guild_data()
        self.answered()
        self.assertEqual((data["name"], data["level"]), (b"Knights of Velmora", 2))
        self.assertEqual([r[2] for r in data["ranks"]], [2, 0, 1])
        self.assertIn((1001, 12, b"Aldric", b""), data["members"])
        self.assertIn(0, [m[1] for m in data["members"]], "an invited character")
        self.assertTrue(data["wars"][0][2].startswith(b"Not accepted"))
        self.game.send(b"\x37")
        self.assertEqual(self.guild_data(), data)

        # Held: the data comes, the answer waits for the cue.
        self.guild.hold_answers()
        self.game.send(bytes([0x38, 1]) + self.string(b"Meet at noon"))
        self.assertEqual(self.guild_data()["message"], b"Meet at noon")
        self.server.wait_for(lambda: self.guild.pending == 1)
        self.server.send_ping(5)
        self.assertEqual(self.game.receive(), b"\x19\x05\x00")
        self.assertEqual(self.guild.release_answers(), 1)
        self.answered()

        self.command(3, "I", 1003)
        self.assertNotIn(b"Cedric", [m[2] for m in self.guild_data()["members"]])
        self.answered()
        self.game.send(bytes([0x38, 7]) + self.string(b"Rogues") + struct.pack("<IIB", 3, 250, 1))
        self.assertEqual(self.guild_data()["wars"][-1][1:],
                         (b"Knights of Velmora vs Rogues", b"Not accepted (3 days)", 1, 250))
        self.answered()
        self.command(12, "IB", 13, 255)
        orders = {r[0]: r[2] for r in self.guild_data()["ranks"]}
        self.answered()
        self.assertEqual((orders[12], orders[13]), (1, 0), "the officers moved above the leaders")
        self.command(11, "I", 999)  # no such rank: only the answer
        self.answered()
        # Kicking oneself is leaving: the invitations come back.
        self.command(3, "I", 1001)
        self.assertEqual(self.invites(), guild.INVITES)
        self.answered()
        self.assertEqual(self.server.failures, [])
    def test_the_channel_list_is_answered_and_command_lines_are_answered_not_echoed(self):
        import chat
        server = fs.FakeServer(gfx_stamp=STAMP, behaviours=[chat.Chat(player_position=lambda: (130, 125))]).start()
        self.addCleanup(server.stop)
        game = Client(server.game_port)
        self.addCleanup(game.close)
        game.send(fs.game_login_request("demo", "demo", "Brenna", 1))
        self.assertEqual(game.receive()[0], 0x03)

        game.send(fs.encode_request(0x1C))
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.u8(), r.string(), r.string()), (0x1c, 2, b"Trade", b"Help"))
        # The commands are answered, not echoed.
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!tutorial"))
        self.assertEqual(game.receive(), b"\x3c")
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!fight"))
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.u8(), r.u32(), r.u8()), (0x1a, 1, 1104, 0))
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!text"))
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.string().count(b"|")), (0x2b, 2))
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!tip"))
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.u32()), (0x34, 0))
        r.string(), r.string()
        self.assertEqual((r.u16(), r.u16(), r.u8()), (130, 125, 7), "the tip stands where the player does")
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!whisper"))
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.string(), r.string(), r.u8()), (0x04, b"Ana", b"Ana", 5))
        self.assertEqual(server.failures, [])


class StatusPageTest(unittest.TestCase):
    def test_the_page_has_its_text_and_length_and_other_paths_are_missing(self):
        with fs.StatusPage("Double experience this weekend.") as page:
            connection = socket.create_connection(("127.0.0.1", page.port), timeout=5)
            connection.sendall(b"GET /index.php HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                               b"User-Agent: KHyperText Class\r\nConnection: Close\r\n\r\n")
            answer = b""
            while True:
                data = connection.recv(4096)
                if not data:
                    break
                answer += data
            connection.close()
            head, _, body = answer.partition(b"\r\n\r\n")
            self.assertTrue(head.startswith(b"HTTP/1.1 200 "))
            self.assertIn(b"Content-Length: 31", head)
            self.assertEqual(body, b"Double experience this weekend.")
            with self.assertRaises(urllib.error.HTTPError) as missing:
                urllib.request.urlopen(f"http://127.0.0.1:{page.port}/other", timeout=5)
            self.assertEqual(missing.exception.code, 404)
            requests = page.wait_for_requests(2)
            self.assertEqual(requests[0][0], "/index.php")
            self.assertEqual(requests[0][1]["User-Agent"], "KHyperText Class")


class WorldTest(unittest.TestCase):
    """The world behaviour: item records before the game, the whole view,
    strips after steps, refusals and the cues, each burst with a ping."""

    def setUp(self):
        import world
        self.world_module = world
        self.world = world.World()
        self.server = fs.FakeServer(gfx_stamp=STAMP, behaviours=[self.world]).start()
        self.client = Client(self.server.game_port)

    def tearDown(self):
        self.client.sock.close()
        self.server.stop()

    def enter(self, items_version):
        self.client.send(fs.game_login_request(fs.DEMO_ACCOUNT, fs.DEMO_PASSWORD, "Aldric", items_version))
        first = self.client.receive()
        if items_version < self.world_module.ITEMS_VERSION:
            self.assertEqual(first[0], 0x31)
            first = self.client.receive()
        self.assertEqual(first[0], 0x03)
        self.assertEqual(struct.unpack("<I", first[10:14])[0], self.world_module.ITEMS_VERSION)
        view = self.client.receive()
        self.assertEqual(view[:9], bytes([0x05, 20, 16]) + struct.pack("<HHBB", 111, 113, 7, 0))
        self.assertEqual(view[-3:], fs.ping(self.world.pings[-1]))
        return view

    def test_steps_strips_and_refusals(self):
        self.enter(0)
        self.client.send(bytes([0x05]))  # left: free
        strip = self.client.receive()
        self.assertEqual(strip[:9], bytes([0x09, 1, 16]) + struct.pack("<HHBB", 119 - 9, 120 - 7, 7, 0))
        self.client.send(bytes([0x05]))  # left again: scripted refusal
        refused = self.client.receive()
        self.assertEqual(refused[0], 0x0A)
        self.assertIn(b"Sorry, not possible.", refused)
        self.client.send(bytes([0x07]))  # right to (120, 120), then into the wall
        self.assertEqual(self.client.receive()[0], 0x09)
        self.client.send(bytes([0x07]))
        self.assertEqual(self.client.receive()[0], 0x0A)
        self.assertEqual(self.server.failures, [])
        self.assertEqual(self.world.player, [120, 120])
        self.assertEqual([s[2] for s in self.world.steps], [True, False, True, False])

    def test_cues_end_with_a_ping(self):
        self.enter(self.world_module.ITEMS_VERSION)
        for cue in (lambda: self.world.npc_step(2), lambda: self.world.appear(118, 118), self.world.vanish,
                    lambda: self.world.tile_update(116, 116, [100, (110, 7)]), self.world.send_records):
            value = cue()
            payload = self.client.receive()
            self.assertEqual(payload[-3:], fs.ping(value))


class PrivilegeTest(unittest.TestCase):
    """The player's creature carries the privilege byte of a staff character:
    the world's own (privilege=3) or the character's (the demo's Brenna)."""

    def test_the_privilege_byte_follows_the_world_or_the_character(self):
        import world
        cases = [("Aldric", None, None), ("Brenna", None, 3), ("Aldric", 3, 3)]
        for character, privilege, expected in cases:
            with self.subTest(character=character, privilege=privilege):
                behaviour = world.World(privilege=privilege)
                server = fs.FakeServer(gfx_stamp=STAMP, behaviours=[behaviour]).start()
                self.addCleanup(server.stop)
                client = Client(server.game_port)
                self.addCleanup(client.close)
                client.send(fs.game_login_request(fs.DEMO_ACCOUNT, fs.DEMO_PASSWORD, character,
                                                  world.ITEMS_VERSION))
                self.assertEqual(client.receive()[0], 0x03)
                view = client.receive()
                player = dict(flags=0, id=0x10000001, name=character.encode(), health=100, direction=behaviour.facing,
                              speed=world.PLAYER_SPEED, light=6, outfit=world.PLAYER_OUTFIT)
                if expected is not None:
                    player.update(flags=0x01, privilege=expected)
                record = server_messages.creature_record(fs.Writer(), player).bytes()
                self.assertIn(record, view)


class StaffBehaviourTest(unittest.TestCase):
    """Lookups answered by name, unban and banish changing the answer, the
    online list on request and on cue, and the chat line that opens the ban
    dialog."""

    def test_lookups_bans_and_the_online_list(self):
        import staff
        server, game = enter_game(self, [staff.Staff()])

        def lookup(name):
            game.send(fs.encode_request(0x1D, name=name))
            r = fs.Reader(game.receive())
            return r.u8(), r.string(), r.string(), r.string(), r.u8()

        self.assertEqual(lookup(b"Evil"), (0x1E, staff.BANNED_COMMENT, b"14", b"Evil: banned for 14 days", 1))
        self.assertEqual(lookup(b"Ana"), (0x1E, b"", b"", b"Ana: no ban on record", 0))
        self.assertEqual(lookup(b"")[3:], (b"No name given", 0))
        game.send(fs.encode_request(0x24, name=b"Evil"))
        self.assertEqual(lookup(b"Evil")[4], 0)
        # A warning bans nobody; a ban does.
        game.send(fs.encode_request(0x1E, name=b"Ana", days=3, comments=b"spam", flag=1, text=b"2"))
        self.assertEqual(lookup(b"Ana")[4], 0)
        game.send(fs.encode_request(0x1E, name=b"Ana", days=3, comments=b"spam", flag=0, text=b"2"))
        self.assertEqual(lookup(b"Ana"), (0x1E, b"spam", b"3", b"Ana: banned for 3 days", 1))

        def online_list(payload):
            r = fs.Reader(payload)
            head = (r.u8(), r.u8())
            return head, [(r.string(), r.u16(), r.u32(), r.u32()) for _ in range(r.u16())]

        game.send(fs.encode_request(0x3A))
        self.assertEqual(online_list(game.receive()), ((0x40, 1), staff.PLAYERS))
        staff.Staff.more_players(server)
        self.assertEqual(online_list(game.receive()), ((0x40, 0), staff.MORE_PLAYERS))
        staff.Staff.ban_dialog(server)
        self.assertEqual(game.receive(), bytes([0x1F]))
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!b"))
        self.assertEqual(game.receive(), bytes([0x1F]))
        self.assertEqual(server.failures, [])


class ActionWorldTest(unittest.TestCase):
    """The answers to the player's actions (actions.py): the login burst's
    buffs, statistics and end of login data, walking a path with its stops
    and interruptions, targets, look, move, use and spells."""

    def setUp(self):
        import actions
        self.actions = actions
        self.world = actions.ActionWorld(step_seconds=0.02)
        self.server = fs.FakeServer(gfx_stamp=STAMP, behaviours=[self.world]).start()
        self.addCleanup(self.server.stop)
        self.client = Client(self.server.game_port)
        self.addCleanup(self.client.close)
        self.client.send(fs.game_login_request(fs.DEMO_ACCOUNT, fs.DEMO_PASSWORD, "Aldric", 99))
        self.assertEqual(self.client.receive()[0], 0x31)
        self.assertEqual(self.client.receive()[0], 0x03)
        self.assertEqual(self.client.receive()[0], 0x05)
        self.burst = [self.client.receive() for _ in range(4)]

    def request(self, opcode, **fields):
        self.client.send(fs.encode_request(opcode, **fields))

    def until_ping(self):
        """The payloads up to the next ping frame, that one included."""
        frames = []
        while True:
            frames.append(self.client.receive())
            if len(frames[-1]) == 3 and frames[-1][0] == fs.SERVER_PING:
                return frames

    def walk(self, steps, x=0, y=0):
        self.request(0x1A, x_times_3=x * 3, y_times_2=y * 2, floor_times_4=28, steps=steps)

    def test_the_login_burst_ends_with_buffs_statistics_and_the_end_of_login_data(self):
        conditions, stats, end, ping = self.burst
        r = fs.Reader(conditions)
        self.assertEqual((r.u8(), r.u8(), r.u32(), r.u8()), (0x1a, 1, 3, 1))
        self.assertEqual((r.string(), r.u32(), r.u32(), r.u8(), r.remaining()), (b"Haste", 0, 20, 1, 0))
        self.assertEqual((stats[0], len(stats)), (0x14, 76))
        r = fs.Reader(stats)
        r.u8()
        self.assertEqual([r.u16() for _ in range(5)], [180, 200, 90, 120, 42])
        self.assertEqual((r.u64(), r.u8()), (2601850, 50))
        self.assertEqual(end, b"\x37")
        self.assertEqual(ping, fs.ping(self.world.pings[-1]))

    def test_a_path_is_walked_step_by_step_and_an_empty_one_stops_it(self):
        self.walk([3, 3, 4], 121, 118)
        for direction in (3, 3, 4):
            frame = fs.Reader(self.client.receive())
            self.assertEqual((frame.u8(), frame.u32(), frame.u8(), frame.u8()),
                             (0x08, self.actions.PLAYER_ID, direction, 0x09))
        self.assertEqual(self.world.player, [121, 118])

        self.world.step_seconds = 0.5
        self.walk([3, 3, 3], 121, 115)
        self.walk([])
        self.assertTrue(self.server.wait_for(lambda: self.world.walk_stops == 1))
        self.server.send_ping(0x77)
        self.assertEqual(self.client.receive(), fs.ping(0x77))
        self.assertEqual(self.world.player, [121, 118])
        self.assertEqual(self.server.failures, [])

    def test_a_blocked_walk_is_resumed_and_a_path_blocked_at_once_is_refused(self):
        self.world.block_walk(1)
        self.walk([3, 3, 3], 120, 117)
        self.assertEqual(self.client.receive()[0], 0x08)
        blocked = self.client.receive()
        r = fs.Reader(blocked)
        self.assertEqual((r.u8(), r.u16(), r.u16(), r.u8()), (0x06, 120, 118, 7))
        self.assertEqual(blocked[-4:], bytes([0x2e]) + fs.ping(self.world.blocked_pings[0]))
        self.assertEqual(self.world.interruptions, [(120, 119)])
        # The same path again from where the player stands runs into the visitor at once.
        self.walk([3, 3], 120, 117)
        self.assertEqual(self.client.receive()[0], 0x0a)
        # A wall ahead after a step ends the walk with 0x2e too: (121, 120) is a wall.
        self.walk([1, 4], 121, 120)
        self.assertEqual(self.client.receive()[0], 0x08)
        self.assertEqual(self.client.receive()[0], 0x2e)
        self.assertEqual(self.world.interruptions, [(120, 119), (120, 120)])

    def test_targets_are_echoed_with_1_keeping_a_target(self):
        npc = self.actions.NPC_ID
        cases = [((npc, 1), (npc, 0)), ((1, npc), (npc, npc)), ((0, 1), (0, npc)), ((0, 0), (0, 0))]
        for sent, echoed in cases:
            with self.subTest(sent=sent):
                self.request(0x12, attack=sent[0], follow=sent[1])
                r = fs.Reader(self.client.receive())
                self.assertEqual((r.u8(), r.u32(), r.u32()), (0x12,) + echoed)

    def status_text(self):
        r = fs.Reader(self.client.receive())
        self.assertEqual(r.u8(), 0x0f)
        return r.string()

    def tile(self, payload):
        """(x, y, items top first) of a tile update; counts only for coins."""
        r = fs.Reader(payload)
        self.assertEqual(r.u8(), 0x2c)
        x, y, _ = r.u16(), r.u16(), r.u8()
        items = []
        while True:
            item = r.u16()
            if item == 0xFFFF:
                return (x, y, items), r
            items.append((item, r.u8()) if item == 110 else (item,))

    def test_look_move_and_use(self):
        sx, sy = self.actions.STACK_AT
        self.request(0x11, x=sx, y=sy, z=7)
        self.assertEqual(self.status_text(), b"You see 5 gold coins.")

        def move(count, to=(sx - 1, sy)):
            self.request(0x0E, from_x=sx, from_y=sy, from_z=7, to_x=to[0], to_y=to[1], to_z=7, count=count)
            frame = self.client.receive()
            source, rest = self.tile(frame)
            target, rest = self.tile(rest.rest())
            return source, target

        self.assertEqual(move(1), ((sx, sy, [(110, 4), (100,)]), (sx - 1, sy, [(110, 1), (100,)])))
        self.assertEqual(move(5), ((sx, sy, [(100,)]), (sx - 1, sy, [(110, 5), (100,)])))
        self.request(0x0E, from_x=sx, from_y=sy, from_z=7, to_x=sx - 1, to_y=sy, to_z=7, count=1)
        self.assertEqual(self.status_text(), b"You cannot move this.")

        ux, uy = self.actions.USABLE_AT
        self.request(0x0F, x=ux, y=uy, z=7, container=2, action=self.actions.CHEST)
        r = fs.Reader(self.client.receive())
        self.assertEqual((r.u8(), r.u8(), r.u32(), r.string()), (0x0d, 2, self.actions.CHEST, b"chest"))
        self.assertEqual(self.client.receive()[0], fs.SERVER_PING)
        self.request(0x0F, x=ux, y=uy, z=7, container=0, action=self.actions.LEVER)
        self.assertEqual(self.status_text(), b"You pull the lever.")
        self.request(0x0F, x=0, y=0, z=0, container=0, action=self.actions.CHEST)
        self.assertEqual(self.status_text(), b"You use a chest.")
        # A container slot's use is left to the side windows' behaviour: no answer here.
        self.request(0x0F, x=65534, y=0, z=1, container=1, action=0)
        self.assertTrue(self.server.wait_for(lambda: len(self.server.requests_of(0x0F)) == 4))
        self.server.send_ping(0x78)
        self.assertEqual(self.client.receive(), fs.ping(0x78))
        self.assertEqual(self.server.failures, [])

    def test_the_action_list_and_casting(self):
        self.request(0x22)
        r = fs.Reader(self.client.receive())
        self.assertEqual((r.u8(), r.u8()), (0x26, len(self.actions.SPELLS)))
        self.assertEqual((r.string(), r.u16(), r.u16()), (b"Light Healing", 1418, 20))
        self.assertEqual(self.client.receive()[0], fs.SERVER_PING)
        self.request(0x23, spell=1418, target=b"")
        shade, cooldown, ping = self.until_ping()
        self.assertEqual((shade, cooldown), (b"\x27" + struct.pack("<IB", 1418, 10),
                                             b"\x35" + struct.pack("<II", 1418, 30)))
        self.request(0x23, spell=77, target=b"Ana")
        self.assertEqual(self.status_text(), b"You do not know this spell.")
        self.assertEqual(self.world.casts, [(1418, b""), (77, b"Ana")])


class SideWindowsBehaviourTest(unittest.TestCase):
    """The side windows' behaviour: the login burst, containers that stay open
    across a logout, and the answers to friends and party requests."""

    def setUp(self):
        import sidewindows
        self.side = sidewindows.SideWindows()
        self.server = fs.FakeServer(gfx_stamp=STAMP, behaviours=[self.side]).start()
        self.addCleanup(self.server.stop)

    def enter(self):
        game = Client(self.server.game_port)
        self.addCleanup(game.close)
        game.send(fs.game_login_request("demo", "demo", "Aldric", 1))
        self.assertEqual(game.receive()[0], 0x03)
        burst = []
        while not burst or burst[-1][0] != 0x37:
            burst.append(game.receive())
        return game, burst

    def test_the_burst_reopens_what_was_open_and_requests_are_answered(self):
        game, burst = self.enter()
        self.assertEqual([p[0] for p in burst], [0x0c, 0x14, 0x1a, 0x18, 0x1b, 0x37])
        self.assertEqual(len(burst[0]), 1 + 39)
        self.assertEqual(len(burst[1]), 1 + 75)
        # Using the backpack's position opens container 0; the pouch is used and closed again.
        game.send(fs.encode_request(0x0F, x=119, y=119, z=7, container=0, action=0))
        opened = fs.Reader(game.receive())
        self.assertEqual((opened.u8(), opened.u8(), opened.u32(), opened.string()), (0x0d, 0, 2853, b"Backpack"))
        game.send(fs.encode_request(0x0F, x=122, y=121, z=7, container=0, action=0))
        self.assertEqual(game.receive()[:2], b"\x0d\x01")
        game.send(fs.encode_request(0x10, container=1))
        game.send(fs.encode_request(0x17, name=b"Zed", list=0))
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.u16(), r.u8(), r.string(), r.u8(), r.u8()), (0x18, 1, 0, b"Zed", 1, 0))
        game.send(fs.encode_request(0x1B, name=b"Aldric", action=1))
        self.assertEqual(game.receive(), b"\x1b\x00")
        game.send(fs.encode_request(0x13))
        self.assertIsNone(game.receive())

        _, burst = self.enter()
        self.assertEqual([p[0] for p in burst], [0x0c, 0x14, 0x1a, 0x18, 0x1b, 0x0d, 0x37])
        self.assertEqual(burst[5][1], 0)
        self.assertEqual(burst[4], b"\x1b\x00", "the party was left")
        self.assertEqual(self.server.failures, [])


class TradeBehaviourTest(unittest.TestCase):
    """The player trade's behaviour: its cues, a drop into the own offer, the
    trade commands and the chat line that starts a trade."""

    def setUp(self):
        import sidewindows
        import trade
        self.trade = trade.Trade()
        self.server = fs.FakeServer(gfx_stamp=STAMP, behaviours=[self.trade, sidewindows.SideWindows()]).start()
        self.addCleanup(self.server.stop)
        self.game = Client(self.server.game_port)
        self.addCleanup(self.game.close)
        self.game.send(fs.game_login_request("demo", "demo", "Aldric", 1))
        self.assertEqual(self.game.receive()[0], 0x03)
        while self.game.receive()[0] != 0x37:
            pass

    def messages(self):
        """The next frame as (opcode, fields) pairs, read as the client reads them."""
        r = fs.Reader(self.game.receive())
        out = []
        while r.remaining():
            op = r.u8()
            if op == 0x20:
                out.append((op, r.string()))
            elif op == 0x21:
                state = (r.u8(), r.u8(), r.u8())
                lists = []
                for _ in range(2):
                    items = []
                    while r.remaining():
                        item = r.u16()
                        if item == 0xFFFF:
                            break
                        items.append((item, r.u8(), r.u8()))
                    lists.append(items)
                out.append((op, state, lists[0], lists[1]))
            elif op == 0x19:
                out.append((op, r.u16()))
            else:
                out.append((op,))
        return out

    def test_cues_and_answers(self):
        import trade
        partner = [(trade.COINS, 30, 1), (trade.COINS, 12, 1)]
        ping = self.trade.start(self.server, b"Bob", with_items=True)
        self.assertEqual(self.messages(), [(0x20, b"Bob"), (0x21, (0, 0, 0), [], partner), (0x19, ping)])
        # The backpack's flower dropped on the own offer.
        self.game.send(fs.encode_request(0x0E, from_x=65534, from_y=0, from_z=2, to_x=65535, to_y=65534, to_z=255,
                                         count=1))
        flower = (trade.FLOWER, 1, 0)
        self.assertEqual(self.messages()[0], (0x21, (0, 0, 0), [flower], partner))
        for command, state, own in ((2, (1, 1, 0), [flower]), (3, (1, 1, 1), [flower]), (4, (1, 1, 1), [])):
            fields = dict(sub=command, slot=0) if command == 4 else dict(sub=command)
            self.game.send(fs.encode_request(0x1F, **fields))
            self.assertEqual(self.messages()[0], (0x21, state, own, partner), command)
        # Lists that end with the frame: the ping comes in a frame of its own.
        ping = self.trade.update(self.server, end_partner=False)
        self.assertEqual(self.messages(), [(0x21, (1, 1, 1), [], partner)])
        self.assertEqual(self.messages(), [(0x19, ping)])
        self.trade.update(self.server, end_own=False, end_partner=False)
        self.assertEqual(self.messages(), [(0x21, (1, 1, 1), partner, [])], "the partner's items read as own")
        self.messages()
        ping = self.trade.restart(self.server, b"Trader2")
        self.assertEqual(self.messages(), [(0x22,), (0x20, b"Trader2"), (0x19, ping)])
        self.game.send(fs.encode_request(0x1F, sub=1))
        self.assertEqual([m[0] for m in self.messages()], [0x22, 0x19])
        ping = self.trade.end(self.server)
        self.assertEqual(self.messages(), [(0x22,), (0x19, ping)])
        # A chat line starts a trade with a name of the player's choice.
        self.game.send(fs.encode_request(0x03, channel=b"Main", text=b"trade Zed"))
        self.assertEqual([m[:2] for m in self.messages()[:2]], [(0x20, b"Zed"), (0x21, (0, 0, 0))])
        self.assertEqual(self.trade.commands, [(2, None), (3, None), (4, 0), (1, None)])
        self.assertEqual(self.server.failures, [])

    def test_slots_count_a_run_of_one_group_once(self):
        import trade
        self.assertEqual(trade.slots([(1, 1, 0), (1, 1, 3), (1, 1, 3), (1, 1, 0), (1, 1, 5)]), [0, 1, 1, 2, 3])


class ShopBehaviourTest(unittest.TestCase):
    """The merchant's behaviour: its cues, the amount question that answers a
    choice, the answer to an amount and the chat lines that open and end the
    talk."""

    def setUp(self):
        import shop
        self.shop = shop.Shop()
        self.server, self.game = enter_game(self, [self.shop], "Aldric")

    def messages(self):
        """The next frame as (opcode, fields...) tuples, read as the client reads them."""
        r = fs.Reader(self.game.receive())
        out = []
        while r.remaining():
            op = r.u8()
            if op == 0x24:
                out.append((op, [(r.string(), r.u32(), r.u32(), r.u8()) for _ in range(r.u8())]))
            elif op == 0x17:
                out.append((op, r.string(), r.u32(), r.u32(), r.u32(), r.u8()))
            elif op == 0x04:
                out.append((op, r.string(), r.string(), r.u8(), r.string()))
            elif op == 0x19:
                out.append((op, r.u16()))
            else:
                out.append((op,))
        return out

    def test_cues_and_answers(self):
        wares = [(b"flower", 120, 5, 1), (b"torch", 130, 8, 1), (b"torch", 130, 3, 0)]
        ping = self.shop.offers(self.server)
        self.assertEqual(self.messages(), [(0x24, wares), (0x19, ping)])
        ping = self.shop.ask(self.server, b"a torch", 130, 8, 50, True)
        self.assertEqual(self.messages(), [(0x17, b"a torch", 130, 8, 50, 1), (0x19, ping)])
        ping = self.shop.end(self.server)
        self.assertEqual(self.messages(), [(0x25,), (0x19, ping)])
        ping = self.shop.end_and_offer(self.server)
        self.assertEqual(self.messages(), [(0x25,), (0x24, wares), (0x19, ping)])
        ping = self.shop.end_and_ask(self.server, b"a flower", 120, 5, 1, False)
        self.assertEqual(self.messages(), [(0x25,), (0x17, b"a flower", 120, 5, 1, 0), (0x19, ping)])

        # A choice from either list is asked about: with the gold when buying,
        # the pieces carried when selling; an item it does not deal in is not.
        self.game.send(fs.encode_request(0x21, first=130, flag=0))
        self.assertEqual(self.messages()[0], (0x17, b"a torch", 130, 8, 50, 1))
        self.game.send(fs.encode_request(0x21, first=130, flag=1))
        self.assertEqual(self.messages()[0], (0x17, b"a torch", 130, 3, 1, 0))
        self.game.send(fs.encode_request(0x21, first=120, flag=1))
        self.game.send(fs.encode_request(0x14, offer=130, amount=0xFFFFFFFB, buy_or_sell=1))
        self.assertEqual(self.messages()[0], (0x04, b"Server", b"Main", 6, b"You bought -5 of a torch."))
        self.game.send(fs.encode_request(0x35, item=120))
        self.game.send(fs.encode_request(0x03, channel=b"Main", text=b"!shop"))
        self.assertEqual(self.messages()[0], (0x24, wares))
        self.game.send(fs.encode_request(0x03, channel=b"Main", text=b"!bye"))
        self.assertEqual(self.messages()[0], (0x25,))
        self.assertEqual(self.shop.choices, [(130, 0), (130, 1), (120, 1)])
        self.assertEqual(self.shop.trades, [(130, 0xFFFFFFFB, 1)])
        self.assertEqual(self.shop.selects, [120])
        self.assertEqual(self.server.failures, [])


class CharacterBehaviourTest(unittest.TestCase):
    """The character dialogs' behaviour: the spell library, the outfit
    options, talents spent and reset."""

    def test_library_outfits_and_talents(self):
        import character
        import sidewindows
        behaviour = character.Character()
        server = fs.FakeServer(gfx_stamp=STAMP, behaviours=[behaviour]).start()
        self.addCleanup(server.stop)
        game = Client(server.game_port)
        self.addCleanup(game.close)
        game.send(fs.game_login_request("demo", "demo", "Aldric", 1))
        self.assertEqual(game.receive()[0], 0x03)

        game.send(fs.encode_request(0x31))
        library = game.receive()
        r = fs.Reader(library)
        self.assertEqual((r.u8(), r.u16()), (0x32, 1))
        vocations, labels = set(), []
        while True:
            spell = r.u16()
            if spell in (0, 0xFFFF):
                break
            vocations.add(r.u8())
            r.string()
            labels.append(r.string())
            r.u16(), r.u16(), r.string()
        self.assertEqual((spell, vocations), (0xFFFF, {1, 2, 3}))
        self.assertIn(b"unknown being", labels)
        self.assertEqual(r.remaining(), 0)

        game.send(fs.encode_request(0x32))
        r = fs.Reader(game.receive())
        counts = (r.u8(), r.u8(), r.u8(), r.u8())
        self.assertEqual(counts[0], 0x33)
        codes = []
        for _ in range(sum(counts[1:])):
            r.u32()
            codes.append(r.u8())
        self.assertEqual(set(codes), {0, 2, 3, 25})

        def stats():
            r = fs.Reader(game.receive())
            self.assertEqual(r.u8(), 0x14)
            r.take(75 - 16)  # up to the unused points
            return r.u16(), [r.u16() for _ in range(7)]

        base = sidewindows.STATS
        spent = sum(base["talents"])
        game.send(fs.encode_request(0x33, **dict(zip(character.TALENT_NAMES, [4, 0, 0, 0, 0, 0, 0]))))
        self.assertEqual(stats(), (0, [base["talents"][0] + 4] + base["talents"][1:]))
        # More than the unused points: nothing changes.
        game.send(fs.encode_request(0x33, **dict(zip(character.TALENT_NAMES, [1, 0, 0, 0, 0, 0, 0]))))
        self.assertEqual(stats()[0], 0)
        game.send(fs.encode_request(0x34))
        self.assertEqual(stats(), (base["unused_points"] + spent, [0] * 7))
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.string(), r.string(), r.u8(), r.string()),
                         (0x04, b"Server", b"Main", 6, b"Your talent points were reset."))
        game.send(fs.encode_request(0x0C, part0=10, part1=0, part2=0, part3=1, part4=2, part5=3, part6=4, part7=5,
                                    part8=6))
        self.assertTrue(server.wait_for(lambda: behaviour.outfits_saved))
        self.assertEqual(behaviour.outfits_saved, [[10, 0, 0, 1, 2, 3, 4, 5, 6]])


class QuestsBehaviourTest(unittest.TestCase):
    """The quest log, brewing, recipes and the summon list: answers and cues."""

    def test_requests_are_answered_and_cues_send_their_dialogs(self):
        import quests
        import sidewindows
        behaviour = quests.Quests(side_windows=sidewindows.SideWindows())
        server, game = enter_game(self, [behaviour], "Aldric")

        def quest_names(payload):
            """The quests' names and clear flags, then the achievements' names."""
            r, quests_seen, achievements = fs.Reader(payload), [], []
            while r.remaining():
                self.assertEqual(r.u8(), 0x2a)
                kind, clear = r.u16(), r.u8()
                if kind == 1:
                    quests_seen.append((r.string(), clear))
                    r.u8()
                    for _ in range(r.u16()):
                        r.string()
                    continue
                r.u32(), r.u32()
                while True:
                    name = r.string()
                    if not name:
                        break
                    achievements.append(name)
                    r.u16(), r.u16(), r.u8(), r.string()
            return quests_seen, achievements

        # The log in one frame; the second request clears first.
        game.send(fs.encode_request(0x28))
        self.assertEqual(quest_names(game.receive()),
                         ([(b"Rat Problem", 0), (b"The Lost Ring", 0)], [b"First Steps", b"Rat Catcher", b"Explorer"]))
        game.send(fs.encode_request(0x28))
        self.assertEqual(quest_names(game.receive())[0][0], (b"Rat Problem", 1))

        # A brew: begun at heat 20, an ingredient from the backpack at 80, finished.
        self.assertTrue(behaviour.brewing(server))
        self.assertEqual(game.receive(), b"\x3d\x00")
        game.send(b"\x39\x01\x03\x04\x00")
        self.assertEqual(game.receive(), fs.build("brewing", active=1, potion_size=3, amount=4, heat=20,
                                                  ingredients=[]))
        game.send(fs.encode_request(0x0E, from_x=65534, from_y=0, from_z=2, to_x=65535, to_y=65533, to_z=255,
                                    count=1))
        self.assertEqual(game.receive(), fs.build("brewing", active=1, potion_size=3, amount=4, heat=80,
                                                  ingredients=[dict(item_id=sidewindows.FLOWER, amount=1)]))
        game.send(b"\x39\x03")
        self.assertEqual(game.receive()[:2], b"\x3e\x02")
        game.send(b"\x39\x02")
        self.assertEqual(game.receive(), b"\x3d\x00")

        # The summon list on cue and from the chat line; a summon is recorded.
        self.assertTrue(behaviour.summon_list(server))
        self.assertEqual(game.receive()[:2], b"\x2d\x03")
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!summon"))
        self.assertEqual(game.receive()[:2], b"\x2d\x03")
        game.send(fs.encode_request(0x29, name=b"Wolf"))
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!brewing"))
        self.assertEqual(game.receive(), b"\x3d\x00")
        self.assertEqual(behaviour.summons, [b"Wolf"])
        self.assertEqual(server.failures, [])


class HouseBehaviourTest(unittest.TestCase):
    """The houses: the two cues with their pings, a save sent back by the
    next house message, the recorded requests and the chat lines."""

    def test_cues_requests_and_the_saved_lists(self):
        import house
        behaviour = house.House()
        server, game = enter_game(self, [behaviour], "Aldric")

        def house_message(payload):
            r = fs.Reader(payload)
            self.assertEqual(r.u8(), 0x28)
            head = (r.string(), (r.u16(), r.u16(), r.u8()), r.u8(), r.u8())
            invites = [(r.string(), r.u8()) for _ in range(r.u8())]
            permissions = [(r.string(), r.u8()) for _ in range(r.u8())]
            decorations = [(r.u32(), r.string(), r.string()) for _ in range(r.u8())]
            return head, invites, permissions, decorations, r

        ping = behaviour.house(server)
        head, invites, permissions, decorations, rest = house_message(game.receive())
        self.assertEqual(head, (b"Harbour Lane 4", (130, 125, 7), 2, 7))
        self.assertEqual((invites, permissions, [d[0] for d in decorations]),
                         ([(b"Ivo", 0)], [(b"Mira", 2)], [house.FLOWER, house.TORCH]))
        self.assertEqual((rest.u8(), rest.u16(), rest.remaining()), (0x19, ping, 0))

        # Chosen levels, rights above bit 4 and a duplicate name; then a
        # message cut short, its ping in a frame of its own.
        behaviour.house(server, access_level=1, rights=0xF6, invites=[(b"Ann", 0), (b"Ann", 1)])
        head, invites, _, _, _ = house_message(game.receive())
        self.assertEqual((head[2:], invites), ((1, 0xF6), [(b"Ann", 0), (b"Ann", 1)]))
        ping = behaviour.house(server, cut_short=True)
        whole = fs.build("house", name=b"Harbour Lane 4", x=130, y=125, floor=7, access_level=2, grantable_rights=7,
                         invites=[dict(name=b"Ivo", sub_owner=0)], tile_permissions=[dict(name=b"Mira", rights=2)],
                         decoration_items=[dict(item_id=i, name=n, detail=d) for i, n, d in house.DECORATIONS])
        # The same bytes but the decoration count, which claims two more.
        at = len(whole) - sum(8 + len(n) + len(d) for _, n, d in house.DECORATIONS) - 1
        self.assertEqual(game.receive(), whole[:at] + bytes([len(house.DECORATIONS) + 2]) + whole[at + 1:])
        self.assertEqual(game.receive(), fs.ping(ping))

        # A save comes back in the next house message.
        game.send(fs.encode_request(0x25, x=130, y=125, z=7, invites=[dict(name=b"Ivo", role=0),
                                                                       dict(name=b"Ann", role=1)],
                                    permissions=[dict(name=b"Bob", level=2)]))
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!house"))
        _, invites, permissions, _, _ = house_message(game.receive())
        self.assertEqual((invites, permissions), ([(b"Ivo", 0), (b"Ann", 1)], [(b"Bob", 2)]))

        # The auction: three houses with bidders; a count above the houses.
        ping = behaviour.bidding(server)
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.u8(), r.u16()), (0x29, 1, 3))
        houses = [(r.u32(), r.string(), r.string(), r.u32(), r.u32(), r.u32()) for _ in range(3)]
        self.assertEqual([(h[0], h[4]) for h in houses], [(7, 100), (8, 300), (9, 0)])
        self.assertTrue(all(h[2] for h in houses))
        self.assertEqual((r.u8(), r.u16()), (0x19, ping))
        ping = behaviour.bidding(server, can_bid=0, houses=[(1, b"A", b"", 0, 0xFFFFFFFB, 1)], extra=4)
        r = fs.Reader(game.receive())
        self.assertEqual((r.u8(), r.u8(), r.u16()), (0x29, 0, 5))
        self.assertEqual(game.receive(), fs.ping(ping))
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!bidding"))
        self.assertEqual(game.receive()[:4], b"\x29\x01\x03\x00")

        game.send(fs.encode_request(0x26, house=7, amount=5))
        game.send(fs.encode_request(0x30, name=b"Cedric", price=5000))
        game.send(fs.encode_request(0x36, item=house.TORCH))
        game.send(fs.encode_request(0x2F))
        self.assertTrue(server.wait_for(lambda: behaviour.abandons == 1))
        self.assertEqual((behaviour.bids, behaviour.transfers, behaviour.purchases),
                         ([(7, 5)], [(b"Cedric", 5000)], [house.TORCH]))
        self.assertEqual(len(behaviour.saves), 1)


class MarketBehaviourTest(unittest.TestCase):
    """The item market: the opening frame, listings and the recorded requests."""

    def test_cues_answers_and_records(self):
        import market
        behaviour = market.Market()
        server, game = enter_game(self, [behaviour], "Aldric")

        def messages(payload):
            """The opcodes of a frame, the listing's full flag and offers' players, and the ping."""
            r, seen = fs.Reader(payload), []
            while r.remaining():
                op = r.u8()
                if op == 0x36:
                    seen.append((op, [(r.u16(), r.string()) for _ in range(r.u16())]))
                elif op == 0x30:
                    seen.append((op, [(r.u32(), r.string(), r.string(), r.f32(), r.u32())[0] for _ in range(r.u32())]))
                elif op == 0x2F:
                    full = r.u8()
                    if full:
                        r.u32()
                    offers = []
                    for _ in range(r.u32()):
                        name, _, player, item, count, _, sell = (r.string(), r.u8(), r.string(), r.u16(), r.u32(),
                                                                 r.f32(), r.u8())
                        offers.append((player, item, count, sell))
                    seen.append((op, full, offers))
                else:
                    self.assertEqual(op, 0x19)
                    seen.append((op, r.u16()))
            return seen

        # The catalogue (the torch twice), the full listing with the player's
        # own offer, the history over the years behind it, and the ping.
        value = behaviour.open(server)
        names, listing, history, ping = messages(game.receive())
        self.assertEqual([n for _, n in names[1]], [b"flower", b"torch", b"torch", b"gold coin"])
        self.assertEqual(history[1], [1467104700, 1231003800, 1231003800, 1136073540])
        self.assertEqual(listing[:2], (0x2F, 1))
        self.assertIn((b"Aldric", market.TORCH, 1, 1), listing[2])
        self.assertEqual(ping, (0x19, value))
        self.assertIsNotNone(behaviour.listing(server, [market.OFFERS[0]]))
        self.assertEqual(messages(game.receive())[0], (0x2F, 0, [(b"Brenna", market.FLOWER, 5, 1)]))

        # Requests are recorded; an offer made and one withdrawn show at the
        # next full listing, the answer to Refresh.
        game.send(fs.encode_request(0x2B, player=b"Brenna", item=120, amount=3, price=2.5, side=1))
        game.send(fs.encode_request(0x2D, item=120, player=b"Brenna"))
        game.send(fs.encode_request(0x2E, item=market.TORCH, side=1))
        game.send(fs.encode_request(0x2C, item=market.COINS, amount=7, price=1.5, side=0))
        game.send(fs.encode_request(0x2A))
        answer = messages(game.receive())
        self.assertEqual([m[0] for m in answer], [0x2F, 0x30, 0x19])
        own = [o for o in answer[0][2] if o[0] == b"Aldric"]
        self.assertEqual(own, [(b"Aldric", market.COINS, 7, 0)])
        self.assertEqual(behaviour.accepted, [(b"Brenna", 120, 3, 2.5, 1)])
        self.assertEqual(behaviour.queried, [(120, b"Brenna")])
        self.assertEqual(behaviour.withdrawn, [(market.TORCH, 1)])
        self.assertEqual(behaviour.created, [(market.COINS, 7, 1.5, 0)])

        # "!market" in the chat opens it again.
        game.send(fs.encode_request(0x03, channel=b"Main", text=b"!market"))
        self.assertEqual([m[0] for m in messages(game.receive())], [0x36, 0x2F, 0x30, 0x19])
        self.assertEqual(server.failures, [])


class MinimapWorldTest(unittest.TestCase):
    """The minimap's world: every colour of the palette lies on walkable land
    or next to it (walls), all of it reachable on foot from the start."""

    def test_every_colour_is_reachable_by_walking(self):
        import minimapworld as mw
        world = mw.MinimapWorld()
        seen, todo = {mw.START}, [mw.START]
        while todo:
            x, y = todo.pop()
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                at = (x + dx, y + dy)
                if at not in seen and world._free(at):
                    seen.add(at)
                    todo.append(at)
        near = {(x + dx, y + dy) for x, y in seen for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
        colours = {world.colour_at(*at) for at in near}
        self.assertTrue({1, 2, 3, 4, 5, 6} <= colours, colours)
        landmarks = {mw.ROAD_AT: 5, mw.MEADOW_AT: 1, mw.STONE_AT: 6, mw.POND_AT: 2, mw.WALL_AT: 3, mw.DOOR_AT: 4}
        for at, colour in landmarks.items():
            self.assertEqual(world.colour_at(*at), colour, at)
            self.assertIn(at, near)
        self.assertIn(mw.DOOR_AT, seen)  # the door is walked through, not only seen



class HostileBehaviourTest(unittest.TestCase):
    """The hostile server's batches: every opcode in them, the part in step
    made of whole valid samples, the disconnect only now and then and last."""

    def frames_of(self, chunks):
        data = b"".join(c[1] if isinstance(c, tuple) else c for c in chunks)
        return fs.FrameReader().feed(data)

    def test_batches_cover_every_opcode_and_the_steady_part_is_valid(self):
        import hostile
        behaviour = hostile.Hostile(seed=3)
        samples = {payload for _, payload in fs.sample_payloads()}
        for number in range(hostile.DISCONNECT_EVERY):
            steady, rough = behaviour.batch(number, desync=False)
            steady_frames = self.frames_of(steady)
            self.assertTrue(steady_frames)
            for payload in steady_frames:
                self.assertIn(payload, samples)
            opcodes = {p[0] for p in steady_frames + self.frames_of(rough[:-7]) if p}
            wanted = set(range(0x01, 0x41)) - {hostile.DISCONNECT}
            self.assertLessEqual(wanted, opcodes, f"batch {number}")
            last = rough[-1]
            ends = isinstance(last, bytes) and last == fs.frame(bytes([hostile.DISCONNECT]))
            self.assertEqual(ends, number == hostile.DISCONNECT_EVERY - 1, f"batch {number}")
            for chunk in steady + rough:
                self.assertLessEqual(len(chunk[1] if isinstance(chunk, tuple) else chunk), 2 + 0xFFFF)

if __name__ == "__main__":
    unittest.main()
