// Creatures: the step with its clone, the walk's progress, the outfit's
// sprites and their drawing.
#include <cmath>

#include "engine/Sprite.h"
#include "engine/SpriteStore.h"
#include "tests/world/WorldFixture.h"

namespace {

class CreatureTest : public WorldTest {
protected:
    // The drawn offset of a creature over its tile.
    static std::pair<int, int> Offset(Creature* creature) {
        int dx = 0, dy = 0;
        creature->WalkOffset(&dx, &dy, 32);
        return {dx, dy};
    }
    Creature* CloneOf(Creature* creature) { return creature->clone ? creature->clone->AsCreature() : nullptr; }
};

TEST_F(CreatureTest, AStepLeftMovesAtOnceAndLeavesACloneBehind) {
    AddPlayer(100, 100);
    Creature* walker = AddCreature(7, 102, 100);
    walker->direction = 2;
    walker->Step();
    EXPECT_EQ(walker->position, (Position{101, 100, 7}));
    EXPECT_TRUE(map->GetTile(101, 100, 7)->HasCreature(walker));
    EXPECT_FALSE(map->GetTile(102, 100, 7)->HasCreature(walker));
    Creature* clone = CloneOf(walker);
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->cloneOf, walker);
    EXPECT_EQ(clone->id, 7);
    EXPECT_TRUE(clone->name.empty());
    EXPECT_EQ(clone->position, (Position{102, 100, 7}));
    EXPECT_TRUE(map->GetTile(102, 100, 7)->HasCreature(clone));
    EXPECT_EQ(walker->stopped, 0);

    // Progress 0: both figures drawn over the tile it came from.
    EXPECT_EQ(Offset(walker), std::make_pair(32, 0));
    EXPECT_EQ(Offset(clone), std::make_pair(0, 0));
    walker->walkProgress = clone->walkProgress = 1.0f;
    EXPECT_EQ(Offset(walker), std::make_pair(0, 0));
    EXPECT_EQ(Offset(clone), std::make_pair(-32, 0));

    // A step during a step is ignored.
    walker->walkProgress = 0.4f;
    walker->direction = 1;
    walker->Step();
    EXPECT_EQ(walker->position, (Position{101, 100, 7}));
    EXPECT_EQ(walker->clone, clone);
}

// The server may send a creature without a name: it walks and is drawn as any
// other; only the step's own clone stands a tile further along.
TEST_F(CreatureTest, ANamelessCreatureIsNoClone) {
    AddPlayer(100, 100);
    Creature* named = AddCreature(7, 102, 100);
    Creature* nameless = AddCreature(8, 102, 102, 7, "");
    for (Creature* walker : {named, nameless}) {
        walker->direction = 2;
        walker->Step();
    }
    EXPECT_FALSE(nameless->IsClone());
    EXPECT_EQ(Offset(nameless), Offset(named));
    EXPECT_EQ(Offset(nameless), std::make_pair(32, 0));
    EXPECT_EQ(Offset(CloneOf(nameless)), Offset(CloneOf(named)));
}

TEST_F(CreatureTest, TheCloneStandsOnTheTileDrawnLast) {
    AddPlayer(100, 100);
    const struct {
        int direction;
        Position clone;
    } cases[] = {{1, {105, 106, 7}}, {2, {105, 105, 7}}, {3, {105, 105, 7}}, {4, {106, 105, 7}},
                 {5, {105, 106, 7}}, {6, {105, 105, 7}}, {7, {106, 105, 7}}, {8, {106, 106, 7}}};
    uint32_t id = 10;
    for (const auto& c : cases) {
        Creature* walker = AddCreature(id++, 105, 105);
        walker->direction = c.direction;
        walker->Step();
        ASSERT_NE(walker->clone, nullptr) << c.direction;
        EXPECT_EQ(walker->clone->GetPosition(), c.clone) << c.direction;
        map->RemoveCreature(uint32_t(walker->id));
    }
    EXPECT_TRUE(map->GetTile(105, 106, 7)->creatures.empty()) << "a removed creature takes its clone along";
}

TEST_F(CreatureTest, TimedProgressBySpeedAndGround) {
    const struct {
        float speed;
        int ground;
        uint32_t ms;
    } cases[] = {{150, kGrass, 1000}, {300, kGrass, 500}, {150, kMud, 2000}};
    for (const auto& c : cases) {
        map = std::make_unique<Map>(&hooks);
        AddPlayer(100, 100, 7, c.ground);
        Creature* walker = AddCreature(7, 103, 100);
        walker->speed = c.speed;
        walker->direction = 4;
        walker->Step();
        walker->StopWalk();
        Clock().Advance(c.ms - 1);
        map->UpdateCreatures(60);
        EXPECT_LT(walker->walkProgress, 1.0f) << c.speed << " " << c.ms;
        EXPECT_NE(walker->clone, nullptr);
        Clock().Advance(1);
        map->UpdateCreatures(60);
        EXPECT_EQ(walker->walkProgress, 1.0f) << c.speed << " " << c.ms;
        EXPECT_EQ(walker->clone, nullptr) << "a stopped creature drops its clone at the end";
    }
}

TEST_F(CreatureTest, FrameProgressAndSteppingWithoutEnd) {
    hooks.timerMovement = false;
    AddPlayer(100, 100);
    Creature* walker = AddCreature(7, 103, 100);
    walker->speed = 150;
    walker->direction = 4;
    walker->Step();
    map->UpdateCreatures(0);  // no frame rate measured yet
    EXPECT_EQ(walker->walkProgress, 0.0f);
    map->UpdateCreatures(-3);
    EXPECT_EQ(walker->walkProgress, 0.0f);
    for (int frame = 0; frame < 4; ++frame)
        map->UpdateCreatures(4);
    EXPECT_EQ(walker->walkProgress, 1.0f);
    EXPECT_NE(walker->clone, nullptr) << "still walking: the clone waits for the next step";

    // Speed 0 and ground speed 0 would never end a step: it ends at once.
    hooks.timerMovement = true;
    walker->stopped = 1;
    walker->FinishWalk();
    walker->speed = 0;
    walker->Step();
    map->UpdateCreatures(60);
    EXPECT_EQ(walker->walkProgress, 1.0f);
    walker->speed = 150;
    walker->stopped = 1;
    walker->FinishWalk();
    map->GetTile(106, 100, 7)->Clear();
    Put(106, 100, 7, kIce);
    walker->Step();
    ASSERT_EQ(walker->position, (Position{106, 100, 7}));
    map->UpdateCreatures(60);
    EXPECT_EQ(walker->walkProgress, 1.0f);
}

TEST_F(CreatureTest, UndoFinishAndStop) {
    Creature* player = AddPlayer(100, 100);
    Creature* walker = AddCreature(7, 103, 100);
    walker->FinishWalk();
    EXPECT_EQ(walker->stopped, 1);
    walker->direction = 3;
    walker->Step();
    walker->walkProgress = 0.3f;
    walker->UndoStep();
    EXPECT_EQ(walker->position, (Position{103, 100, 7}));
    EXPECT_EQ(walker->clone, nullptr);
    EXPECT_EQ(walker->walkProgress, 1.0f);
    EXPECT_EQ(walker->stopped, 1);
    EXPECT_TRUE(map->GetTile(103, 100, 7)->HasCreature(walker));
    EXPECT_TRUE(map->GetTile(103, 99, 7)->creatures.empty());

    // The player's stop removes the creatures out of range.
    AddCreature(8, 99 + 10, 100);
    AddCreature(9, 99 + 11, 100);
    player->direction = 2;
    player->Step();
    EXPECT_NE(map->FindCreature(9), nullptr);
    player->StopWalk();
    EXPECT_NE(map->FindCreature(8), nullptr) << "x + 10 of the player (now at 99) is in range";
    EXPECT_EQ(map->FindCreature(9), nullptr);
}

TEST_F(CreatureTest, CanMoveAsksTheTargetTile) {
    Creature* player = AddPlayer(100, 100);
    Put(101, 100, 7, kWall);
    EXPECT_FALSE(player->CanMove(4));
    EXPECT_TRUE(player->CanMove(2));
    player->privilegeLevel = 3;
    EXPECT_TRUE(player->CanMove(4));
    Creature* edge = AddCreature(5, 100 - 17, 100);
    edge->privilegeLevel = 3;
    EXPECT_FALSE(edge->CanMove(2)) << "outside the window there is no tile";
}

class OutfitTest : public CreatureTest {
protected:
    OutfitTest() {
        // Sprites 10..33 (a colourable outfit with its masks) and 370..377,
        // 600..615 (a plain one), 640 a 64 x 64 frame.
        GfxWriter writer;
        GfxImage small(32, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 8; x < 24; ++x)
                small.Set(x, y, 0xFF808080);
        for (int id = 10; id <= 33; ++id)
            writer.Put(id, small);
        for (int id = 370; id <= 377; ++id)
            writer.Put(id, small);
        for (int id = 600; id <= 615; ++id)
            writer.Put(id, small);
        GfxImage large(64, 64);
        large.Set(1, 1, 0xFFFFFFFF);
        writer.Put(640, large);
        test.LoadSprites(writer);
    }
    RecordingEngine& Engine() { return *test.engine(); }
};

TEST_F(OutfitTest, SetOutfitKeepsOrReleasesTheCache) {
    Creature creature;
    creature.name = "Ana";
    creature.DrawOutfit(0, 0, 0);
    ASSERT_EQ(creature.spritesBuilt, 1);
    const int made = Engine().spritesGenerated;
    EXPECT_EQ(made, 16) << "twelve frames and four poses, coloured for this creature";
    int same[9] = {10, 0, 0, 0, 0, 7, 7, 12, 127};
    creature.SetOutfit(same);
    EXPECT_EQ(creature.spritesBuilt, 1);
    same[8] = 126;
    creature.SetOutfit(same);
    EXPECT_EQ(creature.spritesBuilt, 0);
    EXPECT_EQ(Engine().spritesReleased, 16);
    for (Sprite* sprite : creature.sprites)
        EXPECT_EQ(sprite, nullptr);

    // A plain outfit's frames belong to the sprite store: released only there.
    const int plain[9] = {600, 0, 0, 0, 0, 0, 0, 0, 0};
    creature.SetOutfit(plain);
    creature.DrawOutfit(0, 0, 0);
    ASSERT_NE(creature.sprites[0], nullptr);
    const int released = Engine().spritesReleased;
    creature.ReleaseTextures();
    EXPECT_EQ(Engine().spritesReleased, released);
    EXPECT_NE(test.app->sprites->GetSprite(600), nullptr);
}

TEST_F(OutfitTest, DrawOutfitPicksFramesAndAnchorsLargeSprites) {
    const int plain[9] = {600, 0, 0, 0, 0, 0, 0, 0, 0};
    Creature creature;
    creature.name = "Rat";
    creature.SetOutfit(plain);
    const auto drawnSprite = [&](int direction, float progress, int pose, int x = 64, int y = 96) {
        Engine().Clear();
        creature.direction = direction;
        creature.walkProgress = progress;
        creature.DrawOutfit(x, y, pose);
        const auto calls = Engine().Calls("RenderSprite");
        return calls.empty() ? nullptr : calls.back()->sprite;
    };
    const auto store = [&](int id) { return test.app->sprites->GetSprite(id); };
    EXPECT_EQ(drawnSprite(1, 1.0f, 0), store(600));
    EXPECT_EQ(drawnSprite(1, 0.1f, 0), store(601));
    EXPECT_EQ(drawnSprite(1, 0.3f, 0), store(602));
    EXPECT_EQ(drawnSprite(2, 0.6f, 0), store(604));
    EXPECT_EQ(drawnSprite(4, 0.8f, 0), store(611));
    EXPECT_EQ(drawnSprite(5, 1.0f, 0), store(603));
    EXPECT_EQ(drawnSprite(7, 1.0f, 0), store(609));
    EXPECT_EQ(drawnSprite(3, 1.0f, 2), store(601)) << "pose 2: slot 13, the pose frames of 600 start at 600";
    EXPECT_EQ(creature.drawOrder, -2);
    const auto* pose = Engine().Calls("RenderSprite").back();
    EXPECT_EQ(pose->args[0], 64 + 12);
    EXPECT_EQ(pose->args[1], 96 + 12);
    // A facing the server should never send draws facing down, not past the slots.
    for (int bad : {0, 9, 200, -4})
        EXPECT_EQ(drawnSprite(bad, 1.0f, 0), store(600)) << bad;
    EXPECT_EQ(drawnSprite(1, 1.0f, 99), store(603)) << "a pose past the last slot takes the last";

    // A 64 x 64 frame grows up and left from the tile's bottom-right corner.
    const int large[9] = {640, 0, 0, 0, 0, 0, 0, 0, 0};
    creature.SetOutfit(large);
    EXPECT_EQ(drawnSprite(1, 1.0f, 0, 100, 200), store(640));
    const auto* call = Engine().Calls("RenderSprite").back();
    EXPECT_EQ(call->args[0], 100 - 32);
    EXPECT_EQ(call->args[1], 200 - 32);

    // A clone draws the creature it stands for, with that creature's frame.
    Creature clone;
    clone.cloneOf = &creature;
    Engine().Clear();
    clone.DrawOutfit(5, 5, 0);
    ASSERT_EQ(Engine().Count("RenderSprite"), 1u);
    EXPECT_EQ(Engine().Calls("RenderSprite").back()->sprite, store(640));
    // A creature the server sent without a name is no clone: it draws its own figure.
    Creature nameless;
    nameless.SetOutfit(plain);
    Engine().Clear();
    nameless.DrawOutfit(5, 5, 0);
    ASSERT_EQ(Engine().Count("RenderSprite"), 1u);
    EXPECT_EQ(Engine().Calls("RenderSprite").back()->sprite, store(600));
}

TEST_F(OutfitTest, EnragedCreaturesGlow) {
    const int plain[9] = {600, 0, 0, 0, 0, 0, 0, 0, 0};
    Creature creature;
    creature.name = "Rat";
    creature.SetOutfit(plain);
    creature.flags = Creature::kEnraged;
    ResetClocks();
    ASSERT_EQ(GetTicks(), 0u);
    Engine().keepPixels = true;
    creature.DrawOutfit(40, 50, 0);
    EXPECT_EQ(Engine().spritesGenerated, 12 + 16) << "the store's twelve frames and a white silhouette per slot";
    // The last silhouette made (pose frame 615): white where the frame has ink.
    ASSERT_EQ(Engine().lastPixels.size(), 32u * 32u * 4u);
    EXPECT_EQ(Engine().lastPixels[(16 * 32 + 10) * 4 + 3], 255);
    EXPECT_EQ(Engine().lastPixels[(16 * 32 + 10) * 4 + 0], 255);
    EXPECT_EQ(Engine().lastPixels[(16 * 32 + 2) * 4 + 3], 0);

    const auto colors = Engine().Calls("SetColor");
    ASSERT_EQ(colors.size(), 2u);
    EXPECT_EQ(uint32_t(colors[0]->args[0]), 127u << 24 | 0x1E1EFFu) << "alpha 127 at tick 0";
    EXPECT_EQ(uint32_t(colors[1]->args[0]), 0xFFFFFFFFu);
    const auto sprites = Engine().Calls("RenderSprite");
    ASSERT_EQ(sprites.size(), 5u);
    const int expected[5][2] = {{37, 50}, {43, 50}, {40, 47}, {40, 53}, {40, 50}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(sprites[i]->args[0], expected[i][0]) << i;
        EXPECT_EQ(sprites[i]->args[1], expected[i][1]) << i;
    }
    EXPECT_NE(sprites[0]->sprite, sprites[4]->sprite);

    // The swing: nearly full at a quarter period, gone at three quarters.
    const struct {
        uint32_t ms;
        uint32_t alpha;
    } swings[] = {{314, 254}, {942, 0}};
    for (const auto& s : swings) {
        ResetClocks();
        GetTicks();
        Clock().Advance(s.ms);
        Engine().Clear();
        creature.DrawOutfit(40, 50, 0);
        const auto set = Engine().Calls("SetColor");
        ASSERT_FALSE(set.empty());
        EXPECT_EQ(uint32_t(set[0]->args[0]) >> 24, s.alpha) << s.ms;
    }
    creature.ReleaseTextures();
    EXPECT_EQ(Engine().spritesReleased, 16) << "the silhouettes go back to their engine";
}

TEST_F(OutfitTest, ColoursFromTheServerStayInsideThePalette) {
    // Colour 200 and skin 9 as a creature message may carry them.
    const int outfit[9] = {10, 0, 0, 200, 200, 9, 200, 255, 200};
    Creature creature;
    creature.name = "Ana";
    creature.SetOutfit(outfit);
    creature.DrawOutfit(0, 0, 0);
    EXPECT_EQ(Engine().spritesGenerated, 16);
    Sprite* icon = creature.GetOutfitSprite();
    ASSERT_NE(icon, nullptr);
    delete icon;
}

}  // namespace
