// The house management as the server feeds it (0x28) and the player uses it:
// the module's data in wire order, the four pages, the two person lists and
// their check boxes, the save and the other requests byte for byte, the
// drawing, and the limits that keep a save sendable.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "dialogs/trade/HouseDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "engine/SpriteStore.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/GuiInput.h"
#include "tests/support/ServerDialogFixture.h"

namespace {

using namespace GameIds;

// The client is 1000 x 700: the dialog stands at (251, 141), 498 x 418.
constexpr int kX = 251;
constexpr int kY = 141;

struct Decoration {
    uint32_t id;
    std::string name;
    std::string detail;
};

// What a 0x28 message carries; by default the house of the fake server.
struct HouseData {
    std::string name = "Harbour Lane 4";
    uint32_t x = 130, y = 125, z = 7;
    uint32_t accessLevel = 2;
    uint32_t rights = 7;
    std::vector<std::pair<std::string, uint32_t>> invites = {{"Ivo", 0}};
    std::vector<std::pair<std::string, uint32_t>> permissions = {{"Mira", 2}};
    std::vector<Decoration> decorations = {{120, "Flower", "2 premium cards"}, {130, "Torch", "3 premium cards"}};
};

Bytes HouseMessage(const HouseData& house) {
    Wire wire;
    wire.U8(0x28).Str(house.name).U16(house.x).U16(house.y).U8(house.z).U8(house.accessLevel).U8(house.rights);
    wire.U8(uint32_t(house.invites.size()));
    for (const auto& [name, flag] : house.invites)
        wire.Str(name).U8(flag);
    wire.U8(uint32_t(house.permissions.size()));
    for (const auto& [name, rights] : house.permissions)
        wire.Str(name).U8(rights);
    wire.U8(uint32_t(house.decorations.size()));
    for (const Decoration& item : house.decorations)
        wire.U32(item.id).Str(item.name).Str(item.detail);
    return wire.bytes;
}

Bytes Ping(uint16_t value) { return Wire().U8(0x19).U16(value).bytes; }

class HouseTest : public ServerDialogTest {
protected:
    HouseDialog& house() { return *game().house; }
    void Open(const HouseData& data = HouseData()) {
        Dispatch(HouseMessage(data));
        gui().Update();
    }
    GUIControl* Control(int32_t id) { return Find<GUIControl>(id); }
    bool Hidden(int32_t id) { return Control(id)->HasFlag(GUIControl::kHidden); }
    bool Disabled(int32_t id) { return Control(id)->HasFlag(GUIControl::kDisabled); }
    bool Checked(int32_t id) { return Find<GUICheckbox>(id)->checked; }
    // The rows of a list as "label|right-hand text".
    std::vector<std::string> Rows(int32_t id) {
        std::vector<std::string> rows;
        for (const GUISelectItem& item : Find<GUISelect>(id)->items)
            rows.push_back(item.text + "|" + item.rightText);
        return rows;
    }
    GUITab* Tab(const std::string& caption) {
        for (GUITab* tab : Find<GUITabgroup>(kHouseTabs)->GetTabs())
            if (tab->caption == caption)
                return tab;
        return nullptr;
    }
    void ShowPage(const std::string& caption) {
        GUITab* tab = Tab(caption);
        ASSERT_NE(tab, nullptr) << caption;
        Click(tab);
    }
    // Clicks into a text box and types over what it holds.
    void Type(int32_t box, const std::string& text) {
        Find<GUITextbox>(box)->SetText("");
        Click(Control(box));
        GuiInput(*client->app, fixture.platform.keys).Type(text);
    }
    void ClickRow(int32_t list, int row) {
        const GUISelect* select = Find<GUISelect>(list);
        Click(select->x + 20, select->y + 1 + row * select->rowHeight + select->rowHeight / 2);
    }
    // Where the last frame drew a picture of the first decoration row: in
    // the list's row and in the preview, each with its size.
    std::vector<std::string> ItemPictures() {
        std::vector<std::string> places;
        const GUISelect* list = Find<GUISelect>(kHouseDecorations);
        for (const RecordedCall* call : engine().Calls("RenderSprite")) {
            const std::string size = std::to_string(int(call->args[2])) + "x" + std::to_string(int(call->args[3]));
            if (call->args[0] == list->x + 6 && call->args[1] == list->y + 6)
                places.push_back("list " + size);
            else if (call->args[0] == kX + 40 && call->args[1] == kY + 306)
                places.push_back("preview " + size);
        }
        return places;
    }
    void AddName(const std::string& name) {
        Type(kHouseName, name);
        Click(Control(kHouseAdd));
    }
    // The save request of a record, as the server reads it.
    static Bytes Save(uint32_t x, uint32_t y, uint32_t z, const std::vector<std::pair<std::string, int>>& invites,
                      const std::vector<std::pair<std::string, int>>& permissions) {
        Wire wire;
        wire.U8(0x25).U16(x).U16(y).U8(z).U8(uint32_t(invites.size()));
        for (const auto& [name, flag] : invites)
            wire.Str(name).U8(uint32_t(flag));
        wire.U8(uint32_t(permissions.size()));
        for (const auto& [name, rights] : permissions)
            wire.Str(name).U8(uint32_t(rights));
        return wire.bytes;
    }
};

// --- The server's message ---

TEST_F(HouseTest, TheMessageFillsTheModuleInWireOrderAndOpensTheWindow) {
    Enter();
    HouseData data;
    data.x = 0xFFFF;
    data.z = 255;
    data.accessLevel = 200;
    data.rights = 0xF6;
    // A sub-owner byte of 2 or 255 is set; repeated names stay, in order.
    data.invites = {{"Ivo", 0}, {"Ann", 2}, {"Ivo", 255}};
    data.permissions = {{"Mira", 0xFF}, {"Mira", 5}};
    Open(data);

    EXPECT_EQ(house().name, "Harbour Lane 4");
    EXPECT_EQ(house().record.position, (Position{65535, 125, 255})) << "widened without a sign";
    EXPECT_EQ(house().accessLevel, 200);
    EXPECT_EQ(house().grantableRights, 0xF6);
    ASSERT_EQ(house().record.invites.size(), 3u);
    const std::vector<std::tuple<std::string, bool>> invites = {{"Ivo", false}, {"Ann", true}, {"Ivo", true}};
    for (size_t i = 0; i < invites.size(); ++i)
        EXPECT_EQ(std::make_tuple(house().record.invites[i].name, house().record.invites[i].subOwner), invites[i]);
    ASSERT_EQ(house().record.tilePermissions.size(), 2u);
    EXPECT_EQ(house().record.tilePermissions[0].rights, 0xFFu) << "all eight bits";
    EXPECT_EQ(house().record.tilePermissions[1].rights, 5u);
    ASSERT_EQ(house().decorationItems.size(), 2u);
    EXPECT_EQ(house().decorationItems[1].id, 130u);
    EXPECT_EQ(house().decorationItems[1].detail, "3 premium cards");
    EXPECT_NE(Control(HouseDialog::kDialogId), nullptr);
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Ivo|", "Ann|Sub owner", "Ivo|Sub owner"}));

    // The eight bits go back unchanged, though the window shows only three.
    ShowPage("Tile Permissions");
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Mira|*/+", "Mira|*+"}));
    Requests();
    PressEnter();
    EXPECT_EQ(Requests(), std::vector<Bytes>{Save(0xFFFF, 125, 255, {{"Ivo", 0}, {"Ann", 1}, {"Ivo", 1}},
                                                  {{"Mira", 0xFF}, {"Mira", 5}})});
}

TEST_F(HouseTest, EmptyListsAndMessagesCutShortStillOpenEveryPage) {
    const struct {
        const char* name;
        Bytes payload;
        std::vector<std::string> invites;  // list 156 on page 1
    } cases[] = {
        {"three zero counts", HouseMessage([] {
             HouseData data;
             data.invites.clear();
             data.permissions.clear();
             data.decorations.clear();
             return data;
         }()),
         {}},
        {"the message ends after the house's x", Wire().U8(0x28).Str("Cut").U16(130).bytes, {}},
        {"two invites announced, one sent", Wire().U8(0x28).Str("Cut").U16(1).U16(2).U8(7).U8(2).U8(0).U8(2).Str(
                                                  "Ivo").U8(1).bytes,
         {"Ivo|Sub owner", "|"}},
    };
    for (const auto& c : cases) {
        Enter();
        // Alone in its frame: whatever it lacks reads as zeros and empty texts.
        Dispatch(c.payload);
        gui().Update();
        ASSERT_NE(Control(HouseDialog::kDialogId), nullptr) << c.name;
        EXPECT_EQ(Rows(kHousePersons), c.invites) << c.name;
        EXPECT_TRUE(house().record.tilePermissions.empty()) << c.name;
        for (const char* page : {"Invite List", "Tile Permissions", "Ownership", "Decoration"})
            ShowPage(page);
        EXPECT_EQ(house().currentTab, HouseDialog::kDecoration) << c.name;
    }
}

// Before the game nothing opens, and the frame goes on behind the messages
// (the house and the houses on auction).
TEST_F(HouseTest, WithoutAGameScreenTheMessagesAreReadWhole) {
    client = &fixture.StartClient();
    connection().SetState(Connection::kConnected);
    for (const Bytes& payload : {HouseMessage(HouseData()), Wire().U8(0x29).U8(1).U16(1).U32(7).Str("Mill").Str(
                                                                "Ann").U32(5).U32(100).U32(300).bytes}) {
        const Bytes frame = Frame(Join({payload, Ping(0x1234)}));
        InMessage message(frame.data(), int(frame.size()));
        client->protocol->Dispatch(message);
        EXPECT_EQ(message.Remaining(), 0);
        EXPECT_EQ(Requests(), std::vector<Bytes>{Ping(0x1234)}) << int(payload[0]);
    }
    EXPECT_EQ(gui().FindControl(GameIds::kHouseDialog), nullptr);
    EXPECT_EQ(gui().FindControl(GameIds::kHouseBiddingDialog), nullptr);
}

// --- The window ---

TEST_F(HouseTest, TheWindowIsBuiltCentredOnPageOneWithSaveAsTheEnterButton) {
    Enter();
    GUIControl* chat = Control(kChatInput);
    gui().focus = chat;
    Open();
    const GUIDialog* dialog = Find<GUIDialog>(HouseDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "House Management");
    EXPECT_EQ(std::make_tuple(dialog->x, dialog->y, dialog->width, dialog->height), std::make_tuple(kX, kY, 498, 418));
    EXPECT_EQ(gui().enterButtonId, kHouseSave);
    EXPECT_EQ(gui().focus, chat) << "the build moves no focus";

    // The children in the order they are built, at their offsets.
    const std::vector<std::tuple<int32_t, int, int, int, int>> children = {
        {kHouseTabs, 20, 75, 458, 20},         {kHouseName, 30, 115, 358, 25},
        {kHouseAdd, 393, 115, 75, 25},         {kHousePersons, 30, 150, 438, 62},
        {kHouseRemove, 30, 222, 438, 25},      {0, 7, 373, 484, 1},
        {kHouseSave, 141, 383, 95, 25},        {kHouseCancel, 262, 383, 95, 25},
        {kHouseSubOwner, 30, 257, 438, 25},    {kHouseNoEntry, 30, 257, 438, 25},
        {kHouseDoor, 30, 287, 438, 25},        {kHouseEditRights, 30, 317, 438, 25},
        {kHouseAbandonCheck, 30, 115, 438, 25}, {kHouseAbandon, 30, 150, 438, 25},
        {kHouseNewOwner, 130, 205, 338, 25},   {kHousePrice, 130, 235, 338, 25},
        {kHouseTransfer, 30, 270, 438, 25},    {kHouseDecorations, 30, 115, 438, 175},
        {kHouseBuy, 358, 310, 100, 25},
    };
    ASSERT_EQ(dialog->children.size(), children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        const GUIControl* child = dialog->children[i];
        EXPECT_EQ(std::make_tuple(child->id, child->x - kX, child->y - kY, child->width, child->height), children[i])
            << "child " << i;
    }
    const GUITabgroup* tabs = Find<GUITabgroup>(kHouseTabs);
    EXPECT_EQ(tabs->tabWidth, 114);
    std::vector<std::pair<int32_t, std::string>> shownTabs;
    for (const GUITab* tab : tabs->GetTabs())
        shownTabs.emplace_back(tab->id, tab->caption);
    EXPECT_EQ(shownTabs, (std::vector<std::pair<int32_t, std::string>>{
                             {kHouseTabInvites, "Invite List"}, {kHouseTabPermissions, "Tile Permissions"},
                             {kHouseTabOwnership, "Ownership"}, {0, "Decoration"}}));
    for (int32_t id : {kHouseSubOwner, kHouseNoEntry, kHouseDoor, kHouseEditRights, kHouseAbandonCheck}) {
        EXPECT_TRUE(Find<GUICheckbox>(id)->framed) << id;
        EXPECT_FALSE(id != kHouseSubOwner && Checked(id)) << id;
    }
    EXPECT_EQ(Find<GUICheckbox>(kHouseAbandonCheck)->label,
              "I want to abandon this house - this can not be undone!");
    EXPECT_TRUE(Disabled(kHouseAbandon));
    EXPECT_EQ(Find<GUISelect>(kHouseDecorations)->rowHeight, 50);
    const GUISelectItem& torch = Find<GUISelect>(kHouseDecorations)->items.at(1);
    EXPECT_EQ(std::make_tuple(torch.text, torch.rightText, torch.iconId),
              std::make_tuple(std::string("Torch"), std::string("3 premium cards"), 130));
}

TEST_F(HouseTest, EachPageShowsItsControlsOnly) {
    // The page table as a pure function: which page shows which control.
    const std::vector<std::pair<int32_t, std::vector<int>>> table = {
        {kHouseName, {1, 2}},       {kHouseAdd, {1, 2}},         {kHousePersons, {1, 2}},
        {kHouseRemove, {1, 2}},     {kHouseSubOwner, {1}},       {kHouseNoEntry, {2}},
        {kHouseDoor, {2}},          {kHouseEditRights, {2}},     {kHouseAbandonCheck, {3}},
        {kHouseAbandon, {3}},       {kHouseNewOwner, {3}},       {kHousePrice, {3}},
        {kHouseTransfer, {3}},      {kHouseDecorations, {4}},    {kHouseBuy, {4}},
        {kHouseSave, {1, 2, 3, 4}}, {kHouseCancel, {1, 2, 3, 4}}, {kHouseTabs, {1, 2, 3, 4}},
    };
    for (const auto& [id, pages] : table)
        for (int page = 1; page <= 4; ++page)
            EXPECT_EQ(HouseDialog::ShownOnPage(id, page),
                      std::find(pages.begin(), pages.end(), page) != pages.end())
                << id << " on page " << page;

    // And the window follows it, page by page.
    Enter();
    Open();
    const char* captions[] = {"Invite List", "Tile Permissions", "Ownership", "Decoration"};
    for (int page : {3, 1, 4, 2}) {
        ShowPage(captions[page - 1]);
        EXPECT_EQ(house().currentTab, page);
        for (int32_t id : HouseDialog::PageControls())
            EXPECT_EQ(Hidden(id), !HouseDialog::ShownOnPage(id, page)) << id << " on page " << page;
    }
    // Showing the Abandon button does not enable it.
    ShowPage("Ownership");
    EXPECT_TRUE(Disabled(kHouseAbandon));
}

// The player's level and rights decide what "Add" adds and which check
// boxes respond; "Remove selected person" is limited by neither.
TEST_F(HouseTest, LevelAndRightsLimitAddingAndTheCheckBoxes) {
    const struct {
        uint32_t accessLevel, rights;
        const char* page;
        std::vector<std::string> rowsAfterAdd;
        bool subOwner, noEntry, door, editRights;  // enabled
    } cases[] = {
        {1, 0, "Invite List", {"Ivo|", "Ann|"}, false, false, false, false},
        {0, 0, "Invite List", {"Ivo|"}, false, false, false, false},
        {2, 7, "Invite List", {"Ivo|", "Ann|"}, true, true, true, true},
        {2, 0, "Tile Permissions", {"Mira|/"}, true, false, false, false},
        {0, 6, "Tile Permissions", {"Mira|/", "Ann|"}, false, false, true, true},
        {0, 1, "Tile Permissions", {"Mira|/", "Ann|"}, false, true, false, false},
    };
    for (const auto& c : cases) {
        const std::string name = std::to_string(c.accessLevel) + "/" + std::to_string(c.rights) + " " + c.page;
        Enter();
        HouseData data;
        data.accessLevel = c.accessLevel;
        data.rights = c.rights;
        Open(data);
        ShowPage(c.page);
        AddName("Ann");
        EXPECT_EQ(Rows(kHousePersons), c.rowsAfterAdd) << name;
        EXPECT_EQ(Find<GUITextbox>(kHouseName)->GetText(), "") << name << ": the box is emptied";
        EXPECT_EQ(!Disabled(kHouseSubOwner), c.subOwner) << name;
        EXPECT_EQ(!Disabled(kHouseNoEntry), c.noEntry) << name;
        EXPECT_EQ(!Disabled(kHouseDoor), c.door) << name;
        EXPECT_EQ(!Disabled(kHouseEditRights), c.editRights) << name;
        // A click on a disabled box changes nothing.
        ShowPage("Tile Permissions");
        const bool before = Checked(kHouseDoor);
        Click(Control(kHouseDoor));
        EXPECT_EQ(Checked(kHouseDoor), c.door ? !before : before) << name;
        // Remove takes the first row of either list whatever the two values.
        ShowPage(c.page);
        Click(Control(kHouseRemove));
        EXPECT_EQ(Rows(kHousePersons).size(), c.rowsAfterAdd.size() - 1) << name;
    }
}

// Without a click the first row is the current one: the check boxes show its
// flags, "Remove" removes it and "Buy item" buys the first item.
TEST_F(HouseTest, RowZeroIsCurrentRightAfterOpening) {
    Enter();
    HouseData data;
    data.invites = {{"Ivo", 1}, {"Ann", 0}};
    data.permissions = {{"Mira", 5}, {"Bob", 2}};
    Open(data);
    EXPECT_TRUE(Checked(kHouseSubOwner));
    ShowPage("Tile Permissions");
    EXPECT_EQ(std::make_tuple(Checked(kHouseNoEntry), Checked(kHouseDoor), Checked(kHouseEditRights)),
              std::make_tuple(true, false, true));
    Click(Control(kHouseRemove));
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Bob|/"}));
    EXPECT_EQ(std::make_tuple(Checked(kHouseNoEntry), Checked(kHouseDoor), Checked(kHouseEditRights)),
              std::make_tuple(false, true, false))
        << "the boxes follow the record that now stands in row 0";
    ShowPage("Invite List");
    Click(Control(kHouseRemove));
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Ann|"}));
    ShowPage("Decoration");
    Requests();
    Click(Control(kHouseBuy));
    EXPECT_EQ(Requests(), std::vector<Bytes>{Wire().U8(0x36).U32(120).bytes});
    EXPECT_NE(Control(HouseDialog::kDialogId), nullptr) << "buying keeps the window";
}

// Names are compared whole and exactly: remove and sub owner act on the
// first of two equal names, a tile right on every one.
TEST_F(HouseTest, RepeatedNamesRemoveAndSubOwnerTakeTheFirstTileRightsTakeAll) {
    Enter();
    HouseData data;
    data.invites = {{"Ann", 0}, {"ann", 0}, {"Ann", 0}};
    data.permissions = {{"Bob", 0}, {"Bob", 4}};
    Open(data);
    Click(Control(kHouseSubOwner));
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Ann|Sub owner", "ann|", "Ann|"}));
    ClickRow(kHousePersons, 2);
    EXPECT_TRUE(Checked(kHouseSubOwner)) << "row 2 shows the first Ann's flag";
    Click(Control(kHouseRemove));
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"ann|", "Ann|"}));

    ShowPage("Tile Permissions");
    EXPECT_EQ(Find<GUISelect>(kHousePersons)->selectedIndex, 2) << "the row number survives the page";
    ClickRow(kHousePersons, 1);
    Click(Control(kHouseNoEntry));
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Bob|*", "Bob|*+"}));
    Click(Control(kHouseNoEntry));
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Bob|", "Bob|+"}));
    Click(Control(kHouseDoor));
    Click(Control(kHouseRemove));
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Bob|/+"}));
    EXPECT_EQ(HouseDialog::RightsText(5), "*+");
    EXPECT_EQ(HouseDialog::RightsText(0xF8), "");
}

TEST_F(HouseTest, EnterWhileTypingANameSavesOnceAndClosesTheWindow) {
    Enter();
    Open();
    Type(kHouseName, "Ann");
    Requests();
    // Twice within one frame: the second finds no open window.
    PressEnter();
    PressEnter();
    EXPECT_EQ(Requests(), std::vector<Bytes>{Save(130, 125, 7, {{"Ivo", 0}}, {{"Mira", 2}})});
    EXPECT_EQ(Control(HouseDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, Control(kChatInput));
    gui().Update();
    EXPECT_EQ(house().record.invites.size(), 1u) << "saving keeps the lists";
}

TEST_F(HouseTest, AnEmptyInviteListAndOnePermissionMakeTheSmallestSave) {
    Enter();
    HouseData data;
    data.invites.clear();
    data.permissions = {{"Ann", 0x82}};
    Open(data);
    Requests();
    Click(Control(kHouseSave));
    const Bytes save = {0x25, 0x82, 0x00, 0x7D, 0x00, 0x07, 0x00, 0x01, 0x03, 0x00, 'A', 'n', 'n', 0x82};
    EXPECT_EQ(Requests(), std::vector<Bytes>{save});
    EXPECT_EQ(Control(HouseDialog::kDialogId), nullptr);
}

// A second message while the window is open: the page stays, the person
// list follows the new data, the decoration list and the check boxes'
// enabled states stay as built.
TEST_F(HouseTest, ASecondMessageRefillsThePersonListAndKeepsThePage) {
    Enter();
    HouseData data;
    data.rights = 2;
    Open(data);
    ShowPage("Tile Permissions");
    AddName("Bob");
    data.name = "Harbour Lane 5";
    data.rights = 7;
    data.permissions = {{"Cy", 1}, {"Dee", 4}};
    data.decorations = {{110, "Coins", "1 card"}};
    Open(data);
    EXPECT_EQ(house().currentTab, HouseDialog::kTilePermissions);
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Cy|*", "Dee|+"}));
    EXPECT_TRUE(Disabled(kHouseNoEntry)) << "enabled states stay as first built";
    EXPECT_EQ(Rows(kHouseDecorations), (std::vector<std::string>{"Flower|2 premium cards", "Torch|3 premium cards"}));
    Redraw();
    EXPECT_TRUE(Drawn("HarbourLane5"));

    // "Buy item" buys what the row shows, not the new list's item at that number.
    ShowPage("Decoration");
    ClickRow(kHouseDecorations, 1);
    Requests();
    Click(Control(kHouseBuy));
    EXPECT_EQ(Requests(), std::vector<Bytes>{Wire().U8(0x36).U32(130).bytes});
    Redraw();
    EXPECT_TRUE(Drawn("Torch(3premiumcards)"));
    EXPECT_EQ(SpriteAt(kTorch).size(), 2u) << "its row and the preview";
}

TEST_F(HouseTest, CancelKeepsTheEditsUntilTheNextMessage) {
    Enter();
    Open();
    AddName("Ann");
    Requests();
    Click(Control(kHouseCancel));
    EXPECT_EQ(Requests(), std::vector<Bytes>{});
    EXPECT_EQ(Control(HouseDialog::kDialogId), nullptr);
    ASSERT_EQ(house().record.invites.size(), 2u);
    EXPECT_EQ(house().record.invites[1].name, "Ann");
    Open();
    EXPECT_EQ(Rows(kHousePersons), (std::vector<std::string>{"Ivo|"}));
}

TEST_F(HouseTest, TransferSendsTheTypedNameAndPriceAndKeepsTheWindow) {
    const struct {
        const char* name;
        const char* price;
        uint32_t sent;
    } cases[] = {
        {"Cedric", "5000", 5000}, {"Cedric", "-5", 4294967291u}, {"", "", 0},
        {"Ann", "abc", 0},        {"Ann", "12ab", 12},           {"Ann", " +7", 7},
        {"Ann", "99999999999", 2147483647},
    };
    Enter();
    Open();
    ShowPage("Ownership");
    for (const auto& c : cases) {
        Find<GUITextbox>(kHouseNewOwner)->SetText(c.name);
        Find<GUITextbox>(kHousePrice)->SetText(c.price);
        Requests();
        Click(Control(kHouseTransfer));
        EXPECT_EQ(Requests(), std::vector<Bytes>{Wire().U8(0x30).Str(c.name).U32(c.sent).bytes}) << c.price;
    }
    EXPECT_NE(Control(HouseDialog::kDialogId), nullptr);
}

TEST_F(HouseTest, AbandonTakesTheCheckBoxFirst) {
    Enter();
    Open();
    ShowPage("Ownership");
    Requests();
    Click(Control(kHouseAbandon));
    EXPECT_EQ(Requests(), std::vector<Bytes>{}) << "disabled";
    Click(Control(kHouseAbandonCheck));
    EXPECT_FALSE(Disabled(kHouseAbandon));
    Click(Control(kHouseAbandonCheck));
    EXPECT_TRUE(Disabled(kHouseAbandon));
    Click(Control(kHouseAbandonCheck));
    Click(Control(kHouseAbandon));
    EXPECT_EQ(Requests(), std::vector<Bytes>{{0x2F}});
    EXPECT_EQ(Control(HouseDialog::kDialogId), nullptr);
}

// A list's count is one byte and a request that does not fit one message is
// never sent: a name neither could carry is refused when it is added.
TEST_F(HouseTest, NamesTheSaveCouldNotCarryAreRefusedWhenAdded) {
    Enter();
    HouseData data;
    data.invites.clear();
    data.permissions.clear();
    for (int i = 0; i < 255; ++i) {
        data.invites.emplace_back("I" + std::to_string(i), 0);
        data.permissions.emplace_back("P" + std::to_string(i), i);
    }
    Open(data);
    for (const char* page : {"Invite List", "Tile Permissions"}) {
        ShowPage(page);
        AddName("One too many");
        EXPECT_EQ(Rows(kHousePersons).size(), 255u) << page;
        EXPECT_EQ(Find<GUITextbox>(kHouseName)->GetText(), "") << page;
    }
    Requests();
    Click(Control(kHouseSave));
    std::vector<std::pair<std::string, int>> invites, permissions;
    for (int i = 0; i < 255; ++i) {
        invites.emplace_back("I" + std::to_string(i), 0);
        permissions.emplace_back("P" + std::to_string(i), i);
    }
    EXPECT_EQ(Requests(), std::vector<Bytes>{Save(130, 125, 7, invites, permissions)}) << "sent whole";

    // Long names: 16 entries of 1003 bytes fit one message, the 17th not.
    data.invites.clear();
    data.permissions.clear();
    Open(data);
    const std::string longName(1000, 'x');
    for (int i = 0; i < 10; ++i)
        house().AddInvite(longName, false);
    for (int i = 0; i < 10; ++i) {
        Find<GUITextbox>(kHouseName)->SetText(longName);
        Click(Control(kHouseAdd));
    }
    EXPECT_EQ(house().record.invites.size(), 16u);
    EXPECT_EQ(Find<GUITextbox>(kHouseName)->GetText(), "");
    Requests();
    Click(Control(kHouseSave));
    EXPECT_EQ(Requests(), std::vector<Bytes>{Save(130, 125, 7, std::vector<std::pair<std::string, int>>(16, {longName, 0}), {})});
}

// --- Drawing ---

TEST_F(HouseTest, TheWindowDrawsItsBoxesNameAndPageTexts) {
    Enter();
    Open();
    Redraw();
    uint32_t fill = 0;
    EXPECT_EQ(BoxAt(kX + 10, kY + 30, 478, 333, &fill), 1);
    EXPECT_EQ(fill, 0x1E000000u);
    EXPECT_EQ(BoxAt(kX + 20, kY + 40, 458, 25), 1) << "the header";
    EXPECT_EQ(BoxAt(kX + 20, kY + 105, 458, 248), 1) << "the page";
    EXPECT_TRUE(Drawn("HarbourLane4"));
    EXPECT_FALSE(Drawn("Transferto:"));

    ShowPage("Ownership");
    Redraw();
    for (const char* text : {"Transferto:", "Transferprice:", "Thenewownermustbeonlineandacceptthetransfer."})
        EXPECT_TRUE(Drawn(text)) << text;

    ShowPage("Decoration");
    Redraw();
    EXPECT_EQ(BoxAt(kX + 30, kY + 300, 438, 45, &fill), 1) << "the preview";
    EXPECT_EQ(fill, 0u);
    EXPECT_TRUE(Drawn("Flower(2premiumcards)"));
    EXPECT_EQ(ItemPictures(), (std::vector<std::string>{"preview 32x32", "list 40x40"}));
}

TEST_F(HouseTest, AnItemWithoutAPictureDrawsNone) {
    Enter();
    HouseData data;
    data.decorations = {{4321, "Statue", "9 cards"}};
    Open(data);
    ShowPage("Decoration");
    Redraw();
    EXPECT_TRUE(Drawn("Statue(9cards)"));
    EXPECT_EQ(ItemPictures(), std::vector<std::string>{});
}

}  // namespace
