"""The staff behaviour of the fake game server: what the game master's tools
ask of it.

- ban info request (0x1D): answered with the ban information (0x1E) of the
  name: "Evil" is banned until an unban (0x24) for it, and so is a name
  banished (0x1E) without the warning flag; every other name is not banned;
- unban (0x24): lifts the ban of the name; banish (0x1E): bans the name for
  its days unless the warning flag is set (a warning bans nobody);
- online list request (0x3A): the list (0x40) with the new-list flag and
  PLAYERS;
- a chat line "!b" (the demo's way in): opens the ban dialog (0x1F).

Cues: ban_dialog(server) opens the ban dialog; more_players(server) sends
MORE_PLAYERS with the new-list flag clear, to be appended below the list.

    staff = Staff()
    with FakeServer(behaviours=[staff, actions.ActionWorld(privilege=3)]) as server:
        ...
        Staff.ban_dialog(server)
"""
import threading

from client_requests import CLIENT_CHAT
from server_messages import build

CLIENT_BAN_INFO_REQUEST = 0x1D
CLIENT_BANISH = 0x1E
CLIENT_UNBAN = 0x24
CLIENT_ONLINE_LIST = 0x3A

OPEN_COMMAND = b"!b"
BANNED = b"Evil"
BANNED_COMMENT = b"Botting in the sewers"
BANNED_DAYS = b"14"

# (name, level, idle seconds, minutes online)
PLAYERS = [(b"Ana", 12, 7, 90), (b"Bob", 30, 0, 5), (BANNED, 3, 600, 1440)]
MORE_PLAYERS = [(b"Cedric", 55, 42, 300), (b"Dora", 8, 1, 2)]


def online_list(players, new_list):
    return build("online_list", new_list=new_list, players=[
        dict(name=n, level=level, idle_seconds=idle, online_minutes=online) for n, level, idle, online in players])


class Staff:
    def __init__(self):
        self.lock = threading.Lock()
        self.bans = {BANNED: (BANNED_COMMENT, BANNED_DAYS)}  # name -> (comment, days)
        self.lists_sent = 0  # answers to the online list request, counted once sent

    def on_request(self, server, client, request):
        fields = request.fields
        if request.opcode == CLIENT_BAN_INFO_REQUEST:
            client.send(self._ban_info(fields["name"]))
            return True
        if request.opcode == CLIENT_UNBAN:
            with self.lock:
                self.bans.pop(fields["name"], None)
            return True
        if request.opcode == CLIENT_BANISH:
            if not fields["flag"]:
                with self.lock:
                    self.bans[fields["name"]] = (fields["comments"], str(fields["days"]).encode())
            return True
        if request.opcode == CLIENT_ONLINE_LIST:
            client.send(online_list(PLAYERS, 1))
            with self.lock:
                self.lists_sent += 1
            return True
        if request.opcode == CLIENT_CHAT and fields["text"] == OPEN_COMMAND:
            client.send(build("ban_dialog"))
            return True
        return False

    def _ban_info(self, name):
        with self.lock:
            ban = self.bans.get(name)
        shown = name.decode("latin-1")
        if ban:
            comment, days = ban
            info = f"{shown}: banned for {days.decode('latin-1')} days".encode("latin-1")
            return build("ban_info", comment=comment, ban_time=days, info_line=info, banned=1)
        info = f"{shown}: no ban on record".encode("latin-1") if name else b"No name given"
        return build("ban_info", comment=b"", ban_time=b"", info_line=info, banned=0)

    # --- cues -----------------------------------------------------------------------

    @staticmethod
    def ban_dialog(server):
        return server.send_payload(build("ban_dialog"))

    @staticmethod
    def more_players(server):
        return server.send_payload(online_list(MORE_PLAYERS, 0))
