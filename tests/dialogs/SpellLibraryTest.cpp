// The spell library: the order of its spells, the rows of each vocation's
// tab and what it shows of the selected spell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/character/SpellLibraryDialog.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "tests/dialogs/CharacterDialogFixture.h"

namespace {

struct LibrarySpell {
    uint16_t id;
    uint8_t vocation;
    std::string name;
    std::string label;
    uint16_t mana;
    uint16_t magicLevel = 5;
    std::string description = "Burns.";
};

Bytes Library(uint16_t reset, const std::vector<LibrarySpell>& spells, bool ended = true) {
    Wire wire;
    wire.U8(0x32).U16(reset);
    for (const LibrarySpell& spell : spells)
        wire.U16(spell.id)
            .U8(spell.vocation)
            .Str(spell.name)
            .Str(spell.label)
            .U16(spell.mana)
            .U16(spell.magicLevel)
            .Str(spell.description);
    if (ended)
        wire.U16(0xFFFF);
    return wire.bytes;
}

class SpellLibraryTest : public CharacterDialogTest {
protected:
    void SetUp() override { Enter({{1500, 32, 32}}); }
    SpellLibraryDialog& library() { return *game().spellLibrary; }
    GUISelect* list() { return dynamic_cast<GUISelect*>(gui().FindControl(GameIds::kSpellLibraryList)); }
    GUITextbox* description() {
        return dynamic_cast<GUITextbox*>(gui().FindControl(GameIds::kSpellLibraryDescription));
    }
    std::vector<std::string> Rows(bool right = false) {
        std::vector<std::string> rows;
        for (const GUISelectItem& item : list()->items)
            rows.push_back(right ? item.rightText : item.text);
        return rows;
    }
    void ClickRow(int row) { ClickAt(list()->x + 30, list()->y + 1 + row * list()->rowHeight + 10); }
};

}  // namespace

TEST_F(SpellLibraryTest, SpellsAddedWithoutAResetKeepTheNewest) {
    const size_t cap = SpellLibraryDialog::kMaxEntries;
    for (size_t i = 0; i < cap + 10; ++i)
        library().SetSpells(int(2000 + i), 1, "Spell " + std::to_string(i), "", 10, 1, "");
    ASSERT_EQ(library().entries.size(), cap);
    EXPECT_EQ(library().entries.front().name, "Spell 10");
    EXPECT_EQ(library().entries.back().name, "Spell " + std::to_string(cap + 9));
}

// Empty label first, then byte-wise; equal labels by mana; equal mana in the
// order of arrival. "unknown being" counts as no label.
TEST_F(SpellLibraryTest, SpellsAreOrderedByLabelThenMana) {
    Dispatch(Library(1, {{1501, 1, "B forty", "B", 40},
                         {1502, 1, "A", "A", 40},
                         {1503, 1, "Unknown", "unknown being", 40},
                         {1504, 1, "B ten first", "B", 10},
                         {1505, 1, "Empty", "", 30},
                         {1506, 1, "B ten second", "B", 10},
                         {1507, 1, "High", "\xe9", 1},
                         {1508, 2, "Ranger", "A", 1}}));
    ASSERT_NE(list(), nullptr) << "reset 1 opens the dialog";
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Empty", "Unknown", "A", "B ten first", "B ten second", "B forty",
                                                "High"}));
    EXPECT_EQ(Rows(true), (std::vector<std::string>{"", "", "A", "B", "B", "B", "\xe9"}));
    EXPECT_EQ(library().entries.size(), 8u);
}

TEST_F(SpellLibraryTest, AMessageWithoutResetAppendsAndRefreshesAnOpenList) {
    Dispatch(Library(0, {{1501, 3, "Frost", "", 40}}));
    EXPECT_EQ(gui().FindControl(GameIds::kSpellLibraryDialog), nullptr) << "reset 0 opens nothing";
    Dispatch(Library(1, {{1502, 1, "Slash", "", 40}}));
    ASSERT_EQ(library().entries.size(), 1u) << "reset 1 starts again";
    Click(GameIds::kSpellLibraryTabMage);
    EXPECT_TRUE(Rows().empty());
    Dispatch(Library(0, {{1503, 3, "Storm", "", 20}, {1504, 3, "Ice", "", 10}}));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Ice", "Storm"}));
    EXPECT_EQ(library().tab, 3) << "the tab stays";

    // Closed with its button, the library keeps its spells.
    Click(GameIds::kSpellLibraryClose);
    EXPECT_EQ(gui().FindControl(GameIds::kSpellLibraryDialog), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    EXPECT_EQ(library().entries.size(), 3u);
}

// The selected index stays across tabs; past the new tab's last spell there
// is no selection, and the description keeps its last text.
TEST_F(SpellLibraryTest, TheSelectedSpellsDetailsAndNoSelectionOnAShorterTab) {
    Dispatch(Library(1, {{1500, 1, "Slash", "", 10, 3, "Cuts."},
                         {1510, 1, "Cleave", "", 20, 7, ""},
                         {1511, 1, "Bash", "", 30},
                         {1520, 2, "Shot", "", 15}}));
    const GUIControl* dialog = gui().FindControl(GameIds::kSpellLibraryDialog);
    ASSERT_NE(dialog, nullptr);
    const int X = dialog->x;
    const int Y = dialog->y;
    Redraw();
    ASSERT_NE(FindText("This spell requires magic level 3."), nullptr);
    EXPECT_EQ(FindText("This spell requires magic level 3.")->x, X + 66);
    EXPECT_EQ(FindText("This spell requires magic level 3.")->y, Y + 278);
    ASSERT_NE(FindText("The mana usage is 10."), nullptr);
    EXPECT_EQ(FindText("The mana usage is 10.")->y, Y + 293);
    EXPECT_EQ(description()->GetText(), "Cuts.\n");
    // The icon: the spell's sprite in a 32 x 32 square.
    const Sprite* icon = client->app->sprites->GetSprite(1500);
    size_t icons = 0;
    for (const RecordedCall* call : engine().Calls("RenderSprite"))
        if (call->sprite == icon) {
            ++icons;
            EXPECT_EQ(call->args[0], X + 27);
            EXPECT_EQ(call->args[1], Y + 278);
            EXPECT_EQ(call->args[2], 32);
        }
    EXPECT_EQ(icons, 1u);

    ClickRow(1);
    Redraw();
    EXPECT_EQ(description()->GetText(), "No information about this spell.");

    Click(GameIds::kSpellLibraryTabRanger);
    EXPECT_EQ(Rows(), std::vector<std::string>{"Shot"});
    Redraw();
    const DrawnText* hint = FindText("Select a spell from the list.");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->y, Y + 285);
    EXPECT_EQ(hint->color, 0xFF808080u);
    EXPECT_EQ(FindText("The mana usage is 15."), nullptr);
    EXPECT_EQ(description()->GetText(), "No information about this spell.") << "kept";
}

// Ids the store cannot hold draw no icon; a description ending in a colour
// byte is shown without reading past it; an entry cut short ends the list.
TEST_F(SpellLibraryTest, OddEntriesDrawWithoutAnIcon) {
    Dispatch(Library(1, {{0xFFFE, 1, "\x01", "\x01\xff\x00", 1, 0xFFFF, "cut\x01"}}));
    Redraw();
    EXPECT_EQ(description()->GetText(), "cut\x01\n");
    const Wire cut = Wire().U8(0x32).U16(0).U16(1600).U8(1).Str("Half");
    const Bytes frame = Frame(cut.bytes);
    InMessage message(frame.data(), int(frame.size()));
    client->protocol->Dispatch(message);
    EXPECT_EQ(library().entries.size(), 1u);
    Redraw();
}
