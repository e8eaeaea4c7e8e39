// One map square: its three lists and what walking, drawing, clicks, light
// and the minimap ask of it.
#include "tests/world/WorldFixture.h"

namespace {

class TileTest : public WorldTest {
protected:
    // A thing that counts its deletions, to see who deletes what.
    struct Counted : Thing {
        Counted(int itemId, int* deletions) : Thing(itemId, 1), deletions(deletions) {}
        ~Counted() override { ++*deletions; }
        int* deletions;
    };
    Thing* Item(int id) {
        owned.push_back(std::make_unique<Thing>(id, 1));
        return owned.back().get();
    }
    Creature* Walker(bool stopped = true, int flags = 0) {
        creatures.push_back(std::make_unique<Creature>());
        creatures.back()->stopped = stopped ? 1 : 0;
        creatures.back()->flags = flags;
        creatures.back()->name = "Walker";
        return creatures.back().get();
    }
    // Items handed to a tile belong to it: the tile is cleared before these go.
    std::vector<std::unique_ptr<Thing>> owned;
    std::vector<std::unique_ptr<Creature>> creatures;
};

TEST_F(TileTest, ListsKeepTheLatestFirstAndReadBottomToTop) {
    Tile tile;
    Thing* a = new Thing(kGrass, 1);
    Thing* b = new Thing(kCoins, 5);
    Thing* top = new Thing(kRoof, 1);
    Creature* c = Walker();
    tile.AddThing(a);
    tile.AddThing(top);
    tile.AddThing(c);
    tile.AddThing(c);  // listed once
    tile.AddThing(b);
    EXPECT_EQ(tile.items, (std::vector<Thing*>{b, a}));
    EXPECT_EQ(tile.creatures, (std::vector<Thing*>{c}));
    EXPECT_EQ(tile.topItems, (std::vector<Thing*>{top}));
    EXPECT_EQ(tile.GetAllThings(), (std::vector<Thing*>{b, a, c, top}));
    EXPECT_TRUE(tile.HasCreature(c));

    // The same plain item twice is listed twice.
    Thing* twice = new Thing(7777, 1);
    tile.AddThing(twice);
    tile.AddThing(twice);
    EXPECT_EQ(tile.items.size(), 4u);
    tile.RemoveThing(twice);
    tile.RemoveThing(twice);
    delete twice;

    // Unlinking deletes nothing; unknown pointers and ids change nothing.
    Thing stranger(kGrass, 1);
    tile.RemoveThing(&stranger);
    EXPECT_EQ(tile.GetAllThings().size(), 4u);
    EXPECT_FALSE(tile.RemoveItemById(12345));
    c->id = 4242;
    EXPECT_FALSE(tile.RemoveItemById(4242)) << "creatures are not items";
    EXPECT_TRUE(tile.RemoveItemById(kRoof));
    delete top;
    tile.RemoveThing(c);
    EXPECT_FALSE(tile.HasCreature(c));
    EXPECT_EQ(tile.GetAllThings(), (std::vector<Thing*>{b, a}));
}

TEST_F(TileTest, ManyThingsAtOnceAsOneByOne) {
    Tile one, many;
    Creature* c1 = Walker();
    Creature* c2 = Walker();
    const int ids[] = {kRoof, kCoins, 0, kGrass, kRoof, 7777, 1, kGrass};
    std::vector<Thing*> batch;
    for (int id : ids) {
        Thing* thing = id == 0 ? static_cast<Thing*>(c1) : id == 1 ? static_cast<Thing*>(c2) : new Thing(id, 1);
        one.AddThing(id > 1 ? new Thing(id, 1) : thing);
        batch.push_back(thing);
    }
    many.AddThing(new Thing(kWall, 1));
    one.items.push_back(new Thing(kWall, 1));  // what was there before goes after the new things
    many.AddThings(batch);
    const auto ids_of = [](const std::vector<Thing*>& list) {
        std::vector<int> out;
        for (Thing* t : list)
            out.push_back(t->GetId());
        return out;
    };
    EXPECT_EQ(ids_of(many.items), ids_of(one.items));
    EXPECT_EQ(ids_of(many.topItems), ids_of(one.topItems));
    EXPECT_EQ(many.creatures, one.creatures);
    EXPECT_EQ(many.creatures, (std::vector<Thing*>{c2, c1}));
}

TEST_F(TileTest, ClearDeletesItemsAndKeepsCreatures) {
    int deletions = 0;
    Creature* c = Walker();
    {
        Tile tile;
        tile.AddThing(new Counted(kGrass, &deletions));
        tile.AddThing(new Counted(kRoof, &deletions));
        tile.AddThing(c);
        tile.Clear();
        EXPECT_EQ(deletions, 2);
        EXPECT_EQ(tile.GetAllThings(), (std::vector<Thing*>{c}));
        tile.AddThing(new Counted(kGrass, &deletions));
    }
    EXPECT_EQ(deletions, 3) << "the destructor deletes the items, never the creatures";
    EXPECT_EQ(c->name, "Walker");
}

TEST_F(TileTest, WhatBlocksWalking) {
    const struct {
        const char* name;
        std::vector<int> items;  // in the server's order, top first: each goes to the front
        int creature;            // 0 none, 1 walking, 2 stopped, 3 stopped but passable
        bool blocked;
    } cases[] = {
        {"nothing at all", {}, 0, true},
        {"no ground first", {kGrass, kCoins}, 0, true},
        {"an item without a record first", {kGrass, 7777}, 0, true},
        {"ground alone", {kGrass}, 0, false},
        {"ground under coins", {kCoins, kGrass}, 0, false},
        {"a wall on the ground", {kWall, kGrass}, 0, true},
        {"a walking creature", {kGrass}, 1, false},
        {"a stopped creature", {kGrass}, 2, true},
        {"a stopped creature that lets others through", {kGrass}, 3, false},
    };
    for (const auto& c : cases) {
        Tile tile;
        for (int id : c.items)
            tile.AddThing(new Thing(id, 1));
        if (c.creature)
            tile.AddThing(Walker(c.creature != 1, c.creature == 3 ? Creature::kPassable : 0));
        EXPECT_EQ(tile.QueryForPath(true), c.blocked) << c.name;
    }
}

TEST_F(TileTest, PathSearchFlagsAndItem203) {
    Define(140, 0, kItemBlocksPath);
    Define(141, 0, kItemBlocksPathSoft);
    Tile tile;
    tile.AddThing(new Thing(kGrass, 1));
    EXPECT_FALSE(tile.QueryForPathDraw(8));
    tile.AddThing(new Thing(141, 1));
    EXPECT_FALSE(tile.QueryForPathDraw(8));
    EXPECT_TRUE(tile.QueryForPathDraw(16));
    Tile other;
    other.AddThing(new Thing(kItemAlwaysBlocksPath, 1));  // no record
    EXPECT_TRUE(other.QueryForPathDraw(8));
    EXPECT_FALSE(other.QueryForPathDraw(16));
    EXPECT_FALSE(other.QueryForPathDraw(8 | 16)) << "only a mask of exactly 8 counts item 203";
    Tile roofed;
    roofed.AddThing(Walker());
    EXPECT_FALSE(roofed.QueryForTopFloor());
    roofed.AddThing(new Thing(kRoof, 1));
    EXPECT_TRUE(roofed.QueryForTopFloor());
    roofed.Clear();
}

TEST_F(TileTest, AClickActsOnATargetItemElseTheFirstCreature) {
    Define(150, 0, kItemClickTarget);
    Tile tile;
    EXPECT_EQ(tile.QueryForAction(), nullptr);
    tile.AddThing(new Thing(kGrass, 1));
    EXPECT_EQ(tile.QueryForAction(), nullptr);
    Creature* first = Walker();
    Creature* second = Walker();
    tile.AddThing(first);
    tile.AddThing(second);
    EXPECT_EQ(tile.QueryForAction(), second) << "the creature added last";
    Thing* target = new Thing(150, 1);
    tile.AddThing(target);
    EXPECT_EQ(tile.QueryForAction(), target) << "a target item under the creatures wins";
}

TEST_F(TileTest, MinimapColoursAndSpeeds) {
    Define(160, 0, 0);
    ItemRecord* marked = Define(161, 0, kItemTop);
    marked->minimapColor = 9;
    Define(162, 0, kItemBlocksPath);
    const struct {
        const char* name;
        std::vector<int> items;
        int color;
    } cases[] = {
        {"empty", {}, 100},
        {"ground alone", {kGrass}, 6},
        {"a wall on the ground", {kWall, kGrass}, 3},
        {"the ground over a wall", {kGrass, kWall}, 6},
        {"a path blocker", {162, kGrass}, 4},
        {"an item that says nothing lets the ground decide", {7777, 160, kGrass}, 6},
        {"a coloured top item over a wall", {161, kWall, kGrass}, 9},
    };
    for (const auto& c : cases) {
        Tile tile;
        for (int id : c.items)
            tile.AddThing(new Thing(id, 1));
        EXPECT_EQ(tile.GetMinimapColor(), c.color) << c.name;
    }
    Tile tile;
    EXPECT_EQ(tile.GetSpeed(), 100);
    tile.AddThing(new Thing(kIce, 1));
    EXPECT_EQ(tile.GetSpeed(), 0);
    Tile mud;
    mud.AddThing(new Thing(kMud, 1));
    mud.AddThing(new Thing(kCoins, 3));
    EXPECT_EQ(mud.GetSpeed(), 50) << "the first ground item in the list decides";
}

TEST_F(TileTest, LightSourcesByTheTable) {
    const struct {
        int id, r, g, b, radius;
    } cases[] = {{6239, 80, 10, 10, 1}, {1235, 0, 0, 90, 6},  {4449, 0, 0, 90, 6}, {5895, 0, 0, 90, 6},
                 {5891, 0, 90, 0, 6},   {6193, 120, 0, 0, 6}, {5901, 90, 20, 20, 6}, {596, 160, 65, 50, 6},
                 {kTorch, 80, 30, 0, 6}};
    for (const auto& c : cases) {
        if (c.id != kTorch)
            Define(c.id, 0, kItemLightSource);
        Tile tile;
        tile.AddThing(new Thing(kGrass, 1));
        tile.AddThing(new Thing(c.id, 1));
        uint8_t color[4] = {1, 2, 3, 4};
        int radius = -1;
        ASSERT_TRUE(tile.QueryForDraw(color, &radius)) << c.id;
        EXPECT_EQ(radius, c.radius) << c.id;
        EXPECT_EQ((std::vector<int>{color[0], color[1], color[2], color[3]}), (std::vector<int>{c.r, c.g, c.b, 255}))
            << c.id;
    }
    Tile dark;
    dark.AddThing(new Thing(kGrass, 1));
    uint8_t color[4] = {1, 2, 3, 4};
    int radius = -1;
    EXPECT_FALSE(dark.QueryForDraw(color, &radius));
    EXPECT_EQ(radius, -1);
    EXPECT_EQ(color[0], 1);
}

}  // namespace
