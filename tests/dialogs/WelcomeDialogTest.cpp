// The welcome dialog of a new player: when it comes, its three languages,
// and the walking it holds back until "Close & Start Playing", which also
// keeps it from coming again.
#include <algorithm>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/social/WelcomeDialog.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "platform/Platform.h"
#include "tests/dialogs/DialogFixture.h"

namespace {

const Bytes kStepSouth = {0x04};

class WelcomeDialogTest : public DialogTest {
protected:
    GUITextbox* Text() { return Find<GUITextbox>(WelcomeDialog::kTextId); }
    void ClickTab(const std::string& caption) {
        const GUITabgroup* tabs = Find<GUITabgroup>(WelcomeDialog::kTabsId);
        ASSERT_NE(tabs, nullptr);
        for (const GUITab* tab : tabs->GetTabs())
            if (tab->caption == caption) {
                Input().Click(tab->x + tab->width / 2, tab->y + tab->height / 2);
                return;
            }
        FAIL() << caption;
    }
    // Down held for one frame of the game screen; the step requests sent.
    std::vector<Bytes> HoldDown() {
        KeyDown(platform::kVkDown);
        game().Update();
        KeyUp(platform::kVkDown);
        std::vector<Bytes> steps;
        for (const Bytes& request : Sent())
            if (request.size() == 1 && request[0] >= 0x04 && request[0] <= 0x0B)
                steps.push_back(request);
        return steps;
    }
};

TEST_F(WelcomeDialogTest, TheDialogIsInEnglishFirstAndItsTabsChangeTheLanguage) {
    Enter("", true);
    const GUIDialog* dialog = Find<GUIDialog>(WelcomeDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Welcome to Velmora Online");
    EXPECT_EQ((std::vector<int>{dialog->x, dialog->y, dialog->width, dialog->height}),
              (std::vector<int>{300, 185, 401, 330}));
    std::vector<std::string> captions;
    for (const GUITab* tab : Find<GUITabgroup>(WelcomeDialog::kTabsId)->GetTabs())
        captions.push_back(tab->caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"English", "Portugu\xEAs", "Polskim"}));
    // Its one button; no other way out in the game.
    std::vector<const GUIButton*> buttons;
    for (GUIControl* control : gui().FindControl(WelcomeDialog::kDialogId)->CollectDescendants())
        if (const GUIButton* button = dynamic_cast<GUIButton*>(control))
            if (!button->caption.empty())
                buttons.push_back(button);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0]->caption, "Close & Start Playing");
    EXPECT_EQ(Text()->GetText(), WelcomeDialog::kEnglishText);

    ClickTab("Portugu\xEAs");
    EXPECT_EQ(Text()->GetText(), WelcomeDialog::kPortugueseText);
    ClickTab("Polskim");
    EXPECT_EQ(Text()->GetText(), WelcomeDialog::kPolishText);
    ClickTab("English");
    EXPECT_EQ(Text()->GetText(), WelcomeDialog::kEnglishText);
    EXPECT_EQ(Text()->caret, int(WelcomeDialog::kEnglishText.size()));

    // Shown again while open: nothing changes.
    ClickTab("Polskim");
    EXPECT_FALSE(game().welcome->Show());
    EXPECT_EQ(Text()->GetText(), WelcomeDialog::kPolishText);
}

TEST_F(WelcomeDialogTest, TheTextsKeepTheirSingleByteLetters) {
    // ê, ç, á, ã and â, one byte each; none of the texts ends in a line break.
    const std::string& portuguese = WelcomeDialog::kPortugueseText;
    EXPECT_EQ(portuguese.substr(0, 25), "Antes de voc\xEA come\xE7" "ar sua");
    for (const char* word : {"n\xE3o", "b\xE1sico", "mec\xE2nicas", "ingl\xEAs", "ajud\xE1-lo", "dura\xE7\xE3o"})
        EXPECT_NE(portuguese.find(word), std::string::npos) << word;
    const auto wide = [](const std::string& text) {
        return std::count_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    };
    EXPECT_EQ(wide(portuguese), 14);
    EXPECT_EQ(wide(WelcomeDialog::kEnglishText), 0);
    EXPECT_EQ(wide(WelcomeDialog::kPolishText), 0);
    const struct {
        const std::string* text;
        size_t paragraphs;
    } cases[] = {{&WelcomeDialog::kEnglishText, 3}, {&portuguese, 3}, {&WelcomeDialog::kPolishText, 2}};
    for (const auto& c : cases) {
        size_t breaks = 0;
        for (size_t at = c.text->find("\n\n"); at != std::string::npos; at = c.text->find("\n\n", at + 2))
            ++breaks;
        EXPECT_EQ(breaks + 1, c.paragraphs);
        EXPECT_NE(c.text->back(), '\n');
    }
}

// A new player entered the game and could not walk, on every login, since
// nothing closed the welcome that holds the keyboard's walking back.
TEST_F(WelcomeDialogTest, ANewPlayerWalksOnceTheWelcomeIsDismissedAndItDoesNotComeBack) {
    Enter("", true);
    PlaceWalkingPlayer();
    EXPECT_TRUE(HoldDown().empty());

    ClickOn(WelcomeDialog::kStartButtonId);
    EXPECT_EQ(gui().FindControl(WelcomeDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    EXPECT_EQ(game().welcomeShown, 0);
    EXPECT_EQ(client->settings->options->GetString("options", "viewedtutorialinfo"), "true");
    EXPECT_EQ(HoldDown(), std::vector<Bytes>{kStepSouth});

    // The next entry with the same options brings no welcome.
    client->ReturnToMenu();
    client->StartGame(true);
    EXPECT_EQ(gui().FindControl(WelcomeDialog::kDialogId), nullptr);
    EXPECT_EQ(game().welcomeShown, 0);
}

TEST_F(WelcomeDialogTest, LeavingTheGameWhileItIsOpenBringsItBackNextTime) {
    Enter("", true);
    client->ReturnToMenu();
    gui().Update();
    EXPECT_EQ(gui().FindControl(WelcomeDialog::kDialogId), nullptr);
    EXPECT_FALSE(client->settings->options->HasKey("options", "viewedtutorialinfo"));
    client->StartGame(true);
    EXPECT_NE(gui().FindControl(WelcomeDialog::kDialogId), nullptr);
}

TEST_F(WelcomeDialogTest, ItsFrameIsTheUsualInnerPanel) {
    Enter("", true);
    engine().Clear();
    gui().Update();
    EXPECT_TRUE(DrewBox(310, 215, 381, 245));
}

}  // namespace
