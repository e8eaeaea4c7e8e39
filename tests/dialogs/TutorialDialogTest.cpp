// The completed tutorial's dialog: opened by the server's message, its two
// web links, its captions measured at each draw, and its Close.
#include "client/ClientInfo.h"
#include "client/Hosts.h"
#include "dialogs/social/TutorialDialog.h"
#include "engine/Font.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "tests/dialogs/DialogFixture.h"
#include "tests/support/DrawnText.h"

namespace {

const Bytes kTutorialDone = {0x3C};

class TutorialDialogTest : public DialogTest {
protected:
    // The picture button with the sprite.
    GUIButton* Link(int picture) {
        for (GUIControl* control : gui().FindControl(TutorialDialog::kDialogId)->CollectDescendants())
            if (GUIButton* button = dynamic_cast<GUIButton*>(control))
                if (button->icon == picture)
                    return button;
        return nullptr;
    }
    void Click(const GUIControl* control) {
        Input().Click(control->x + control->width / 2, control->y + control->height / 2);
    }
    // Where a caption's first glyph was drawn, or -1.
    float CaptionX(const std::string& caption) {
        engine().Clear();
        gui().Update();
        std::string wanted = caption;
        wanted.erase(std::remove(wanted.begin(), wanted.end(), ' '), wanted.end());
        for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet))
            if (text.text == wanted)
                return text.x;
        return -1;
    }
};

TEST_F(TutorialDialogTest, TheServersMessageOpensItOnceAndAgainChangesNothing) {
    Enter();
    Dispatch(kTutorialDone);
    GUIDialog* dialog = Find<GUIDialog>(TutorialDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Congratulations!");
    EXPECT_EQ((std::vector<int>{dialog->x, dialog->y, dialog->width, dialog->height}),
              (std::vector<int>{300, 185, 400, 330}));
    const GUITextbox* text = Find<GUITextbox>(TutorialDialog::kTextId);
    ASSERT_NE(text, nullptr);
    EXPECT_NE(text->GetText().find(std::string("talk to ") + kQuestGiverName + " (downstairs)"), std::string::npos);
    ASSERT_NE(Link(6601), nullptr);
    ASSERT_NE(Link(6600), nullptr);
    EXPECT_EQ(Link(6601)->x, 330);
    EXPECT_EQ(Link(6600)->x, 505);
    for (int picture : {6601, 6600}) {
        // Without a skin of their own, so that the captions show through.
        const GUIButton* link = Link(picture);
        EXPECT_EQ(link->skin, 0);
        EXPECT_EQ((std::vector<uint32_t>{link->lightColor, link->darkColor, link->fillColor, link->textColor}),
                  (std::vector<uint32_t>{0x96000000, 0x96000000, 0x32000000, 0xFFC8C8C8}));
    }

    dialog->MoveBy(-50, 20);
    Dispatch(kTutorialDone);
    EXPECT_EQ(gui().FindControl(TutorialDialog::kDialogId), dialog);
    EXPECT_EQ(dialog->x, 250);
    EXPECT_EQ(Find<GUITextbox>(TutorialDialog::kTextId)->GetText(), TutorialDialog::kText);
}

TEST_F(TutorialDialogTest, EachPictureOpensItsPageEveryTimeAndTheDialogStays) {
    Enter();
    Dispatch(kTutorialDone);
    Click(Link(6601));
    Click(Link(6600));
    Click(Link(6601));
    EXPECT_EQ(fixture.platform.shell.opened,
              (std::vector<std::string>{kFansitePageUrl, kCityMapUrl, kFansitePageUrl}));
    EXPECT_EQ(fixture.platform.shell.showCommands, (std::vector<int>{1, 1, 1}));
    EXPECT_NE(gui().FindControl(TutorialDialog::kDialogId), nullptr);
    // A browser that does not start is not reported.
    fixture.platform.shell.result = false;
    Click(Link(6600));
    EXPECT_EQ(fixture.platform.shell.opened.size(), 4u);
    EXPECT_TRUE(fixture.platform.boxes.shown.empty());
    EXPECT_EQ(gui().FindControl(GUIManager::kMessageBoxId), nullptr);

    ClickOn(TutorialDialog::kCloseButtonId);
    EXPECT_EQ(gui().FindControl(TutorialDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
}

TEST_F(TutorialDialogTest, TheCaptionsStayCentredOnTheirPicturesWhenTheFontChanges) {
    Enter();
    Dispatch(kTutorialDone);
    engine().Clear();
    gui().Update();
    EXPECT_TRUE(DrewBox(310, 215, 380, 245));
    EXPECT_TRUE(DrewBox(319, 310, 362, 139));
    Font& font = *client->app->font;
    const struct {
        const char* caption;
        int picture;
    } cases[] = {{"Official Fansites", 6601}, {"Brannoc City Map", 6600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        const GUIButton* link = Link(c.picture);
        const float before = CaptionX(c.caption);
        EXPECT_EQ(int(before), link->x + link->width / 2 - font.GetTextWidth(c.caption) / 2);
        // Wider letters: the caption grows to both sides.
        const int saved = font.advances['i' - 32];
        font.advances['i' - 32] = saved + 8;
        EXPECT_EQ(int(CaptionX(c.caption)), link->x + link->width / 2 - font.GetTextWidth(c.caption) / 2);
        EXPECT_LT(CaptionX(c.caption), before);
        font.advances['i' - 32] = saved;
    }
}

TEST_F(TutorialDialogTest, NothingOpensBeforeTheGame) {
    client = &fixture.StartClient("[options]\nfpslimit=0\n");
    Dispatch(kTutorialDone);
    EXPECT_EQ(client->app->gui->FindControl(TutorialDialog::kDialogId), nullptr);
}

}  // namespace
