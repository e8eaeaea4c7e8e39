// The map-effect messages in the game: what each hands to the map view, and
// the frames around them read on exactly.
#include <gtest/gtest.h>

#include "client/Client.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/LoginFixture.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/FloatingTexts.h"
#include "world/ItemsCache.h"
#include "world/LightMap.h"
#include "world/Map.h"
#include "world/Thing.h"
#include "world/Tile.h"

namespace {

Bytes Ping(uint16_t value) { return Wire().U8(0x19).U16(value).bytes; }

class MapEffectMessagesTest : public LoginTest {
protected:
    void SetUp() override {
        Start();
        protocol().connection->SetState(Connection::kConnected);
        // The game screen, with the player on floor 6 at (100, 100).
        Dispatch(Wire().U8(0x03).U32(5).U32(5).U8(0).U32(1).bytes);
        ASSERT_NE(client->game, nullptr);
        map = client->game->map;
        player = new Creature(map);
        player->id = 5;
        player->name = "Aldric";
        player->SetPosition(100, 100, 6);
        map->AddCreature(player);
        map->camera->SetCreature(player);
        protocol().connection->ClearQueues();
    }
    void TearDown() override { protocol().connection->SetState(Connection::kIdle); }
    Protocol& protocol() { return *client->protocol; }
    // One frame with a ping behind the message: true when the ping was
    // answered, so the message was read to its last byte and no further.
    bool DispatchWithPing(const Bytes& payload) {
        protocol().connection->ClearQueues();
        Dispatch(Join({payload, Ping(0x77)}));
        return protocol().connection->OutgoingCount() == 1;
    }
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        protocol().Dispatch(message);
    }

    Map* map = nullptr;
    Creature* player = nullptr;
};

TEST_F(MapEffectMessagesTest, EffectsAndProjectilesGoOnTheCameraFloor) {
    EffectList& effects = *client->game->effects;
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x11).U8(0).bytes));  // no entries: nothing more is read
    EXPECT_TRUE(effects.records.empty());
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x11).U8(2).U16(101).U16(102).U16(4100).U16(103).U16(104).U16(4110).bytes));
    ASSERT_EQ(effects.records.size(), 2u);
    EXPECT_EQ(effects.records.front().x, 101);
    EXPECT_EQ(effects.records.front().z, 6);
    EXPECT_EQ(effects.records.back().id, 4110);
    EXPECT_EQ(effects.records.back().duration, 400u);
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x15).U16(100).U16(100).U16(103).U16(104).U16(4200).bytes));
    ASSERT_EQ(effects.records.size(), 3u);
    const EffectList::Record& projectile = effects.records.back();
    EXPECT_EQ(projectile.kind, EffectList::kProjectile);
    EXPECT_EQ(projectile.z, 6);  // whatever floor the server meant
    EXPECT_EQ(projectile.targetX, 103);
    EXPECT_EQ(projectile.duration, 350u);
}

TEST_F(MapEffectMessagesTest, AnEffectListCutShortEndsTheFrameWithoutMakingEffects) {
    Dispatch(Wire().U8(0x11).U8(3).U16(101).U16(102).U16(4100).U16(1).bytes);
    EXPECT_EQ(client->game->effects->records.size(), 1u);
}

TEST_F(MapEffectMessagesTest, TextsTargetsDarknessMarkerAndBar) {
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x10).U16(101).U16(99).Str("-17").U8(1).bytes));
    ASSERT_EQ(client->game->floatingTexts->records.size(), 1u);
    EXPECT_EQ(client->game->floatingTexts->records.front().text, "-17");
    EXPECT_EQ(client->game->floatingTexts->records.front().colour, 0xFF1414DCu);

    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x12).U32(77).U32(78).bytes));
    EXPECT_EQ(map->attackTargetId, 77u);
    EXPECT_EQ(map->followTargetId, 78u);

    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x13).U8(60).bytes));
    EXPECT_EQ(LightMap::Instance()->level, 60);

    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x1d).U16(101).U16(102).U8(6).U32(2032).bytes));
    EXPECT_EQ(map->markerPos, (Position{101, 102, 6}));
    EXPECT_EQ(map->markerItemId, 2032);

    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x3f).U8(1).U16(1).U8(40).U16(101).U16(102).U8(6).bytes));
    EXPECT_EQ(map->barVisible, 1);
    EXPECT_EQ(map->barPercent, 40);
    EXPECT_EQ(map->barPos, (Position{101, 102, 6}));
    // Shown 0 is the whole message: opcode and flag.
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x3f).U8(0).bytes));
    EXPECT_EQ(map->barVisible, 0);
    EXPECT_EQ(map->barPercent, 0);
    EXPECT_EQ(map->barPos, (Position{0, 0, 0}));
}

TEST_F(MapEffectMessagesTest, ARemovedItemLeavesItsFadingMarkAndIsFreed) {
    // LeakSanitizer watches the item taken off the tile.
    Tile* tile = map->GetOrCreateTile(Position{101, 100, 6});
    ASSERT_NE(tile, nullptr);
    tile->AddThing(new Thing(300, 1));
    tile->AddThing(new Thing(301, 1));
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x3b).U16(101).U16(100).U8(6).U16(300).bytes));
    ASSERT_EQ(tile->items.size(), 1u);
    EXPECT_EQ(tile->items[0]->GetId(), 301);
    EXPECT_EQ(tile->markItemId, 300);
    // An item that is not there, and a tile that is not there, change nothing.
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x3b).U16(101).U16(100).U8(6).U16(999).bytes));
    EXPECT_EQ(tile->markItemId, 300);
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x3b).U16(500).U16(500).U8(6).U16(301).bytes));
    EXPECT_TRUE(DispatchWithPing(Wire().U8(0x3b).U16(101).U16(101).U8(6).U16(301).bytes));
    EXPECT_EQ(tile->items.size(), 1u);
}

}  // namespace
