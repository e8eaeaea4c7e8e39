// The hotkey editor ("Select Action"): the lists the server's spell list
// fills, the rows of its three tabs, what it selects for the slot, and what
// "Save" writes into the options for the hotkey bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/character/HotkeyDialog.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/GameControlIds.h"
#include "game/HotkeyBar.h"
#include "tests/dialogs/CharacterDialogFixture.h"
#include "world/ItemRecord.h"
#include "world/ItemsCache.h"

namespace {

struct Spell {
    std::string name;
    uint16_t id;
    uint16_t mana;
    bool offensive = false;
    uint16_t seconds = 0;
    bool premium = false;
    std::string description = "Does things.";
    uint8_t magicLevel = 4;
};

Bytes SpellList(const std::vector<Spell>& spells) {
    Wire wire;
    wire.U8(0x26).U8(uint32_t(spells.size()));
    for (const Spell& spell : spells)
        wire.Str(spell.name)
            .U16(spell.id)
            .U16(spell.mana)
            .U8(spell.magicLevel)
            .U16(spell.seconds)
            .U8(spell.offensive ? 1 : 0)
            .U8(spell.premium ? 1 : 0)
            .Str(spell.description);
    return wire.bytes;
}

const int kSword = 7001;
const int kNameless = 7002;

class HotkeyEditorTest : public CharacterDialogTest {
protected:
    ~HotkeyEditorTest() override {
        for (int id : {kSword, kNameless})
            ItemsCache::Instance()->Set(nullptr, uint16_t(id));
    }
    void SetUp() override {
        Enter({{1418, 32, 32}});
        auto* sword = new ItemRecord();
        sword->name = "sword";
        ItemsCache::Instance()->Set(sword, uint16_t(kSword));
        auto* nameless = new ItemRecord();
        nameless->name.clear();
        ItemsCache::Instance()->Set(nameless, uint16_t(kNameless));
    }
    HotkeyDialog& editor() { return *game().hotkeyDialog; }
    HotkeyBar& bar() { return *game().hotkeyBar; }
    GUISelect* list() { return dynamic_cast<GUISelect*>(gui().FindControl(GameIds::kHotkeyList)); }
    GUITextbox* box(int32_t id) { return dynamic_cast<GUITextbox*>(gui().FindControl(id)); }
    ConfigFile& options() { return *client->settings->options; }
    // The bar's click on a slot, then the server's answer.
    void OpenFor(int slot, bool fight, const std::vector<Spell>& spells) {
        editor().slot = slot;
        editor().fightSet = fight;
        Dispatch(SpellList(spells));
        ASSERT_NE(list(), nullptr) << "the editor did not open";
    }
    void ClickRow(int row) {
        GUISelect* rows = list();
        ClickAt(rows->x + 30, rows->y + 1 + row * rows->rowHeight + rows->rowHeight / 2);
    }
    std::vector<std::string> RowTexts() {
        std::vector<std::string> texts;
        for (const GUISelectItem& item : list()->items)
            texts.push_back(item.text);
        return texts;
    }
    int32_t ActiveTab() {
        auto* tabs = dynamic_cast<GUITabgroup*>(gui().FindControl(GameIds::kHotkeyTabs));
        return tabs && tabs->activeTab ? tabs->activeTab->id : 0;
    }
    std::string MainChat() {
        for (ChatPane* pane : ChatLog::Instance()->Panes())
            if (pane->name == "Main" && pane->box)
                return pane->box->GetText();
        return "";
    }
};

}  // namespace

TEST_F(HotkeyEditorTest, ANewModuleOffersNothingAndLootingAndNoSpells) {
    ASSERT_EQ(editor().actions.size(), 2u);
    EXPECT_EQ(editor().actions[0].name, "-- Do nothing --");
    EXPECT_EQ(editor().actions[0].id, 0);
    EXPECT_EQ(editor().actions[0].type, 0);
    EXPECT_EQ(editor().actions[1].name, "Loot Bodies");
    EXPECT_EQ(editor().actions[1].id, 246);
    EXPECT_EQ(editor().actions[1].type, 2);
    EXPECT_TRUE(editor().supportSpells.empty());
    EXPECT_TRUE(editor().offensiveSpells.empty());
}

// The lists keep the order of mana; equal mana keeps the order of arrival.
TEST_F(HotkeyEditorTest, SpellsAreListedByManaWithTheirTimesAndLevels) {
    OpenFor(3, false,
            {{"Thirty", 1401, 30}, {"Ten first", 1402, 10, false, 5, true}, {"Twenty", 1403, 20},
             {"Ten second", 1404, 10}, {"Blast", 1405, 50, true, 0, false, "", 9}});
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"-- Do nothing --", "Loot Bodies"})) << "opens on General";
    EXPECT_EQ(list()->items[1].rightText, "Action Key");
    EXPECT_EQ(list()->items[1].iconId, 246);
    EXPECT_EQ(ActiveTab(), GameIds::kHotkeyTabGeneral);

    Click(GameIds::kHotkeyTabSupport);
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Ten first", "Ten second", "Twenty", "Thirty"}));
    const GUISelectItem& first = list()->items[0];
    EXPECT_EQ(first.rightText, "10 mana");
    EXPECT_EQ(first.subText, "5 seconds (Premium)");
    EXPECT_EQ(first.subRightText, "magic level 4");
    EXPECT_EQ(first.iconId, 1402);
    EXPECT_EQ(list()->items[1].subText, "Instant");

    Click(GameIds::kHotkeyTabOffensive);
    EXPECT_EQ(RowTexts(), std::vector<std::string>{"Blast"});
    EXPECT_EQ(list()->items[0].subRightText, "magic level 9");
}

TEST_F(HotkeyEditorTest, DroppedItemsBecomeUsesAndUnusableOnesAreRefused) {
    OpenFor(3, false, {});
    editor().SetItemAction(kSword);
    editor().SetItemAction(kSword);
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"-- Do nothing --", "Loot Bodies", "Use sword", "Use sword"}));
    EXPECT_EQ(editor().actions[2].type, 1);
    EXPECT_EQ(editor().actions[2].description, "Choose this to use sword when triggering this hotkey.");

    for (int item : {kNameless, 19999, 25000, 0, -5}) {
        editor().SetItemAction(item);
        EXPECT_EQ(editor().actions.size(), 4u) << item;
    }
    const std::string chat = MainChat();
    size_t refusals = 0;
    for (size_t at = chat.find("This item is not usable."); at != std::string::npos;
         at = chat.find("This item is not usable.", at + 1))
        ++refusals;
    EXPECT_EQ(refusals, 5u);
}

// Each case: the tab clicked, the row clicked, the bar's page, the slot.
TEST_F(HotkeyEditorTest, SaveWritesTheSlotsKeysForTheBar) {
    const struct {
        int32_t tab;
        int row;
        int page;
        int slot;
        bool fight;
        const char* section;
        const char* key;
        int action;
        int type;
        const char* printed;
    } cases[] = {
        {GameIds::kHotkeyTabGeneral, 1, 1, 3, false, "spells1", "F3", 246, 2, ""},
        {GameIds::kHotkeyTabGeneral, 0, 1, 5, false, "spells1", "F5", 0, 0, ""},
        {GameIds::kHotkeyTabOffensive, 0, 2, 12, true, "fightspells2", "F12", 1500, 0, "F12|fightspells2|1500\n"},
        {GameIds::kHotkeyTabSupport, 1, 3, 1, false, "spells3", "F1", 1420, 0, "F1|spells3|1420\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " " + c.key);
        bar().page = c.page;
        OpenFor(c.slot, c.fight, {{"Healing", 1418, 20}, {"Ice Lance", 1420, 60}, {"Fireball", 1500, 40, true}});
        Click(c.tab);
        ClickRow(c.row);
        box(GameIds::kHotkeyTarget)->SetText("Bob");
        testing::internal::CaptureStdout();
        Click(GameIds::kHotkeySave);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
        EXPECT_EQ(gui().FindControl(GameIds::kHotkeyEditor), nullptr) << "Save closes";
        EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
        EXPECT_EQ(options().GetInt(c.section, c.key), c.action);
        EXPECT_EQ(options().GetInt(c.section, std::string(c.key) + "type"), c.type);
        EXPECT_EQ(options().GetString(c.section, std::string(c.key) + "param"), "Bob");
        // Saved to disk, and the bar shows it at once.
        ConfigFile saved;
        ASSERT_TRUE(saved.Load(fixture.OptionsFolder() + "/velmora.ini"));
        EXPECT_EQ(saved.GetInt(c.section, c.key), c.action);
        const HotkeySlot& slot = (c.fight ? bar().fightRow : bar().mainRow)[c.slot];
        EXPECT_EQ(slot.action, c.action);
        gui().Update();
    }
}

// The selected index stays when the tab changes: the same row of the other
// list is highlighted and saved.
TEST_F(HotkeyEditorTest, TheSelectedRowCarriesOverToAnotherTab) {
    OpenFor(3, false, {{"Healing", 1418, 20}, {"Ice Lance", 1420, 60}});
    ClickRow(1);
    ASSERT_NE(editor().SelectedAction(), nullptr);
    EXPECT_EQ(editor().SelectedAction()->id, 246);
    Click(GameIds::kHotkeyTabSupport);
    EXPECT_EQ(list()->selectedIndex, 1);
    Click(GameIds::kHotkeySave);
    EXPECT_EQ(options().GetInt("spells1", "F3"), 1420);
}

TEST_F(HotkeyEditorTest, OpeningSelectsWhatTheSlotHolds) {
    options().SetInt("spells1", "F4", kSword);
    options().SetInt("spells1", "F4type", 1);
    options().SetInt("spells1", "F6", 1500);
    options().SetInt("spells1", "F6type", 0);
    options().SetInt("spells1", "F7", 9999);
    options().SetInt("spells1", "F7type", 0);

    // A stored item use whose entry is missing is added at the end and selected.
    OpenFor(4, false, {{"Healing", 1418, 20}, {"Fireball", 1500, 40, true}});
    ASSERT_EQ(editor().actions.size(), 3u);
    EXPECT_EQ(editor().actions[2].name, "Use sword");
    EXPECT_EQ(list()->selectedIndex, 2);
    EXPECT_EQ(ActiveTab(), GameIds::kHotkeyTabGeneral);
    Click(GameIds::kHotkeyCancel);
    EXPECT_EQ(gui().FindControl(GameIds::kHotkeyEditor), nullptr);

    // A spell opens its own tab; the new slot's entry is not added again.
    OpenFor(6, false, {{"Healing", 1418, 20}, {"Fireball", 1500, 40, true}});
    EXPECT_EQ(editor().category, HotkeyDialog::kOffensive);
    EXPECT_EQ(ActiveTab(), GameIds::kHotkeyTabOffensive);
    EXPECT_EQ(RowTexts(), std::vector<std::string>{"Fireball"});
    EXPECT_EQ(list()->selectedIndex, 0);
    EXPECT_EQ(editor().actions.size(), 3u);

    // Opening again while open keeps the tab and the typed target; a spell
    // the server no longer sends leaves the selection as it was.
    box(GameIds::kHotkeyTarget)->SetText("typed");
    editor().slot = 7;
    Dispatch(SpellList({{"Healing", 1418, 20}, {"Fireball", 1500, 40, true}}));
    EXPECT_EQ(editor().category, HotkeyDialog::kOffensive);
    EXPECT_EQ(box(GameIds::kHotkeyTarget)->GetText(), "typed");
    EXPECT_EQ(list()->selectedIndex, 0);
}

// A quiet list replaces the lists but not the rows; the description and Save
// take the new lists at the selected index until the rows are refilled.
TEST_F(HotkeyEditorTest, AQuietListWhileOpenChangesWhatTheRowsMean) {
    OpenFor(3, false, {{"Healing", 1418, 20}, {"Ice Lance", 1420, 60}});
    Click(GameIds::kHotkeyTabSupport);
    ClickRow(1);
    client->protocol->actionListFlag = 1;
    Dispatch(SpellList({{"Mending", 1430, 5, false, 0, false, "Mends."}, {"Warding", 1431, 15}}));
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Healing", "Ice Lance"})) << "the rows stay";
    ASSERT_NE(editor().SelectedSpell(), nullptr);
    EXPECT_EQ(editor().SelectedSpell()->spellId, 1431);
    Redraw();
    EXPECT_EQ(box(GameIds::kHotkeyDescription)->GetText(), "Does things.\n");
    ClickRow(0);
    Redraw();
    EXPECT_EQ(box(GameIds::kHotkeyDescription)->GetText(), "Mends.\n");
    Click(GameIds::kHotkeySave);
    EXPECT_EQ(options().GetInt("spells1", "F3"), 1430);
}

TEST_F(HotkeyEditorTest, SavingWithoutARowWritesNothingAndCloses) {
    OpenFor(3, false, {{"Healing", 1418, 20}});
    ClickRow(1);  // Loot Bodies
    Click(GameIds::kHotkeyTabSupport);  // one spell: row 1 is past its end
    testing::internal::CaptureStdout();
    Click(GameIds::kHotkeySave);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(options().FindSection("spells1"), nullptr);
    EXPECT_EQ(gui().FindControl(GameIds::kHotkeyEditor), nullptr);
    EXPECT_EQ(bar().GetSlotAction(1, 1, false), HotkeyBar::kDefaultSpell) << "the default first slot stays";
}

// A spell list nobody asked for opens the editor before any slot was
// clicked: there is no key to write, and writing one would end the default
// spell on the first slot.
TEST_F(HotkeyEditorTest, AnEditorForNoSlotWritesNothing) {
    Dispatch(SpellList({{"Healing", 1418, 20}}));
    ASSERT_NE(list(), nullptr);
    ClickRow(1);
    Click(GameIds::kHotkeySave);
    EXPECT_EQ(options().FindSection("spells1"), nullptr);
    EXPECT_EQ(bar().GetSlotAction(1, 1, false), HotkeyBar::kDefaultSpell);
}

// The target becomes an ini value: a line break in it must not start a new
// line of the file.
TEST_F(HotkeyEditorTest, ATargetWithALineBreakReadsBackAsOneValue) {
    OpenFor(3, false, {{"Healing", 1418, 20}});
    Click(GameIds::kHotkeyTabSupport);
    box(GameIds::kHotkeyTarget)->SetText("Bob\r\nF9=666");
    Click(GameIds::kHotkeySave);
    ConfigFile saved;
    ASSERT_TRUE(saved.Load(fixture.OptionsFolder() + "/velmora.ini"));
    EXPECT_EQ(saved.GetInt("spells1", "F3"), 1418);
    EXPECT_EQ(saved.GetString("spells1", "F3param"), "Bob  F9=666");
    EXPECT_FALSE(saved.HasKey("spells1", "F9"));
}

// A second Enter finds no Save button any more: one save, one line.
TEST_F(HotkeyEditorTest, EnterSavesOnce) {
    OpenFor(3, false, {{"Healing", 1418, 20}});
    Click(GameIds::kHotkeyTabSupport);
    testing::internal::CaptureStdout();
    PressEnter();
    PressEnter();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "F3|spells1|1418\n");
    EXPECT_EQ(gui().FindControl(GameIds::kHotkeyEditor), nullptr);
}

TEST_F(HotkeyEditorTest, TheDescriptionAndTheTargetFollowTheTab) {
    OpenFor(3, false, {{"Healing", 1418, 20, false, 0, false, ""}});
    Redraw();
    GUITextbox* description = box(GameIds::kHotkeyDescription);
    EXPECT_EQ(description->GetText(), "Choose to make the hotkey void of action. You can drop usable items into this "
                                      "window to add them.\n");
    EXPECT_EQ(description->height, 93);
    EXPECT_TRUE(box(GameIds::kHotkeyTarget)->HasFlag(GUIControl::kHidden));
    EXPECT_FALSE(list()->HasFlag(GUIControl::kFramedIcons));
    EXPECT_EQ(FindText("Target:"), nullptr);

    Click(GameIds::kHotkeyTabSupport);
    Redraw();
    EXPECT_EQ(description->GetText(), "No information about this spell.");
    EXPECT_EQ(description->height, 63);
    EXPECT_FALSE(box(GameIds::kHotkeyTarget)->HasFlag(GUIControl::kHidden));
    EXPECT_TRUE(list()->HasFlag(GUIControl::kFramedIcons));
    const GUIControl* dialog = gui().FindControl(GameIds::kHotkeyEditor);
    const DrawnText* label = FindText("Target:");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->x, dialog->x + 20);
    EXPECT_EQ(label->y, dialog->y + dialog->height - 85);
    EXPECT_EQ(label->color, 0xFFC8C8C8u);
}

// Spell ids the sprite store cannot hold, texts ending in a colour byte: a
// row draws the icon of its id when the store has one and none otherwise,
// and nothing reads past a text.
TEST_F(HotkeyEditorTest, OddSpellsDrawWithoutIcons) {
    OpenFor(3, false, {{"\x01", 0xFFFF, 1, false, 0, false, "cut\x01"},
                       {"", 20000, 2, false, 0, false, "\x01\xff"},
                       {"Healing", 1418, 3}});
    Click(GameIds::kHotkeyTabSupport);
    Redraw();
    EXPECT_EQ(box(GameIds::kHotkeyDescription)->GetText(), "cut\x01\n");
    ClickRow(1);
    Redraw();
    EXPECT_EQ(box(GameIds::kHotkeyDescription)->GetText(), "\x01\xff\n");
    const Sprite* icon = client->app->sprites->GetSprite(1418);
    ASSERT_NE(icon, nullptr);
    // The list's icons, 40 x 40 in framed rows (the bar draws the first
    // slot's spell too, and the skin is drawn in tiles).
    const GUISelect* rows = list();
    std::vector<double> icons;
    for (const RecordedCall* call : engine().Calls("RenderSprite"))
        if (call->args[2] == 40 && call->args[3] == 40 && rows->Contains(int(call->args[0]), int(call->args[1]))) {
            EXPECT_EQ(call->sprite, icon);
            icons.push_back(call->args[1]);
        }
    EXPECT_EQ(icons, std::vector<double>{double(rows->y + 1 + 2 * rows->rowHeight + 5)}) << "the third row's";
}

// Only a point strictly inside the open dialog takes a dropped item.
TEST_F(HotkeyEditorTest, TheDropTargetIsTheOpenDialogsInside) {
    EXPECT_FALSE(editor().DropTarget(500, 350));
    OpenFor(3, false, {});
    const GUIControl* dialog = gui().FindControl(GameIds::kHotkeyEditor);
    const int X = dialog->x, Y = dialog->y, W = dialog->width, H = dialog->height;
    EXPECT_TRUE(editor().DropTarget(X + 1, Y + 1));
    EXPECT_TRUE(editor().DropTarget(X + W - 1, Y + H - 1));
    for (auto [x, y] : {std::pair{X, Y + 5}, {X + 5, Y}, {X + W, Y + 5}, {X + 5, Y + H}})
        EXPECT_FALSE(editor().DropTarget(x, y)) << x << "," << y;
}
