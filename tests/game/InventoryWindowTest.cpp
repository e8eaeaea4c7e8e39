// The equipment window: its cells in both modes, the hit test, the condition
// strip with its tooltips, and messages 0x0c and 0x1a as the server sends them.
#include <algorithm>
#include <string>
#include <vector>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/ThingActions.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "sidewindows/Inventory.h"
#include "tests/support/GameFixture.h"
#include "tests/support/LoginFixture.h"
#include "world/Camera.h"
#include "world/Map.h"
#include "world/Thing.h"

namespace {

Bytes Ping() { return Wire().U8(0x19).U16(0x4242).bytes; }

// Slot k holds item 7000 + k with count k.
Bytes Equipment() {
    Wire wire;
    wire.U8(0x0c);
    for (int k = 1; k <= 13; ++k)
        wire.U16(uint32_t(7000 + k)).U8(uint32_t(k));
    return wire.bytes;
}

Bytes Conditions(const std::vector<uint32_t>& ids) {
    Wire wire;
    wire.U8(0x1a).U8(uint32_t(ids.size()));
    for (uint32_t id : ids)
        wire.U32(id);
    // Two buffs, the first with times whose milliseconds pass the int range.
    wire.U8(2).Str("Haste").U32(0xFFFFFFFF).U32(0xFFFFFFFF).U8(1).Str("").U32(1).U32(2).U8(0);
    return wire.bytes;
}

class InventoryTest : public GameTest {
protected:
    void Enter() {
        Start();
        connection().SetState(Connection::kConnected);
        connection().ClearQueues();
    }
    Connection& connection() { return *client->protocol->connection; }
    Inventory& inventory() { return *game().inventory; }
    // Every message is read to its end: the ping behind it is answered.
    void Dispatch(const Bytes& payload) {
        connection().ClearQueues();
        const Bytes frame = Frame(Join({payload, Ping()}));
        InMessage message(frame.data(), int(frame.size()));
        client->protocol->Dispatch(message);
        EXPECT_EQ(message.Remaining(), 0);
        EXPECT_EQ(connection().OutgoingCount(), 1u) << "the ping behind the message";
    }
    std::vector<int> Shown() {
        std::vector<int> ids;
        for (const InventorySlot* slot : inventory().VisibleSlots())
            ids.push_back(slot->slotId);
        return ids;
    }
    // The condition strip's keys; the hotkey bar's lie below 300.
    std::vector<int> TooltipKeys() {
        std::vector<int> keys;
        for (const auto& [key, region] : client->app->gui->tooltips)
            if (key >= 300)
                keys.push_back(key);
        return keys;
    }
};

TEST_F(InventoryTest, EquipmentIsAlwaysThirteenPairs) {
    // Before the game there is no window: the pairs are read and dropped.
    client = &fixture.StartClient();
    connection().SetState(Connection::kConnected);
    Dispatch(Equipment());
    fixture.client.reset();

    Enter();
    Dispatch(Equipment());
    for (int k : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13}) {
        const InventorySlot* slot = inventory().FindSlot(k, true);
        ASSERT_NE(slot, nullptr) << k;
        EXPECT_EQ(slot->itemId, 7000 + k) << k;
        EXPECT_EQ(slot->count, k) << k;
    }
    EXPECT_EQ(inventory().FindSlot(11, true), nullptr) << "slot 11 has no cell";
}

TEST_F(InventoryTest, CompactModeShowsAndHitsOnlyTheHandsAndNeck) {
    Enter();
    EXPECT_EQ(Shown(), (std::vector<int>{8, 1, 7, 5, 2, 6, 9, 3, 10, 12, 4, 13}));
    EXPECT_EQ(inventory().dialog->height, Inventory::kFullHeight);
    const int width = inventory().dialog->width;
    Inventory::ToggleExpanded(&inventory());
    EXPECT_EQ(Shown(), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(inventory().dialog->height, Inventory::kCompactHeight);
    EXPECT_EQ(inventory().FindSlot(8, false), nullptr);
    EXPECT_NE(inventory().FindSlot(8, true), nullptr);
    EXPECT_EQ(inventory().FindSlot(6, false)->slotId, 6);
    // The mouse actions read an equipment position back through the shown cells only.
    Dispatch(Equipment());
    const Position hidden{65535, 0, 8 - 1};
    EXPECT_EQ(game().thingActions->ThingAt(hidden), nullptr);
    Thing* shown = game().thingActions->ThingAt(Position{65535, 0, 6 - 1});
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->GetId(), 7006);
    delete shown;
    const int fx = inventory().dialog->x;
    const int fy = inventory().dialog->y;
    const int x0 = (width - 149) / 2 + 8;
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(inventory().HitSlot(fx + x0 + 45 * column + 20, fy + 45 + 20)->slotId, 5 + column);
    // Where the full layout has its second and third rows, nothing.
    EXPECT_EQ(inventory().HitSlot(fx + x0 + 20, fy + 90 + 20), nullptr);
    EXPECT_EQ(inventory().HitSlot(fx + x0 + 20, fy + 135 + 20), nullptr);
    Inventory::ToggleExpanded(&inventory());
    EXPECT_EQ(inventory().dialog->height, Inventory::kFullHeight);
    EXPECT_EQ(inventory().dialog->width, width);
    EXPECT_EQ(inventory().HitSlot(fx + x0 + 20, fy + 90 + 20)->slotId, 5);
}

TEST_F(InventoryTest, CellsAre41PixelsToHit) {
    Enter();
    const int sx = inventory().dialog->x + (inventory().dialog->width - 149) / 2 + 8;  // slot 8's cell
    const int sy = inventory().dialog->y + 45;
    const struct {
        int dx;
        int dy;
        int slot;  // 0: none
    } cases[] = {{0, 0, 8}, {41, 41, 8}, {42, 10, 0}, {45, 10, 1}, {10, 42, 0}, {10, 45, 5}, {-1, 10, 0}, {10, -1, 0}};
    for (const auto& c : cases) {
        const InventorySlot* hit = inventory().HitSlot(sx + c.dx, sy + c.dy);
        EXPECT_EQ(hit ? hit->slotId : 0, c.slot) << c.dx << ", " << c.dy;
    }
    inventory().ToggleMinimize(true);
    EXPECT_EQ(inventory().HitSlot(sx + 10, sy + 10), nullptr) << "minimised";
}

TEST_F(InventoryTest, ConditionsThatBlockAnImmediateLogout) {
    const struct {
        uint32_t condition;
        bool blocks;
    } cases[] = {{1104, true}, {1115, true}, {1668, true}, {1535, false}, {5913, false}, {6448, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.condition);
        Enter();
        Dispatch(Conditions({c.condition}));
        EXPECT_TRUE(inventory().HasCondition(int(c.condition)));
        connection().ClearQueues();
        Client::OnCloseRequest();
        EXPECT_EQ(client->app->running, c.blocks) << "a blocking condition asks first";
        EXPECT_EQ(connection().OutgoingCount(), c.blocks ? 0u : 1u) << "the logout";
        fixture.client.reset();
    }
}

TEST_F(InventoryTest, EachConditionsMessageReplacesTheSet) {
    Enter();
    Dispatch(Conditions({1104, 0, 0x80000000, 1535}));
    EXPECT_EQ(inventory().conditions, (std::map<int, bool>{{1104, true}, {1535, true}}));
    Dispatch(Conditions({5913}));
    EXPECT_EQ(inventory().conditions, (std::map<int, bool>{{5913, true}}));
    Dispatch(Conditions({}));
    EXPECT_TRUE(inventory().conditions.empty());
}

TEST_F(InventoryTest, TooltipsOnlyForConditionsWithATextAndTheProtectionAreaFromTheMap) {
    Enter();
    // 1200 has no text, 0x7FFFFFFF no sprite: both drawn without a tooltip.
    Dispatch(Conditions({1200, 1104, 5913, 0x7FFFFFFF}));
    DrawFrame();
    EXPECT_EQ(TooltipKeys(), (std::vector<int>{300, 301}));
    EXPECT_FALSE(inventory().conditions.at(Inventory::kProtectionArea)) << "outside a protection area";

    game().map->camera->protectionArea = 1;
    DrawFrame();
    EXPECT_TRUE(inventory().conditions.at(Inventory::kProtectionArea));
    EXPECT_EQ(TooltipKeys(), (std::vector<int>{300, 301, 302}));
    const auto& regions = client->app->gui->tooltips;
    EXPECT_EQ(regions.at(302)->lines, std::vector<std::string>{"Inside a protection area, safe from all attacks."});

    // Many conditions: all drawn, the tooltip keys stay within 300 .. 319.
    std::vector<uint32_t> many;
    for (uint32_t id = 1; id <= 40; ++id)
        many.push_back(id);
    Dispatch(Conditions(many));
    DrawFrame();
    for (int key : TooltipKeys())
        EXPECT_TRUE(key >= 300 && key < 320) << key;
}

TEST_F(InventoryTest, ItemsAndPlaceholdersOutsideTheSpriteRangeDrawNothing) {
    Enter();
    Wire wire;
    wire.U8(0x0c);
    for (int k = 1; k <= 13; ++k)
        wire.U16(k % 2 ? 0xFFFF : 20000).U8(255);
    Dispatch(wire.bytes);
    DrawFrame();
    inventory().SetMouse(inventory().dialog->x + 60, inventory().dialog->y + 60, true);
    DrawFrame();
    Inventory::ToggleExpanded(&inventory());
    DrawFrame();
}

TEST_F(InventoryTest, TheExpandButtonHidesWhileMinimised) {
    Enter();
    DrawFrame();
    GUIButton* button = dynamic_cast<GUIButton*>(client->app->gui->FindControl(Inventory::kExpandButtonId));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->icon, 891);
    Inventory::ToggleExpanded(&inventory());
    EXPECT_EQ(button->icon, 892);
    inventory().ToggleMinimize(true);
    EXPECT_TRUE(button->HasFlag(GUIControl::kHidden));
    inventory().ToggleMinimize(true);
    EXPECT_FALSE(button->HasFlag(GUIControl::kHidden));
    EXPECT_EQ(inventory().dialog->height, Inventory::kCompactHeight);
}

}  // namespace
