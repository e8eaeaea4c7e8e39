// The character list: the premium line, the rows with their outfit pictures,
// and the dialog's buttons.
#include <gtest/gtest.h>

#include "client/CharacterList.h"
#include "client/Hosts.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "tests/support/LoginFixture.h"
#include "tests/support/DrawnText.h"
#include "world/OutfitSpriteCache.h"

namespace {

// Hands out blank pictures and remembers what it was asked for.
class RecordingOutfits : public OutfitSpriteCache {
public:
    struct Request {
        int spriteId;
        int pose;
        int frame;
        std::vector<int> outfit;
    };
    Sprite* GetSprite(int spriteId, int pose, int frame, const int outfit[9]) override {
        requests.push_back({spriteId, pose, frame, std::vector<int>(outfit, outfit + 9)});
        return new Sprite(32, 32);
    }
    std::vector<Request> requests;
};

TEST(CharacterListText, PremiumTime) {
    const int32_t now = 1700000000;
    const int minute = 60, hour = 3600, day = 86400;
    const struct {
        int64_t end;  // relative to now, or absolute when `absolute`
        bool absolute;
        const char* text;
    } cases[] = {
        {0, true, "This account is not premium."},
        {-1, false, "This account is not premium."},
        {0, false, "This account is not premium."},
        {1, false, "1 second left"},
        {59, false, "59 seconds left"},
        {61, false, "1 minute 1 second left"},
        {2 * day + 5 * hour, false, "2 days 5 hours left"},
        {3 * day, false, "3 days left"},
        {5 * hour + 30 * minute, false, "5 hours 30 minutes left"},
        // The larger units leave out the smaller ones.
        {day + hour + 1, false, "1 day 1 hour left"},
        {day + 59 * minute + 59, false, "1 day left"},
        {hour + 1, false, "1 hour left"},
        {2 * hour + 2 * minute + 2, false, "2 hours 2 minutes left"},
        {30 * day + 12 * hour + 5 * minute, false, "30 days 12 hours left"},
    };
    for (const auto& c : cases) {
        const int32_t end = int32_t(c.absolute ? c.end : now + c.end);
        EXPECT_EQ(CharacterList::PremiumText(end, now), c.text) << c.end;
    }
}

class CharacterListTest : public LoginTest {
protected:
    CharacterList& MakeList() {
        Start();
        // The list is made by the first connection; a login-screen client has none yet.
        client->protocol->Connect(0, {"login"}, 7171);
        client->protocol->connection->Disconnect();
        CharacterList& list = *client->protocol->characterList;
        list.outfits = &outfits;
        return list;
    }
    GUISelect* Select() { return dynamic_cast<GUISelect*>(client->app->gui->FindControl(CharacterList::kList)); }

    RecordingOutfits outfits;
};

TEST_F(CharacterListTest, RowsShowTheCharactersWithTheirOutfits) {
    CharacterList& list = MakeList();
    const int aldric[9] = {10, 0, 0, 0, 0, 1, 12, 34, 56};
    const int brenna[9] = {145, 3, 4, 200, 255, 3, 80, 90, 100};
    list.AddCharacter("Aldric", "Velmora", "world-a", 7171, aldric, "Knight", 42);
    list.AddCharacter("Brenna", "Ashfall", "world-b", 7272, brenna, "", 65535);
    list.Open();
    list.Refresh();

    GUISelect* select = Select();
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(select->rowHeight, 50);
    EXPECT_EQ(client->app->gui->focus, select);
    EXPECT_EQ(client->app->gui->enterButtonId, CharacterList::kEnterGameButton);
    ASSERT_EQ(select->items.size(), 2u);
    const struct {
        const char* text;
        const char* right;
        const char* sub;
        const char* subRight;
    } rows[] = {{"Aldric", "Velmora", "Knight", "Level 42"}, {"Brenna", "Ashfall", "", "Level 65535"}};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(select->items[i].text, rows[i].text);
        EXPECT_EQ(select->items[i].rightText, rows[i].right);
        EXPECT_EQ(select->items[i].subText, rows[i].sub);
        EXPECT_EQ(select->items[i].subRightText, rows[i].subRight);
        EXPECT_EQ(select->items[i].icon, list.characters[i]->preview);
        EXPECT_NE(select->items[i].icon, nullptr);
    }
    // Standing, frame 0, coloured with the row's own outfit.
    ASSERT_EQ(outfits.requests.size(), 2u);
    EXPECT_EQ(outfits.requests[1].spriteId, 145);
    EXPECT_EQ(outfits.requests[1].pose, 12);
    EXPECT_EQ(outfits.requests[1].frame, 0);
    EXPECT_EQ(outfits.requests[1].outfit, std::vector<int>(brenna, brenna + 9));

    // A refill replaces the rows and their pictures; the selection stays.
    select->selectedIndex = 1;
    list.Clear();
    EXPECT_TRUE(select->items.empty());  // no row keeps a freed picture
    list.AddCharacter("Cora", "Velmora", "world-c", 1, aldric, "", 3);
    list.Refresh();
    ASSERT_EQ(select->items.size(), 1u);
    EXPECT_EQ(select->items[0].text, "Cora");
    EXPECT_EQ(select->selectedIndex, 1);
}

TEST_F(CharacterListTest, EnterGameTakesTheSelectedRow) {
    const struct {
        const char* name;
        int rows;
        int selected;  // -1: not touched
        const char* character;  // nullptr: nothing happens
    } cases[] = {
        {"no click enters with the first", 2, -1, "Aldric"},
        {"the second row", 2, 1, "Brenna"},
        {"a selection beyond the rows", 2, 5, nullptr},
        {"no characters", 0, -1, nullptr},
    };
    for (const auto& c : cases) {
        Restart();
        CharacterList& list = MakeList();
        const int outfit[9] = {};
        const char* names[] = {"Aldric", "Brenna"};
        for (int i = 0; i < c.rows; ++i)
            list.AddCharacter(names[i], "", i == 0 ? "world-a" : "world-b", 7171, outfit, "", 1);
        list.Open();
        list.Refresh();
        if (c.selected >= 0)
            Select()->selectedIndex = c.selected;
        client->protocol->characterName = "before";
        client->app->gui->DeleteLater(GUIManager::kMessageBoxId);
        client->RunPass();

        CharacterList::OnEnterGameClicked(&list);
        if (!c.character) {
            EXPECT_EQ(client->protocol->characterName, "before") << c.name;
            EXPECT_FALSE(BoxOpen()) << c.name;
            continue;
        }
        EXPECT_EQ(client->protocol->characterName, c.character) << c.name;
        EXPECT_EQ(client->protocol->mode, 1) << c.name;
        EXPECT_EQ(BoxText(), "Connecting to the game world...") << c.name;
        // The dialog stays until the game starts.
        EXPECT_NE(client->app->gui->FindControl(CharacterList::kDialog), nullptr) << c.name;
    }
}

TEST_F(CharacterListTest, NewCharacterOpensTheAccountPageAndCancelCloses) {
    CharacterList& list = MakeList();
    list.Open();
    CharacterList::OnNewCharacterClicked(nullptr);
    EXPECT_EQ(platform.shell.opened, (std::vector<std::string>{kAccountPageUrl}));
    CharacterList::OnCancelClicked(&list);
    EXPECT_EQ(client->app->gui->FindControl(CharacterList::kDialog), nullptr);
}

TEST_F(CharacterListTest, ThePremiumLineEndsAtTheRightOfItsBox) {
    const struct {
        int32_t end;  // relative to now; 0: none
        const char* glyphs;  // the text without its blanks
        uint32_t color;
    } cases[] = {
        {0, "Thisaccountisnotpremium.", CharacterList::kNotPremiumColor},
        {3 * 86400 + 600, "3daysleft", CharacterList::kPremiumColor},
    };
    for (const auto& c : cases) {
        Restart();
        CharacterList& list = MakeList();
        client->app->gui->DeleteLater(GUIManager::kMessageBoxId);
        list.SetPremiumDays(c.end ? uint32_t(std::time(nullptr) + c.end) : 0);
        list.Open();
        RecordingEngine* engine = static_cast<RecordingEngine*>(client->app->engine);
        engine->Clear();
        client->RunPass();

        const GUIControl* dialog = client->app->gui->FindControl(CharacterList::kDialog);
        ASSERT_NE(dialog, nullptr);
        bool labelSeen = false;
        bool textSeen = false;
        for (const DrawnText& text : VisibleTexts(*engine, client->app->font->sheet)) {
            if (text.text == "Premium:") {
                labelSeen = true;
                EXPECT_EQ(text.x, dialog->x + 15);
                EXPECT_EQ(text.y, dialog->y + 194);
            }
            if (text.text == c.glyphs) {
                textSeen = true;
                const std::string full = CharacterList::PremiumText(list.premiumEnd, std::time(nullptr));
                EXPECT_EQ(text.x, dialog->x + 255 - client->app->font->GetTextWidth(full)) << c.glyphs;
                EXPECT_EQ(text.color, c.color) << c.glyphs;
            }
        }
        EXPECT_TRUE(labelSeen);
        EXPECT_TRUE(textSeen) << c.glyphs;
    }
}

}  // namespace
