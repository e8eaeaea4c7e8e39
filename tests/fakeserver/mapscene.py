"""The map view's scene: the fake server's world (world.py) dressed for a
screenshot test, and the map-effect messages on cue.

Around the player's start (120, 120) the ground is a pattern of nine
colours that repeats every third tile (item 4300, a 96-pixel pattern); the
world's walls, coin stack and torch stay where world.py puts them; the
wandering NPC stands still at (124, 124) with half its health; the player
carries no light of its own, so that the torch's pool is the only one.

Cues:
- effects_burst(): rising texts, item effects, two projectiles and a target
  pair; all gone (or harmless) after a second;
- scene(darkness): the marker item 3428 at (114, 116), a progress bar of 50
  over (116, 122) and the darkness level;
- darkness(level) alone.
Each burst ends with a ping, whose value the cue returns.
"""
import server_messages as sm
import world
from world import World

PATTERN_GROUND = 4300
GOAL_MARK = 3428
EFFECT, LIGHT_EFFECT = 4100, 4110
ARROW, FIREBALL = 4200, 4210
NPC_AT = (124, 124)
MARKER_AT = (114, 116)
BAR_AT = (116, 122)

# (id, ground flag, flags, pattern size, animation frames, name, minimap colour, ground speed)
SCENE_ITEMS = [
    (PATTERN_GROUND, 1, 0x00, 96, 0, "patterned floor", 0, 100),
    (GOAL_MARK, 0, 0x00, 32, 0, "goal mark", 0, None),
    (EFFECT, 0, 0x00, 32, 4, "sparks", 0, None),
    (LIGHT_EFFECT, 0, 0x01, 32, 3, "flash", 0, None),
    (ARROW, 0, 0x40000, 32, 0, "arrow", 0, None),
    (FIREBALL, 0, 0x80000 | 0x40000, 32, 1, "fireball", 0, None),
]


def item_records():
    return sm.build("item_records", records=[
        dict(id=i, ground=g, flags=f, pattern=p, frames=a, name=n.encode(), minimap=m, speed=s)
        for i, g, f, p, a, n, m, s in world.ITEMS + SCENE_ITEMS])


class MapScene(World):
    def __init__(self, **kwargs):
        super().__init__(**kwargs)
        for (x, y), items in self.items.items():
            if 104 <= x <= 140 and 104 <= y <= 140 and items and items[0] == world.GRASS:
                self.items[(x, y)] = [PATTERN_GROUND] + items[1:]
        self.npc = list(NPC_AT)

    def on_game_login(self, server, client, request):
        self.client = client
        self.player_name = request.fields.get("character", b"Aldric")
        # Always sent: the scene's records are newer than any cache.
        server.enter_items_version = world.ITEMS_VERSION + 1
        client.send(item_records())

    def _creatures_at(self, at):
        found = super()._creatures_at(at)
        for creature in found:
            if creature["id"] == world.NPC_ID:
                creature["health"] = 50
            else:
                creature["light"] = 0
        return found

    # -- cues --

    def effects_burst(self):
        px, py = self.player
        with self.lock:
            return self._burst([
                sm.build("floating_text", x=px, y=py - 1, text=b"-12", type=1),
                sm.build("effects", effects=[dict(x=px + 1, y=py + 1, item_id=EFFECT),
                                             dict(x=px - 2, y=py, item_id=LIGHT_EFFECT)]),
                sm.build("projectile", from_x=px, from_y=py, to_x=px + 3, to_y=py + 4, effect_id=ARROW),
                sm.build("projectile", from_x=px, from_y=py, to_x=px - 3, to_y=py - 1, effect_id=FIREBALL),
                sm.build("target_pair", attack_target=world.NPC_ID, follow_target=0),
                sm.build("target_pair", attack_target=0, follow_target=0),
            ])

    def scene(self, darkness):
        with self.lock:
            return self._burst([
                sm.build("marker_item", x=MARKER_AT[0], y=MARKER_AT[1], z=world.FLOOR, item_id=GOAL_MARK),
                sm.build("progress_bar", shown=1, state=1, value=50, x=BAR_AT[0], y=BAR_AT[1], z=world.FLOOR),
                sm.build("darkness", level=darkness),
            ])

    def darkness(self, level):
        with self.lock:
            return self._burst([sm.build("darkness", level=level)])
