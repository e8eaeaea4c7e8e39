"""The fake game server's larger world for the minimap: land of every minimap
colour, reachable by walking, across the corner of four minimap areas.

The map is 120 x 80 tiles on floor 7 (x from 200 to 319, y from 200 to 279)
with a wall around it; the player starts at START (250, 250), so the first
view already lies in the four areas of x and y below and above 256. A road
(colour 5) runs east and west through the start; north of it lies meadow
(colour 1), south of it bare stone (colour 6, a ground without a colour of its
own). East of the start, along the road: a shallow pond south of the road
(colour 2, walkable), a hut north of it with walls (colour 3) and an open door
(colour 4, an item the path search keeps away from). Where nothing lies the
client records colour 100.

Behaviour: the ActionWorld of actions.py (keyboard steps, far walks of 0x1A
walked one step every step_seconds, the rest of the actions) over this map,
with these item records. Every tile sent is remembered (sent), so a test can
compare the client's area files with what it was shown; colour_at(x, y)
answers the colour the client's tile rule gives a tile.
"""
import actions
import server_messages as sm
import world
from world import FLOOR

START = (250, 250)
WORLD_X = range(200, 320)
WORLD_Y = range(200, 280)

MEADOW, POND, DOOR, ROAD = 150, 151, 152, 153
STONE, WALL = world.GRASS, world.WALL  # a ground without a colour: the client shows it as stone (6)

# (id, ground flag, flags, pattern size, animation frames, name, minimap colour, ground speed)
MINIMAP_ITEMS = [
    (MEADOW, 1, 0x00, 32, 0, "meadow", 1, 100),
    (POND, 1, 0x00, 32, 0, "shallow water", 2, 60),
    (DOOR, 0, 0x10, 32, 0, "open door", 0, None),
    (ROAD, 1, 0x00, 32, 0, "road", 5, 150),
]
RECORDS = {row[0]: row for row in world.ITEMS + actions.ACTION_ITEMS + MINIMAP_ITEMS}

# Places the test looks at, each with the colour the minimap must show.
ROAD_AT = (262, 250)
MEADOW_AT = (262, 244)
STONE_AT = (262, 256)
POND_AT = (270, 255)
HUT = (range(268, 275), range(242, 248))  # walls around, door in the south wall
DOOR_AT = (271, 247)
WALL_AT = (268, 244)


def item_records():
    return sm.build("item_records", records=[
        dict(id=i, ground=g, flags=f, pattern=p, frames=a, name=n.encode(), minimap=m, speed=s)
        for i, g, f, p, a, n, m, s in RECORDS.values()])


def tile_colour(items):
    """The client's minimap colour of a tile: the first item from the top
    that says something decides; 100 when none does."""
    for item in reversed(items):
        record = RECORDS.get(item if isinstance(item, int) else item[0])
        if not record:
            continue
        _, ground, flags, _, _, _, colour, _ = record
        if colour:
            return colour
        if flags & 0x02:
            return 3
        if flags & 0x18:
            return 4
        if ground == 1:
            return 6
    return 100


class MinimapWorld(actions.ActionWorld):
    def __init__(self, step_seconds=0.15, **kwargs):
        super().__init__(step_seconds=step_seconds, buffs=[], **kwargs)
        self.refused = set()
        self.items = {}
        for x in WORLD_X:
            for y in WORLD_Y:
                border = x in (WORLD_X[0], WORLD_X[-1]) or y in (WORLD_Y[0], WORLD_Y[-1])
                ground = ROAD if abs(y - START[1]) <= 1 else (MEADOW if y < START[1] else STONE)
                self.items[(x, y)] = [ground, WALL] if border else [ground]
        for x in range(266, 276):
            for y in range(253, 260):
                self.items[(x, y)] = [POND]
        xs, ys = HUT
        for x in xs:
            for y in ys:
                edge = x in (xs[0], xs[-1]) or y in (ys[0], ys[-1])
                self.items[(x, y)] = [MEADOW, WALL] if edge else [MEADOW]
        self.items[DOOR_AT] = [MEADOW, DOOR]
        self.npc = [WORLD_X[-2], WORLD_Y[-2]]  # out of the way, in a corner
        self.sent = {}  # (x, y) -> the items sent for it, as the client last saw them

    def colour_at(self, x, y):
        return tile_colour(self.items.get((x, y), []))

    # -- the server's hooks --

    def on_game_login(self, server, client, request):
        self.client = client
        self.player_name = request.fields.get("character", b"Aldric")
        server.enter_items_version = world.ITEMS_VERSION + 3
        client.send(item_records())

    def on_enter_game(self, server, client):
        with self.lock:
            self._walk_generation += 1
            self.player = list(START)
            px, py = self.player
            self._burst([self._area("map_area", 20, 16, px - 9, py - 7)])

    def _area(self, name, width, height, x0, y0):
        for x in range(x0, x0 + width):
            for y in range(y0, y0 + height):
                self.sent[(x, y)] = list(self.items.get((x, y), []))
        return super()._area(name, width, height, x0, y0)
