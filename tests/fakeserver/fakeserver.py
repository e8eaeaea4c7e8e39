#!/usr/bin/env python3
"""A scripted login server and game server for testing the client on loopback.

Written from the wire format alone (it shares no code with the client):
frames are a u16 little-endian payload length and the payload; numbers are
little-endian; a string is a u16 byte count and the bytes.

The login server checks the client's login request 0x01 byte for byte and
answers with the character list (or, on request, with a "new version" or
error text, a bad opcode, or nothing). The game server checks the game login
0x02 byte for byte and answers with the enter-game message 0x03; afterwards a
test can ping, disconnect, drop the connection or send bad opcodes. Every
request the client sends is decoded and recorded; the decoder
(client_requests.py) is strict, and a frame that is not exactly one request
of its table is recorded as a failure.

What the game server does beyond the login is made of behaviours: objects
with any of on_game_login(server, client, request) (before the enter-game
message), on_enter_game(server, client) and on_request(server, client,
request), given to FakeServer(behaviours=[...]) or add_behaviour(); each
subject (the world, chat, containers, ...) brings its own module. A request
that no behaviour takes is only recorded.

Use it from Python:

    with FakeServer(gfx_stamp=stamp) as server:
        ... start the client against server.login_port ...
        server.wait_for(lambda: server.requests_of(0x02))
        server.send_ping(7)

or from the command line (see --help); it prints the demo account and then
takes commands on standard input: ping [value], disconnect, drop,
bad [opcode], quit (with --no-input it runs until it is stopped instead).

StatusPage is the status web server of the login screen's banner: it serves
one text as "/index.php".
"""

import argparse
import http.server
import signal
import socket
import struct
import sys
import threading
import time

# The wire format, the client's requests and the server's messages live in
# modules of their own; they are re-exported here so that tests need only this
# one import.
from wire import FrameReader, Reader, ShortPayload, Writer, frame, to_bytes  # noqa: F401
from client_requests import (CLIENT_GAME_LOGIN, CLIENT_LOGIN, CLIENT_LOGOUT, CLIENT_PONG,  # noqa: F401
                             FAMILIES, LOGIN_TAG, PROTOCOL_VERSION, REQUESTS, DecodeError, Request,
                             decode_request, decode_stream, encode_request, first_difference,
                             game_login_request, login_request)
from server_messages import (BUILDERS, MESSAGES, SAMPLES, VARIANTS, build, character_list,  # noqa: F401
                             disconnect, enter_game, frame_ending_labels, new_version, ping, sample_payloads)

NEW_VERSION_TEXT = b"Download the new client from the website."
WRONG_ACCOUNT_TEXT = b"Account name or password is not correct."
DEMO_ACCOUNT = "demo"
DEMO_PASSWORD = "demo"
UPDATE_ACCOUNT = "update"  # scripts/run: logging in with it shows the New Version box

# What the login server answers to a good login request.
LOGIN_ANSWERS = ("characters", "new-version", "error", "bad-opcode", "close", "silent")

# Server opcodes the servers send on their own.
SERVER_NEW_VERSION = 0x01
SERVER_CHARACTER_LIST = 0x02
SERVER_ENTER_GAME = 0x03
SERVER_DISCONNECT = 0x16
SERVER_PING = 0x19


class Character:
    """One row of the character list, and the character's privilege in the
    world (3 and above: a game master; the list does not show it)."""

    def __init__(self, name, second_text="Velmora", host="127.0.0.1", port=0,
                 outfit=(10, 0, 0, 0, 0, 7, 7, 12, 127), fourth_text="", level=1, privilege=0):
        self.name = to_bytes(name)
        self.second_text = to_bytes(second_text)
        self.host = to_bytes(host)
        self.port = port
        self.outfit = tuple(outfit)
        self.fourth_text = to_bytes(fourth_text)
        self.level = level
        self.privilege = privilege

    def __repr__(self):
        return f"Character({self.name!r}, level {self.level}, {self.host.decode('latin-1')}:{self.port})"


def demo_characters():
    return [
        Character("Aldric", "Velmora", outfit=(10, 0, 0, 0, 0, 1, 12, 34, 56), fourth_text="Knight", level=42),
        # A game master: Ctrl+Y opens the staff tools.
        Character("Brenna", "Velmora", outfit=(145, 0, 0, 0, 0, 3, 80, 90, 100), fourth_text="Mage", level=17,
                  privilege=3),
    ]


# --- the servers ----------------------------------------------------------------------


class _Client:
    """One accepted connection."""

    def __init__(self, sock, kind):
        self.sock = sock
        self.kind = kind
        self.lock = threading.Lock()
        self.open = True

    def send(self, payload):
        with self.lock:
            if not self.open:
                return False
            try:
                self.sock.sendall(frame(payload))
                return True
            except OSError:
                return False

    def send_raw(self, data):
        with self.lock:
            if self.open:
                try:
                    self.sock.sendall(data)
                except OSError:
                    pass

    def close(self):
        with self.lock:
            if self.open:
                self.open = False
                try:
                    self.sock.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass
                self.sock.close()


class FakeServer:
    """A login server and a game server on loopback, both scripted."""

    def __init__(self, account=DEMO_ACCOUNT, password=DEMO_PASSWORD, characters=None, host="127.0.0.1",
                 login_port=0, game_port=0, gfx_stamp=None, items_version=None, premium_end=0,
                 login_answer="characters", answer_text=NEW_VERSION_TEXT, answer_version=1,
                 player_id=0x10000001, followed_id=0, welcome=0, enter_items_version=1, log=None,
                 behaviours=(), update_account=None):
        if login_answer not in LOGIN_ANSWERS:
            raise ValueError(f"login_answer must be one of {LOGIN_ANSWERS}")
        self.account = to_bytes(account)
        self.password = to_bytes(password)
        self.characters = demo_characters() if characters is None else list(characters)
        self.host = host
        self.gfx_stamp = gfx_stamp            # None: any stamp, recorded
        self.items_version = items_version    # None: any items-cache version, recorded
        self.premium_end = premium_end
        self.login_answer = login_answer
        self.answer_text = to_bytes(answer_text)
        self.answer_version = answer_version
        self.player_id = player_id
        self.followed_id = followed_id or player_id
        self.welcome = welcome
        self.enter_items_version = enter_items_version
        self.log = log
        self.behaviours = list(behaviours)
        # (account, password) of a second account whose login is always told
        # of a new client version, whatever login_answer says.
        self.update_account = tuple(to_bytes(v) for v in update_account) if update_account else None

        self.requests = []    # every decoded request, both servers, in order
        self.failures = []    # requests that broke the protocol, with the reason
        self.connections = {"login": 0, "game": 0}
        self._changed = threading.Condition()
        self._clients = []
        self._threads = []
        self._running = False
        self._listeners = {}
        self._wanted_ports = {"login": login_port, "game": game_port}

    # -- lifetime --

    def start(self):
        self._running = True
        for kind in ("login", "game"):
            listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            listener.bind((self.host, self._wanted_ports[kind]))
            listener.listen(8)
            listener.settimeout(0.1)
            self._listeners[kind] = listener
        # Rows without a port of their own lead to this game server.
        for c in self.characters:
            if not c.port:
                c.port = self.game_port
        for kind in ("login", "game"):
            self._spawn(self._accept_loop, kind)
        return self

    def stop(self):
        self._running = False
        for listener in self._listeners.values():
            listener.close()
        for client in list(self._clients):
            client.close()
        for thread in self._threads:
            thread.join(timeout=5)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    @property
    def login_port(self):
        return self._listeners["login"].getsockname()[1]

    @property
    def game_port(self):
        return self._listeners["game"].getsockname()[1]

    def add_behaviour(self, behaviour):
        self.behaviours.append(behaviour)
        return behaviour

    # -- what happened --

    def requests_of(self, opcode, server=None):
        with self._changed:
            return [r for r in self.requests if r.opcode == opcode and (server is None or r.server == server)]

    def open_connections(self, kind):
        """How many connections of a kind ("login", "game") are still open: a
        client that has read its answer and hung up no longer counts."""
        with self._changed:
            return sum(1 for c in self._clients if c.kind == kind and c.open)

    def wait_for(self, condition, timeout=10.0):
        """Waits until condition() is true; returns its last value."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                value = condition()
                if value or time.monotonic() >= deadline:
                    return value
                self._changed.wait(min(0.05, max(0.0, deadline - time.monotonic())))

    # -- commands to the game connection (the latest one) --

    def send_ping(self, value=0x1234):
        return self._to_game(ping(value))

    def send_disconnect(self):
        return self._to_game(disconnect())

    def send_bad_opcode(self, opcode=0x41, extra=b"\x00\x00"):
        return self._to_game(bytes([opcode]) + extra)

    def send_payload(self, payload):
        return self._to_game(payload)

    def drop(self):
        """Closes the game connection without a word."""
        client = self._latest("game")
        if client:
            client.close()
            self._say("game: connection dropped")
        return client is not None

    # -- inside --

    def _spawn(self, target, *args):
        thread = threading.Thread(target=target, args=args, daemon=True)
        thread.start()
        self._threads.append(thread)

    def _say(self, text):
        if self.log:
            self.log(text)

    def _latest(self, kind):
        with self._changed:
            for client in reversed(self._clients):
                if client.kind == kind and client.open:
                    return client
        return None

    def _to_game(self, payload):
        client = self._latest("game")
        return client.send(payload) if client else False

    def _record(self, request=None, failure=None):
        with self._changed:
            if request is not None:
                self.requests.append(request)
            if failure is not None:
                self.failures.append(failure)
            self._changed.notify_all()
        if request is not None:
            self._say(repr(request) + ("" if request.accepted is None else
                                       "  accepted" if request.accepted else "  refused"))
        if failure is not None:
            self._say("FAILURE: " + failure)

    def _accept_loop(self, kind):
        listener = self._listeners[kind]
        while self._running:
            try:
                sock, _ = listener.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            sock.settimeout(None)
            sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            client = _Client(sock, kind)
            with self._changed:
                self._clients.append(client)
                self.connections[kind] += 1
                self._changed.notify_all()
            self._say(f"{kind}: connection {self.connections[kind]}")
            self._spawn(self._serve, client)

    def _serve(self, client):
        frames = FrameReader()
        try:
            while client.open:
                data = client.sock.recv(65536)
                if not data:
                    break
                for payload in frames.feed(data):
                    try:
                        request = decode_request(payload, client.kind)
                    except DecodeError as error:
                        self._malformed(client, payload, error)
                        continue
                    self._handle(client, request)
        except OSError:
            pass
        client.close()
        with self._changed:
            self._changed.notify_all()

    def _handle(self, client, request):
        if client.kind == "login" and request.opcode == CLIENT_LOGIN:
            self._login(client, request)
        elif client.kind == "game" and request.opcode == CLIENT_GAME_LOGIN:
            self._game_login(client, request)
        elif request.opcode == CLIENT_LOGOUT:
            self._record(request)
            client.close()
        else:
            self._record(request)
            if client.kind == "game":
                for behaviour in self.behaviours:
                    handler = getattr(behaviour, "on_request", None)
                    if handler and handler(self, client, request):
                        break

    def _malformed(self, client, payload, error):
        """A frame that is not exactly one request: a failure, not a request.
        A broken login is refused as a wrong one would be."""
        opcode = payload[0] if payload else None
        self._record(failure=f"{client.kind}: malformed request: {error}: {bytes(payload).hex()}")
        if client.kind == "login" and opcode == CLIENT_LOGIN:
            client.send(new_version(b"Login request refused.", 0))
        elif client.kind == "game" and opcode == CLIENT_GAME_LOGIN:
            client.close()

    def _login(self, client, request):
        f = request.fields
        stamp = self.gfx_stamp if self.gfx_stamp is not None else f.get("gfx_stamp", 0)
        expected = login_request(f.get("account", b""), f.get("password", b""), stamp)
        if request.raw != expected:
            at = first_difference(expected, request.raw)
            request.accepted = False
            self._record(request, f"login request differs at byte {at}: expected {expected.hex()}, "
                                  f"received {request.raw.hex()}")
            client.send(new_version(b"Login request refused.", 0))
            return
        if self.update_account and (f["account"], f["password"]) == self.update_account:
            request.accepted = True
            self._record(request)
            client.send(new_version(NEW_VERSION_TEXT, self.answer_version))
            return
        if f["account"] != self.account or f["password"] != self.password:
            request.accepted = False
            self._record(request)
            client.send(new_version(WRONG_ACCOUNT_TEXT, 0))
            return
        request.accepted = True
        self._record(request)
        answer = self.login_answer
        if answer == "characters":
            client.send(character_list(self.premium_end, self.characters))
        elif answer == "new-version":
            client.send(new_version(NEW_VERSION_TEXT, self.answer_version))
        elif answer == "error":
            client.send(new_version(self.answer_text, self.answer_version))
        elif answer == "bad-opcode":
            client.send(bytes([0x41, 0, 0]))
        elif answer == "close":
            client.close()

    def _game_login(self, client, request):
        f = request.fields
        items = self.items_version if self.items_version is not None else f.get("items_version", 0)
        expected = game_login_request(f.get("account", b""), f.get("password", b""), f.get("character", b""), items)
        known = [c.name for c in self.characters]
        if request.raw != expected:
            at = first_difference(expected, request.raw)
            request.accepted = False
            self._record(request, f"game login differs at byte {at}: expected {expected.hex()}, "
                                  f"received {request.raw.hex()}")
            client.close()
            return
        if f["account"] != self.account or f["password"] != self.password or f["character"] not in known:
            request.accepted = False
            self._record(request, "game login for an unknown account or character: " + repr(request))
            client.close()
            return
        request.accepted = True
        self._record(request)
        # What comes before the start of the game (the item records, for one).
        for behaviour in self.behaviours:
            handler = getattr(behaviour, "on_game_login", None)
            if handler:
                handler(self, client, request)
        client.send(enter_game(self.player_id, self.followed_id, self.welcome, self.enter_items_version))
        for behaviour in self.behaviours:
            handler = getattr(behaviour, "on_enter_game", None)
            if handler:
                handler(self, client)


# --- the status web page ------------------------------------------------------------


class StatusPage:
    """The status web server on loopback: "/index.php" answers with the text
    (200 and a Content-Length, as the client needs), anything else with 404.
    Every request is recorded with its path and headers."""

    PATH = "/index.php"

    def __init__(self, text, host="127.0.0.1", port=0):
        self.text = to_bytes(text)
        self.requests = []   # (path, headers as a dict)
        self._changed = threading.Condition()
        page = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_GET(self):
                with page._changed:
                    page.requests.append((self.path, dict(self.headers.items())))
                    page._changed.notify_all()
                found = self.path == StatusPage.PATH
                body = page.text if found else b"not found"
                self.send_response(200 if found else 404)
                self.send_header("Content-Type", "text/html; charset=iso-8859-1")
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Connection", "close")
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self._server = http.server.ThreadingHTTPServer((host, port), Handler)
        self._server.daemon_threads = True
        self._thread = None

    @property
    def port(self):
        return self._server.server_address[1]

    def start(self):
        self._thread = threading.Thread(target=self._server.serve_forever, kwargs={"poll_interval": 0.1},
                                        daemon=True)
        self._thread.start()
        return self

    def stop(self):
        self._server.shutdown()
        self._server.server_close()
        if self._thread:
            self._thread.join(timeout=5)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def wait_for_requests(self, count, timeout=10.0):
        """Waits until `count` requests have come; returns them."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while len(self.requests) < count and time.monotonic() < deadline:
                self._changed.wait(min(0.05, max(0.0, deadline - time.monotonic())))
            return list(self.requests)


# --- command line ---------------------------------------------------------------------


def read_gfx_stamp(path):
    with open(path, "rb") as file:
        head = file.read(4)
    if len(head) < 4:
        raise ValueError(f"{path} is too short for a graphics file")
    return struct.unpack("<I", head)[0]


def parse_character(text, index):
    # NAME[:LEVEL[:OUTFIT]] with OUTFIT as nine comma-separated numbers.
    parts = text.split(":")
    base = demo_characters()[index % 2]
    level = int(parts[1]) if len(parts) > 1 and parts[1] else base.level
    outfit = tuple(int(v) for v in parts[2].split(",")) if len(parts) > 2 else base.outfit
    if len(outfit) != 9:
        raise argparse.ArgumentTypeError("an outfit is nine numbers")
    return Character(parts[0], base.second_text, outfit=outfit, fourth_text=base.fourth_text, level=level)


def _stop_on_signal(signum, frame):
    """SIGTERM ends the server as Ctrl+C does."""
    raise KeyboardInterrupt


def main(argv=None):
    parser = argparse.ArgumentParser(description="Fake login and game server for the client's tests.")
    parser.add_argument("--host", default="127.0.0.1", help="address to listen on and to give in the rows")
    parser.add_argument("--login-port", type=int, default=5657, help="0 picks a free port")
    parser.add_argument("--game-port", type=int, default=7171, help="0 picks a free port")
    parser.add_argument("--account", default=DEMO_ACCOUNT)
    parser.add_argument("--password", default=DEMO_PASSWORD)
    parser.add_argument("--update-account", default=UPDATE_ACCOUNT,
                        help="an account (its password is the same) whose login is told of a new client "
                             "version; empty for none")
    parser.add_argument("--character", action="append", default=[],
                        help="NAME[:LEVEL[:OUTFIT]] (repeatable; default two demo characters)")
    parser.add_argument("--premium-days", type=float, default=30, help="premium time left; 0 for none")
    stamp = parser.add_mutually_exclusive_group()
    stamp.add_argument("--gfx", help="graphics file whose version stamp the login must carry")
    stamp.add_argument("--gfx-stamp", type=int, help="version stamp the login must carry")
    parser.add_argument("--items-version", type=int, help="items-cache version the game login must carry")
    parser.add_argument("--login-answer", choices=LOGIN_ANSWERS, default="characters")
    parser.add_argument("--answer-text", default=NEW_VERSION_TEXT.decode(), help="text of --login-answer error")
    parser.add_argument("--answer-version", type=int, default=1, help="version in a new-version or error answer")
    parser.add_argument("--welcome", type=int, default=0, help="the enter-game message's welcome flag")
    parser.add_argument("--status-port", type=int, help="also serve the status page on this port (0 picks one)")
    parser.add_argument("--status-text", default="Welcome to Velmora Online! This is a test server.",
                        help="the status page's text")
    parser.add_argument("--no-world", action="store_true",
                        help="no world after the enter-game message (the map, steps, NPC and the answers to "
                             "the player's actions of the world and actions modules)")
    parser.add_argument("--no-side-windows", action="store_true",
                        help="no equipment, containers, statistics, friends or party after the enter-game message")
    parser.add_argument("--no-trade", action="store_true",
                        help="no player trade (a chat line \"trade\" or \"trade NAME\" starts one with Bob or "
                             "NAME, who offers two stacks of coins)")
    parser.add_argument("--no-chat", action="store_true",
                        help="no answers to chat lines, channel joins and the channel list, and no chat commands "
                             "(\"!tutorial\", \"!fight\")")
    parser.add_argument("--no-input", action="store_true",
                        help="take no commands; run until stopped (SIGTERM or Ctrl+C)")
    args = parser.parse_args(argv)

    characters = [parse_character(text, i) for i, text in enumerate(args.character)] or None
    gfx_stamp = read_gfx_stamp(args.gfx) if args.gfx else args.gfx_stamp
    premium_end = int(time.time() + args.premium_days * 86400) if args.premium_days > 0 else 0

    def log(text):
        print(text, flush=True)

    server = FakeServer(account=args.account, password=args.password, characters=characters, host=args.host,
                        login_port=args.login_port, game_port=args.game_port, gfx_stamp=gfx_stamp,
                        items_version=args.items_version, premium_end=premium_end,
                        login_answer=args.login_answer, answer_text=args.answer_text,
                        answer_version=args.answer_version, welcome=args.welcome, log=log,
                        update_account=(args.update_account, args.update_account) if args.update_account else None)
    trading = None
    if not args.no_trade:
        import trade
        # Ahead of the world, which takes every move: a drop into the trade is the trade's.
        trading = server.add_behaviour(trade.Trade())
    import shop
    # A merchant: "!shop" typed in the chat opens the shop.
    server.add_behaviour(shop.Shop())
    import quests
    side = None
    if not args.no_side_windows:
        import sidewindows
        side = sidewindows.SideWindows()
    # Ahead of the world, which takes every move but those onto the brewing
    # dialog; "!brewing" and "!summon" typed in the chat open those dialogs.
    server.add_behaviour(quests.Quests(side_windows=side))
    import house
    # "!house" and "!bidding" typed in the chat open the house management and
    # the house bidding.
    server.add_behaviour(house.House())
    import market
    # "!market" typed in the chat opens the item market; Refresh is answered.
    server.add_behaviour(market.Market())
    world = None
    if not args.no_world:
        import actions
        # The side windows' behaviour sends the buffs and statistics of the login burst.
        world = server.add_behaviour(actions.ActionWorld(login_burst=args.no_side_windows))
        world.wander(2.0)
    if side is not None:
        server.add_behaviour(side)
    import staff
    # The game master's tools of a staff character (the demo's Brenna).
    server.add_behaviour(staff.Staff())
    import guild
    # Guildless at first: Ctrl+G shows two invitations, and joining one the guild.
    server.add_behaviour(guild.Guild())
    import character
    # The spell library, the outfit options and the talents, over the
    # statistics of whichever login burst is sent.
    if args.no_side_windows:
        import actions
        server.add_behaviour(character.Character(stats=actions.STATS))
    else:
        server.add_behaviour(character.Character())
    if not args.no_chat:
        import chat
        # "!tip" anchors its tip where the player stands.
        server.add_behaviour(chat.Chat(player_position=(lambda: tuple(world.player)) if world else None))
    server.start()
    status = StatusPage(args.status_text, host=args.host, port=args.status_port).start() \
        if args.status_port is not None else None
    log(f"Login server on {args.host}:{server.login_port}, game server on {args.host}:{server.game_port}")
    log(f"Demo account: {args.account}  password: {args.password}")
    if args.update_account:
        log(f"New-version account: {args.update_account}  password: {args.update_account}")
    for c in server.characters:
        log(f"Character: {c.name.decode('latin-1')} (level {c.level})")
    if status:
        log(f"Status page on http://{args.host}:{status.port}{StatusPage.PATH}")

    signal.signal(signal.SIGTERM, _stop_on_signal)
    if args.no_input:
        try:
            while True:
                time.sleep(3600)
        except KeyboardInterrupt:
            pass
        server.stop()
        if status:
            status.stop()
        return 1 if server.failures else 0

    log("Commands: ping [value], disconnect, drop, bad [opcode], trade [name], endtrade, quit")
    try:
        for line in sys.stdin:
            words = line.split()
            if not words:
                continue
            command, rest = words[0], words[1:]
            if command == "quit":
                break
            elif command == "ping":
                done = server.send_ping(int(rest[0], 0) if rest else 0x1234)
            elif command == "disconnect":
                done = server.send_disconnect()
            elif command == "drop":
                done = server.drop()
            elif command == "bad":
                done = server.send_bad_opcode(int(rest[0], 0) if rest else 0x41)
            elif command in ("trade", "endtrade") and trading:
                partner = rest[0].encode("latin-1") if rest else b"Bob"
                value = trading.start(server, partner, with_items=True) if command == "trade" else trading.end(server)
                done = value is not None
            else:
                log(f"unknown command {command!r}")
                continue
            log(f"{command}: {'sent' if done else 'no game connection'}")
    except KeyboardInterrupt:
        pass
    server.stop()
    if status:
        status.stop()
    return 1 if server.failures else 0


if __name__ == "__main__":
    sys.exit(main())
