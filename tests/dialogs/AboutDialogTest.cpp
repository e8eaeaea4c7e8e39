// The about box of the login screen: its lines, the credits that scroll and
// start over, and Enter as its Close.
#include <gtest/gtest.h>

#include "client/ClientInfo.h"
#include "dialogs/social/AboutDialog.h"
#include "engine/Font.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "protocol/Protocol.h"
#include "tests/dialogs/DialogFixture.h"
#include "tests/support/DrawnText.h"

namespace {

class AboutDialogTest : public DialogTest {
protected:
    void StartOnLoginScreen() {
        client = &fixture.StartClient("[options]\nfpslimit=0\n");
        client->app->gui->Update();
    }
    AboutDialog& about() { return *client->aboutDialog; }
    void Draw() {
        engine().Clear();
        gui().Update();
    }
    // Where the credits line was drawn this frame, or -1.
    float CreditsX() {
        std::string wanted = kAboutCredits;
        wanted.erase(std::remove(wanted.begin(), wanted.end(), ' '), wanted.end());
        for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet))
            if (text.text == wanted)
                return text.x;
        return -1;
    }
};

TEST_F(AboutDialogTest, TheNoticeLinesFitTheBoxInTheBuiltInWidths) {
    const Font builtIn;  // starts with the built-in advances
    for (const char* line : {kAboutMaker, kAboutWebAddress, kAboutFontNotice, kAboutFontTrademark})
        EXPECT_LE(builtIn.GetTextWidth(line), 342 - 40) << line;
    EXPECT_LE(builtIn.GetTextWidth(AboutDialog::VersionLine()), 302);
    EXPECT_LE(builtIn.GetTextWidth(AboutDialog::BuildLine()), 302);
}

TEST_F(AboutDialogTest, ItShowsTheVersionTheBuildAndTheNotices) {
    StartOnLoginScreen();
    about().Open();
    Draw();
    EXPECT_EQ(AboutDialog::VersionLine(), "Client version 5.7.3");
    const std::string build = AboutDialog::BuildLine();
    // "Built on Jun 28 2016 at 12:00:00"
    ASSERT_EQ(build.size(), std::string("Built on Jun 28 2016 at 12:00:00").size());
    EXPECT_EQ(build.substr(0, 9), "Built on ");
    EXPECT_EQ(build.substr(20, 4), " at ");
    for (const std::string& line : {AboutDialog::VersionLine(), build, std::string(kAboutMaker),
                                    std::string(kAboutWebAddress), std::string(kAboutFontNotice),
                                    std::string(kAboutFontTrademark)})
        EXPECT_TRUE(DrewText(line)) << line;
    // Two frames: the notices and the credits' strip, which clips the line.
    EXPECT_TRUE(DrewBox(329 + 10, 240 + 28, 322, 124));
    EXPECT_TRUE(DrewBox(329 + 10, 240 + 162, 322, 25));
    const std::vector<const RecordedCall*> clips = engine().Calls("EnableClipper");
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0]->args, (std::vector<double>{340, 407, 659, 422}));
    EXPECT_EQ(engine().Count("DisableClipper"), 1u);
}

TEST_F(AboutDialogTest, TheCreditsMoveAPixelEvery15MsAndStartOverFromTheRight) {
    const Font builtIn;
    const int width = builtIn.GetTextWidth(kAboutCredits);
    const int span = width + 342 - 20;
    const struct {
        uint64_t elapsed;
        int textWidth;
        int offset;
    } cases[] = {
        {0, width, 0},
        {14, width, 0},
        {15, width, 1},
        {uint64_t(span) * 15 - 1, width, span - 1},
        {uint64_t(span) * 15, width, 0},
        {uint64_t(span) * 15 * 1000 + 30, width, 2},
        // An empty line in a box narrower than its margins moves nothing
        // rather than dividing by nothing.
        {1000, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AboutDialog::CreditsOffset(c.elapsed, c.textWidth, c.textWidth ? 342 : 20), c.offset)
            << c.elapsed;

    StartOnLoginScreen();
    about().Open();
    const int right = 329 + 342 - 20;
    Draw();
    EXPECT_EQ(int(CreditsX()), right);
    fixture.platform.clock.Advance(150);
    Draw();
    EXPECT_EQ(int(CreditsX()), right - 10);
    fixture.platform.clock.Advance(uint32_t(span) * 15);
    Draw();
    EXPECT_EQ(int(CreditsX()), right - 10);
    // Opened again, it starts from the right at once.
    about().Close();
    gui().Update();
    about().Open();
    Draw();
    EXPECT_EQ(int(CreditsX()), right);
}

TEST_F(AboutDialogTest, EnterClosesItAsCloseDoes) {
    StartOnLoginScreen();
    about().Open();
    ASSERT_NE(gui().FindControl(AboutDialog::kDialogId), nullptr);
    EXPECT_EQ(gui().enterButtonId, AboutDialog::kCloseButtonId);
    Input().Char('\r');
    EXPECT_EQ(gui().FindControl(AboutDialog::kDialogId), nullptr);
    // The same Enter does not log in: the box still covered the screen.
    client->protocol->account = "untouched";
    client->RunPass();
    EXPECT_EQ(client->protocol->account, "untouched");
}

}  // namespace
