// The creature and tile messages and the item records, handed to the
// dispatcher as a server packs them, into the game screen's real map.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "client/Client.h"
#include "engine/InputEvent.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "game/GameInterface.h"
#include "game/StatusLine.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "tests/support/LoginFixture.h"
#include "tools/gfxgen/GfxWriter.h"
#include "world/Creature.h"
#include "world/ItemsCache.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

constexpr uint32_t kPlayer = 0x10000001;
constexpr uint32_t kRat = 0x40000010;
// Item ids the tests define through item records.
constexpr uint16_t kGround = 7501;
constexpr uint16_t kStack = 7502;  // stackable
constexpr uint16_t kWall = 7503;   // blocks walking
constexpr uint16_t kVase = 7504;   // no record: no count byte

struct CreatureData {
    uint8_t flags = 0;
    uint32_t id = 0;
    std::string name;
    uint8_t health = 100;
    uint8_t direction = 1;
    uint16_t speed = 300;
    uint8_t light = 6;
    int outfit[9] = {10, 0, 0, 1, 2, 3, 4, 5, 6};
    uint8_t privilege = 0;
};

Wire& PutCreature(Wire& w, const CreatureData& c) {
    w.U8(c.flags).U32(c.id).Str(c.name).U8(c.health).U8(c.direction).U16(c.speed).U8(c.light);
    for (int i = 0; i < 3; ++i)
        w.U16(uint32_t(c.outfit[i]));
    for (int i = 3; i < 9; ++i)
        w.U8(uint32_t(c.outfit[i]));
    if (c.flags & 1)
        w.U8(c.privilege);
    return w;
}

// One entry of a tile: an item (with a count byte when count >= 0) or a creature.
struct Entry {
    uint16_t id;
    int count = -1;
    const CreatureData* creature = nullptr;
};
using TileContent = std::vector<Entry>;  // empty: the tile is left unchanged

std::vector<int> Floors(int z) {
    std::vector<int> floors;
    if (z <= 7)
        for (int f = 7; f >= 0; --f)
            floors.push_back(f);
    else
        for (int f = z - 2; f <= z + 2 && f <= 15; ++f)
            floors.push_back(f);
    return floors;
}

// An area message; content(x, y, floor) gives each tile, unchanged tiles
// become skip values as a server writes them.
Bytes Area(uint8_t opcode, int w, int h, int x0, int y0, int z, uint8_t flag,
           const std::function<TileContent(int, int, int)>& content) {
    Wire wire;
    wire.U8(opcode).U8(uint32_t(w)).U8(uint32_t(h)).U16(uint32_t(x0)).U16(uint32_t(y0)).U8(uint32_t(z)).U8(flag);
    std::vector<TileContent> tiles;
    for (int f : Floors(z))
        for (int x = x0; x < x0 + w; ++x)
            for (int y = y0; y < y0 + h; ++y)
                tiles.push_back(content(x, y, f));
    size_t i = 0;
    while (i < tiles.size()) {
        if (tiles[i].empty()) {
            size_t run = 1;
            while (i + run < tiles.size() && tiles[i + run].empty() && run < 256)
                ++run;
            wire.U16(uint32_t(0xFF00 + run - 1));
            i += run;
            continue;
        }
        for (const Entry& e : tiles[i]) {
            if (e.creature) {
                PutCreature(wire.U16(10), *e.creature);
            } else {
                wire.U16(e.id);
                if (e.count >= 0)
                    wire.U8(uint32_t(e.count));
            }
        }
        ++i;
        size_t run = 0;
        while (i < tiles.size() && tiles[i].empty() && run < 255) {
            ++run;
            ++i;
        }
        wire.U16(uint32_t(0xFF00 + run));
    }
    return wire.bytes;
}

Bytes ItemRecords() {
    Wire w;
    w.U8(0x31);
    w.U16(kGround).U8(1).U32(0).U16(32).U16(0).Str("Grass").U8(0).U8(100);
    w.U16(kStack).U8(0).U32(0x100).U16(32).U16(0).Str("Coins").U8(0);
    w.U16(kWall).U8(0).U32(0x02).U16(32).U16(0).Str("Wall").U8(0);
    return w.U16(0xFFFF).bytes;
}

Bytes Ping(uint16_t value) { return Wire().U8(0x19).U16(value).bytes; }

class WorldMessagesTest : public LoginTest {
protected:
    ~WorldMessagesTest() override {
        for (uint16_t id : {kGround, kStack, kWall})
            ItemsCache::Instance()->Set(nullptr, id);
    }
    Protocol& protocol() { return *client->protocol; }
    Map& map() { return *client->game->map; }
    Creature* player() { return map().camera->creature; }

    void ConnectToTheWorld() {
        protocol().account = "acc";
        protocol().password = "pw";
        protocol().characterName = "Aldric";
        protocol().Connect(1, {"world"}, 7171);
        ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0 && !sockets->sent.empty(); }));
    }
    // The game has started and a whole view shows the player at (100, 100, 7)
    // on ground, with a wall east of it and a rat two tiles west.
    void EnterTheWorld() {
        Start();
        ConnectToTheWorld();
        DispatchEnterGame(Join({ItemRecords(), EnterGameMessage(kPlayer, kPlayer, 0, 3)}));
        ASSERT_NE(client->game, nullptr);
        Dispatch(FullView(100, 100));
        ASSERT_NE(player(), nullptr);
        protocol().connection->ClearQueues();
    }
    Bytes FullView(int px, int py) {
        return Area(0x05, 20, 16, px - 9, py - 7, 7, 0, [=](int x, int y, int f) -> TileContent {
            if (f != 7)
                return {};
            if (x == px && y == py)
                return {{0, -1, &playerData}, {kGround}};
            if (x == px + 1 && y == py)
                return {{kWall}, {kGround}};
            if (x == px - 2 && y == py)
                return {{0, -1, &ratData}, {kGround}};
            return {{kGround}};
        });
    }
    // Hands one frame straight to the dispatcher; a ping behind it proves
    // that every message before it was read whole.
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(Join({payload, Ping(0x7777)}));
        InMessage message(frame.data(), int(frame.size()));
        const size_t before = protocol().connection->OutgoingCount();
        protocol().Dispatch(message);
        EXPECT_EQ(protocol().connection->OutgoingCount(), before + 1) << "the ping behind the message is answered";
    }
    // The enter-game message: the new game screen also asks to join its chat
    // channels, so more than the ping's answer is queued.
    void DispatchEnterGame(const Bytes& payload) {
        const Bytes frame = Frame(Join({payload, Ping(0x7777)}));
        InMessage message(frame.data(), int(frame.size()));
        const size_t before = protocol().connection->OutgoingCount();
        protocol().Dispatch(message);
        EXPECT_GT(protocol().connection->OutgoingCount(), before + 1) << "the ping and the joins";
    }
    // Ends every step in progress: the creatures' clocks run out.
    void FinishSteps() {
        platform.clock.Advance(5000);
        map().UpdateCreatures(60);
    }

    CreatureData playerData = [] {
        CreatureData c;
        c.id = kPlayer;
        c.name = "Aldric";
        c.direction = 3;
        return c;
    }();
    CreatureData ratData = [] {
        CreatureData c;
        c.id = kRat;
        c.name = "Rat";
        c.speed = 150;
        c.outfit[0] = 600;
        return c;
    }();
};

TEST_F(WorldMessagesTest, AWholeViewRecentresAndFreesTheTiles) {
    EnterTheWorld();
    EXPECT_EQ(player()->position, (Position{100, 100, 7}));
    EXPECT_EQ(map().camera->GetX(), 92);
    EXPECT_EQ(map().camera->GetY(), 94);
    EXPECT_EQ(client->app->title, "Velmora Online (Aldric)");
    EXPECT_EQ(player()->direction, 3);
    EXPECT_EQ(player()->speed, 300.0f);
    Tile* east = map().GetTile(101, 100, 7);
    ASSERT_NE(east, nullptr);
    ASSERT_EQ(east->items.size(), 2u);
    EXPECT_EQ(east->items[0]->GetId(), kGround) << "the ground, sent last, is the first of the list";
    EXPECT_EQ(east->items[1]->GetId(), kWall);
    EXPECT_TRUE(map().GetTile(98, 100, 7)->HasCreature(map().FindCreature(kRat)));
    EXPECT_EQ(map().GetTile(100, 100, 6), nullptr);
    EXPECT_NE(map().GetTile(91, 93, 7), nullptr);
    EXPECT_NE(map().GetTile(91 + 19, 93 + 15, 7), nullptr);
    EXPECT_EQ(map().GetTile(90, 93, 7), nullptr) << "the column left of the area is not sent";

    // The next whole view, one tile further, starts from nothing.
    Tile* before = map().GetTile(105, 100, 7);
    before->AddThing(new Thing(kVase, 1));
    Dispatch(FullView(101, 100));
    EXPECT_EQ(player()->position, (Position{101, 100, 7}));
    EXPECT_EQ(map().camera->x, 93);
    EXPECT_EQ(map().GetTile(105, 100, 7)->items.size(), 1u);

    // Other sizes leave what they skip as it was.
    map().GetTile(105, 101, 7)->AddThing(new Thing(kVase, 1));
    Dispatch(Area(0x09, 1, 2, 105, 100, 7, 1, [](int, int y, int f) -> TileContent {
        return f == 7 && y == 100 ? TileContent{{kVase}, {kGround}} : TileContent{};
    }));
    EXPECT_EQ(map().GetTile(105, 100, 7)->items.size(), 2u);
    EXPECT_EQ(map().GetTile(105, 101, 7)->items.size(), 2u);
    EXPECT_EQ(map().camera->protectionArea, 1);
}

TEST_F(WorldMessagesTest, ASkipRunsOnAcrossColumnsAndFloors) {
    EnterTheWorld();
    // Two columns of one tile on floors 7 and 6, all known beforehand.
    for (int z : {5, 6, 7})
        for (int x : {103, 104})
            map().GetOrCreateTile(Position{x, 102, z})->AddThing(new Thing(kVase, 1));
    const Bytes area = Wire()
                           .U8(0x05).U8(2).U8(1).U16(103).U16(102).U8(7).U8(0)
                           .U16(kStack).U8(7).U16(0xFF00 + 3)  // (103, 102, 7) then skip three tiles
                           .U16(kGround).U16(0xFF00 + 255)     // (104, 102, 5) and the rest
                           .bytes;
    Dispatch(area);
    const auto ids = [&](int x, int z) {
        std::vector<int> out;
        for (Thing* t : map().GetTile(x, 102, z)->items)
            out.push_back(t->GetId());
        return out;
    };
    EXPECT_EQ(ids(103, 7), (std::vector<int>{kStack}));
    EXPECT_EQ(map().GetTile(103, 102, 7)->items[0]->GetCount(), 7);
    EXPECT_EQ(ids(104, 7), (std::vector<int>{kVase, kGround}));
    EXPECT_EQ(ids(103, 6), (std::vector<int>{kVase}));
    EXPECT_EQ(ids(104, 6), (std::vector<int>{kVase}));
    EXPECT_EQ(ids(103, 5), (std::vector<int>{kGround}));
    EXPECT_EQ(ids(104, 5), (std::vector<int>{kVase}));
}

TEST_F(WorldMessagesTest, ATruncatedAreaEmptiesTheRest) {
    EnterTheWorld();
    for (int y : {100, 101, 102})
        map().GetOrCreateTile(Position{96, y, 7})->AddThing(new Thing(kVase, 1));
    // The frame ends inside a creature of the first tile: no ping can follow.
    // What is read past the end is 0, so each later tile is cleared and ends.
    const Bytes cut = Wire().U8(0x09).U8(1).U8(3).U16(96).U16(100).U8(9).U8(0).U16(kVase).U16(10).U8(0).U8(0).bytes;
    const Bytes frame = Frame(cut);
    InMessage message(frame.data(), int(frame.size()));
    protocol().Dispatch(message);
    ASSERT_EQ(map().GetTile(96, 100, 7)->items.size(), 1u);
    EXPECT_EQ(map().GetTile(96, 100, 7)->items[0]->GetId(), kVase);
    for (int y : {101, 102})
        EXPECT_TRUE(map().GetTile(96, y, 7)->items.empty()) << y;
}

TEST_F(WorldMessagesTest, TileUpdatesAndCountBytes) {
    EnterTheWorld();
    const Bytes update = Wire()
                             .U8(0x2c).U16(99).U16(101).U8(7)
                             .U16(kStack).U8(33).U16(kVase).U16(kGround).U16(0xFFFF)
                             .bytes;
    Dispatch(update);
    const Tile* tile = map().GetTile(99, 101, 7);
    ASSERT_EQ(tile->items.size(), 3u);
    EXPECT_EQ(tile->items[0]->GetId(), kGround);
    EXPECT_EQ(tile->items[2]->GetId(), kStack);
    EXPECT_EQ(tile->items[2]->GetCount(), 33);
    EXPECT_EQ(tile->items[1]->GetCount(), 1);

    // A tile with a creature keeps it; a floor that does not exist reads and drops.
    Dispatch(Wire().U8(0x2c).U16(98).U16(100).U8(7).U16(kGround).U16(0xFFFF).bytes);
    EXPECT_TRUE(map().GetTile(98, 100, 7)->HasCreature(map().FindCreature(kRat)));
    Dispatch(Wire().U8(0x2c).U16(98).U16(100).U8(200).U16(kStack).U8(3).U16(0xFFFF).bytes);
}

TEST_F(WorldMessagesTest, ListsThatEndInAnOddByteEndThere) {
    EnterTheWorld();
    // The frame ends one byte into the next id; that byte is read as the
    // next opcode (0x23, which carries nothing).
    const Bytes cases[] = {
        Wire().U8(0x2c).U16(99).U16(99).U8(7).U16(kStack).U8(2).U16(kVase).U8(0x23).bytes,
        Wire().U8(0x31).U16(7601).U8(0).U32(0).U16(32).U16(0).Str("Odd").U8(0).U8(0x23).bytes,
    };
    for (const Bytes& payload : cases) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        protocol().Dispatch(message);
        EXPECT_EQ(message.Remaining(), 0);
    }
    EXPECT_TRUE(platform.boxes.shown.empty());
    EXPECT_EQ(map().GetTile(99, 99, 7)->items.size(), 2u);
    EXPECT_EQ(ItemsCache::Instance()->GetName(7601), "Odd");
    ItemsCache::Instance()->Set(nullptr, 7601);
}

TEST_F(WorldMessagesTest, CreatureMessages) {
    EnterTheWorld();
    // The player's own creature at a new place: data, no move.
    CreatureData moved = playerData;
    moved.health = 40;
    moved.direction = 2;
    moved.flags = 0x01;
    moved.privilege = 4;
    Dispatch(PutCreature(Wire().U8(0x06).U16(105).U16(105).U8(7), moved).bytes);
    EXPECT_EQ(player()->position, (Position{100, 100, 7}));
    EXPECT_EQ(player()->health, 40);
    EXPECT_EQ(player()->direction, 2);
    EXPECT_EQ(player()->privilegeLevel, 4);

    // Another creature moves; a direction that is none of the eight is not taken.
    CreatureData rat = ratData;
    rat.direction = 9;
    Dispatch(PutCreature(Wire().U8(0x06).U16(97).U16(101).U8(7), rat).bytes);
    Creature* r = map().FindCreature(kRat);
    EXPECT_EQ(r->position, (Position{97, 101, 7}));
    EXPECT_TRUE(map().GetTile(97, 101, 7)->HasCreature(r));
    EXPECT_FALSE(map().GetTile(98, 100, 7)->HasCreature(r));
    EXPECT_EQ(r->direction, 1);

    // Mid-step a creature keeps its direction.
    r->direction = 4;
    r->Step();
    rat.direction = 2;
    Dispatch(PutCreature(Wire().U8(0x06).U16(98).U16(101).U8(7), rat).bytes);
    EXPECT_EQ(r->direction, 4);

    // A new one outside the window, and one on a floor that does not exist.
    CreatureData far = ratData;
    far.id = 0x40000020;
    Dispatch(PutCreature(Wire().U8(0x06).U16(300).U16(300).U8(7), far).bytes);
    ASSERT_NE(map().FindCreature(far.id), nullptr);
    far.id = 0x40000021;
    Dispatch(PutCreature(Wire().U8(0x06).U16(100).U16(100).U8(40), far).bytes);
    ASSERT_NE(map().FindCreature(far.id), nullptr);
    EXPECT_FALSE(map().GetTile(100, 100, 7)->HasCreature(map().FindCreature(far.id)));

    // Removal; the player stays.
    Dispatch(Wire().U8(0x07).U32(0x40000020).U8(0x07).U32(kPlayer).U8(0x07).U32(12345).bytes);
    EXPECT_EQ(map().FindCreature(0x40000020), nullptr);
    EXPECT_EQ(map().FindCreature(kPlayer), player());
}

// The server announces the player's creature and removes it again before
// the camera has followed anyone: the player stays, and the next pass draws
// it instead of reading a freed creature.
TEST_F(WorldMessagesTest, ThePlayerAnnouncedAndRemovedBeforeTheCameraFollowsItStays) {
    Start();
    ConnectToTheWorld();
    DispatchEnterGame(Join({ItemRecords(), EnterGameMessage(kPlayer, kPlayer, 0, 3)}));
    ASSERT_NE(client->game, nullptr);
    ASSERT_EQ(player(), nullptr);
    Dispatch(Join({PutCreature(Wire().U8(0x06).U16(100).U16(100).U8(7), playerData).bytes,
                   Wire().U8(0x07).U32(kPlayer).bytes}));
    ASSERT_NE(map().FindCreature(kPlayer), nullptr);
    EXPECT_EQ(player(), map().FindCreature(kPlayer));
    client->RunPass();
    EXPECT_EQ(client->app->title, "Velmora Online (Aldric)");
}

TEST_F(WorldMessagesTest, TheFourKindsOfStep) {
    EnterTheWorld();
    Creature* rat = map().FindCreature(kRat);
    // 1. At rest: it steps and stops after the step.
    Dispatch(Wire().U8(0x08).U32(kRat).U8(1).bytes);
    EXPECT_EQ(rat->position, (Position{98, 101, 7}));
    EXPECT_EQ(rat->direction, 1);
    EXPECT_EQ(rat->stopped, 1);
    EXPECT_NE(rat->clone, nullptr);
    // 2. Another creature in a step: that step ends first.
    Dispatch(Wire().U8(0x08).U32(kRat).U8(4).bytes);
    EXPECT_EQ(rat->position, (Position{99, 101, 7}));
    EXPECT_LT(rat->walkProgress, 1.0f);
    // Unknown ids and directions that are none of the eight change nothing.
    Dispatch(Wire().U8(0x08).U32(999).U8(1).U8(0x08).U32(kRat).U8(0).U8(0x08).U32(kRat).U8(12).bytes);
    EXPECT_EQ(rat->position, (Position{99, 101, 7}));
    FinishSteps();

    // 3. The player, stopped but its step still drawn.
    map().camera->Walk(3, false);
    player()->StopWalk();
    ASSERT_EQ(player()->position, (Position{100, 99, 7}));
    Dispatch(Wire().U8(0x08).U32(kPlayer).U8(2).bytes);
    EXPECT_EQ(player()->position, (Position{99, 99, 7}));
    EXPECT_EQ(player()->stopped, 1);
    FinishSteps();

    // 4. The player walking on its own: the server's step first, then the
    // player's step again from there.
    map().camera->Walk(1, false);
    ASSERT_EQ(player()->position, (Position{99, 100, 7}));
    ASSERT_EQ(player()->stopped, 0);
    Dispatch(Wire().U8(0x08).U32(kPlayer).U8(4).bytes);
    EXPECT_EQ(player()->position, (Position{100, 100, 7})) << "back to (99, 99), right to (100, 99), down again";
    EXPECT_EQ(player()->direction, 1);
    EXPECT_EQ(player()->stopped, 0);
    EXPECT_LT(player()->walkProgress, 1.0f);
}

TEST_F(WorldMessagesTest, ARefusedWalkTakesThePredictedStepBack) {
    EnterTheWorld();
    map().camera->Walk(2, false);
    ASSERT_EQ(player()->position, (Position{99, 100, 7}));
    Dispatch(Wire().U8(0x0a).Str("Sorry, not possible.").U8(0).bytes);
    EXPECT_EQ(player()->position, (Position{100, 100, 7}));
    EXPECT_EQ(player()->stopped, 1);
    EXPECT_EQ(player()->clone, nullptr);
    EXPECT_EQ(StatusLine::Instance()->statusText, "Sorry, not possible.");
    EXPECT_TRUE(map().GetTile(100, 100, 7)->HasCreature(player()));
    EXPECT_FALSE(map().GetTile(99, 100, 7)->HasCreature(player()));
    // And the player can walk again at once.
    map().camera->Walk(3, false);
    EXPECT_EQ(player()->position, (Position{100, 99, 7}));
}

// The status line outlives the game screen: the refusal's text stands in it
// as a status text (0x0f) would, and there is no step to take back.
TEST_F(WorldMessagesTest, ARefusedWalkBeforeTheGameOnlySetsTheStatusText) {
    Start();
    ConnectToTheWorld();
    StatusLine::Instance()->SetText("");
    Dispatch(Wire().U8(0x0a).Str("There is no way.").U8(0xFF).bytes);
    EXPECT_EQ(client->game, nullptr);
    EXPECT_EQ(StatusLine::Instance()->statusText, "There is no way.");
}

TEST_F(WorldMessagesTest, AStripAfterAStepOfThePlayer) {
    EnterTheWorld();
    map().camera->Walk(2, false);
    // The server confirms with the column that came into view.
    Dispatch(Area(0x09, 1, 16, 99 - 9, 100 - 7, 7, 0, [](int, int, int f) -> TileContent {
        return f == 7 ? TileContent{{kGround}} : TileContent{};
    }));
    EXPECT_EQ(player()->stopped, 1);
    EXPECT_NE(map().GetTile(90, 93, 7), nullptr);
    EXPECT_EQ(map().GetTile(111, 100, 7), nullptr) << "the column behind left the window";
    FinishSteps();
    EXPECT_EQ(player()->clone, nullptr);
}

TEST_F(WorldMessagesTest, AWholeViewWhileThePlayerWalksRedoesItsStep) {
    EnterTheWorld();
    map().camera->Walk(3, false);
    ASSERT_EQ(player()->position, (Position{100, 99, 7}));
    // The server puts the player at (105, 100) and the step is made from there.
    Dispatch(FullView(105, 100));
    EXPECT_EQ(player()->position, (Position{105, 99, 7}));
    EXPECT_EQ(player()->direction, 3);
    EXPECT_LT(player()->walkProgress, 1.0f);
    EXPECT_TRUE(map().GetTile(105, 99, 7)->HasCreature(player()));
}

TEST_F(WorldMessagesTest, AreasOnFloorsThatDoNotExistAreDropped) {
    EnterTheWorld();
    for (int z : {16, 17, 200}) {
        Dispatch(Area(0x05, 20, 16, 90, 90, z, 1, [](int, int, int) { return TileContent{{kGround}}; }));
        EXPECT_EQ(map().camera->GetZ(), 7) << z;
        EXPECT_EQ(player()->position, (Position{100, 100, 7})) << z;
        EXPECT_EQ(map().camera->protectionArea, 0) << z;
    }
    // Floors 12 to 15 below ground are fine.
    Dispatch(Area(0x05, 1, 1, 100, 100, 14, 0, [](int, int, int) { return TileContent{{kGround}}; }));
    EXPECT_NE(map().GetTile(100, 100, 15), nullptr);
}

TEST_F(WorldMessagesTest, OddColoursFromTheServerDrawInsideThePalette) {
    EnterTheWorld();
    GfxWriter writer;
    GfxImage frame(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            frame.Set(x, y, 0xFFC8C8C8);
    GfxImage mask(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            mask.Set(x, y, (x < 8 ? 0xFF00FFFF : x < 16 ? 0xFF0000FF : x < 24 ? 0xFF00FF00 : 0xFFFF0000));
    for (int id = 10; id <= 21; ++id)
        writer.Put(id, frame);
    for (int id = 22; id <= 33; ++id)
        writer.Put(id, mask);
    client->app->sprites->LoadFromBytes(writer.Bytes(1500000000));
    CreatureData odd = playerData;
    for (int i = 3; i < 9; ++i)
        odd.outfit[i] = 200;
    odd.outfit[5] = 9;
    Dispatch(PutCreature(Wire().U8(0x06).U16(100).U16(100).U8(7), odd).bytes);
    player()->DrawOutfit(0, 0, 0);
    EXPECT_EQ(player()->spritesBuilt, 1);
    EXPECT_NE(player()->sprites[0], nullptr);
}

TEST_F(WorldMessagesTest, TheGameScreenWalksWhileAnArrowKeyIsHeld) {
    EnterTheWorld();
    // What the client queued since the last look (the pongs of Dispatch aside).
    const auto requests = [&] {
        const size_t queued = protocol().connection->OutgoingCount();
        protocol().connection->ClearQueues();
        return queued;
    };
    client->game->Update();
    EXPECT_EQ(requests(), 0u);
    // The key's press reaches the game screen as an event, which marks it held.
    InputEvent press;
    press.type = InputEvent::KeyDown;
    press.a = platform::kVkUp;
    client->game->HandleEvent(press);
    client->game->Update();
    client->game->Update();
    EXPECT_EQ(requests(), 1u) << "one step, then the step in progress";
    EXPECT_EQ(player()->position, (Position{100, 99, 7}));
    // The server confirms; the step runs out on the clock; the next one goes.
    Dispatch(Area(0x09, 20, 1, 91, 92, 7, 0, [](int, int, int f) -> TileContent {
        return f == 7 ? TileContent{{kGround}} : TileContent{};
    }));
    requests();
    platform.clock.Advance(499);
    client->game->Update();
    EXPECT_EQ(requests(), 0u);
    EXPECT_EQ(player()->position, (Position{100, 99, 7}));
    platform.clock.Advance(1);
    client->game->Update();
    client->game->Update();
    EXPECT_EQ(requests(), 1u);
    EXPECT_EQ(player()->position, (Position{100, 98, 7}));
    InputEvent release = press;
    release.type = InputEvent::KeyUp;
    client->game->HandleEvent(release);
    platform.clock.Advance(1000);
    client->game->Update();
    client->game->Update();
    EXPECT_EQ(player()->position, (Position{100, 98, 7})) << "released: no more steps";
}

TEST_F(WorldMessagesTest, TheItemsCacheVersionNamesRecordsReceived) {
    // Records before the game: the announced version is saved with them.
    Start();
    ConnectToTheWorld();
    const uint32_t held = ItemsCache::Instance()->version;
    DispatchEnterGame(Join({ItemRecords(), EnterGameMessage(kPlayer, kPlayer, 0, held + 7)}));
    EXPECT_EQ(ItemsCache::Instance()->version, held + 7);
    ASSERT_NE(ItemsCache::Instance()->Get(kStack), nullptr);
    EXPECT_EQ(ItemsCache::Instance()->GetName(kStack), "Coins");

    // No records at the next login: the file keeps the version it has.
    Restart();
    ConnectToTheWorld();
    DispatchEnterGame(EnterGameMessage(kPlayer, kPlayer, 0, held + 100));
    EXPECT_EQ(ItemsCache::Instance()->version, held + 7);
    ItemsCache reread;
    ASSERT_TRUE(reread.LoadFile(ItemsCache::FilePath()));
    EXPECT_EQ(reread.version, held + 7);
}

}  // namespace
