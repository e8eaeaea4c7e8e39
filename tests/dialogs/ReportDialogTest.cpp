// The report dialog: one per game screen at a time, the report sent as typed
// (or not at all when empty), and a fresh dialog after each.
#include "client/Hosts.h"
#include "dialogs/social/ReportDialog.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "tests/dialogs/DialogFixture.h"

namespace {

class ReportDialogTest : public DialogTest {
protected:
    GUITextbox* Text() { return Find<GUITextbox>(ReportDialog::kTextBoxId); }
    static Bytes Report(const std::string& text) {
        Bytes bytes = {0x20, uint8_t(text.size()), uint8_t(text.size() >> 8)};
        bytes.insert(bytes.end(), text.begin(), text.end());
        return bytes;
    }
};

TEST_F(ReportDialogTest, CtrlRShowsOneDialogWithTheFocusInItsBox) {
    Enter();
    CtrlKey('R');
    ASSERT_NE(game().reportDialog, nullptr);
    const GUIDialog* dialog = Find<GUIDialog>(ReportDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Report");
    EXPECT_EQ((std::vector<int>{dialog->x, dialog->y, dialog->width, dialog->height}),
              (std::vector<int>{300, 240, 400, 220}));
    EXPECT_EQ(gui().focus, Text());
    Input().Type("half");
    ReportDialog* first = game().reportDialog;
    CtrlKey('R');
    EXPECT_EQ(game().reportDialog, first);
    EXPECT_EQ(gui().FindControl(ReportDialog::kDialogId), dialog);
    EXPECT_EQ(Text()->GetText(), "half");
}

TEST_F(ReportDialogTest, ReportSendsTheTextAsTypedOrNothingWhenEmpty) {
    const struct {
        const char* name;
        std::string typed;
        std::vector<Bytes> sent;
    } cases[] = {
        {"hello", "hello", {{0x20, 0x05, 0x00, 'h', 'e', 'l', 'l', 'o'}}},
        {"empty", "", {}},
        {"blanks count", "  ", {{0x20, 0x02, 0x00, ' ', ' '}}},
        {"255 bytes, whole", std::string(255, 'x'), {Report(std::string(255, 'x'))}},
    };
    Enter();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CtrlKey('R');
        Input().Type(c.typed);
        ASSERT_EQ(Text()->GetText(), c.typed);
        ClickOn(ReportDialog::kSendButtonId);
        EXPECT_EQ(Sent(), c.sent);
        EXPECT_EQ(game().reportDialog, nullptr);
        EXPECT_EQ(gui().FindControl(ReportDialog::kDialogId), nullptr);
        EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    }
}

TEST_F(ReportDialogTest, AfterReportOrCancelCtrlROpensAFreshDialogInTheSameFrame) {
    Enter();
    for (int32_t button : {ReportDialog::kSendButtonId, ReportDialog::kCancelButtonId}) {
        CtrlKey('R');
        Input().Type("text");
        ClickOn(button);
        Sent();
        // No GUI update between: the old dialog still waits for deletion.
        CtrlKey('R');
        ASSERT_NE(game().reportDialog, nullptr);
        ASSERT_NE(Text(), nullptr);
        EXPECT_EQ(Text()->GetText(), "");
        EXPECT_EQ(gui().focus, Text());
        ClickOn(ReportDialog::kCancelButtonId);
        EXPECT_TRUE(Sent().empty());
    }
}

TEST_F(ReportDialogTest, TwoClicksOnReportInOneFrameSendOneReport) {
    Enter();
    CtrlKey('R');
    Input().Type("hello");
    ClickOn(ReportDialog::kSendButtonId);
    Input().Click(300 + 92 + 40, 240 + 185 + 12);
    EXPECT_EQ(Sent().size(), 1u);
    gui().Update();
    EXPECT_EQ(game().reportDialog, nullptr);
}

TEST_F(ReportDialogTest, TheHelpTextNamesTheStaffAddress) {
    Enter();
    CtrlKey('R');
    engine().Clear();
    gui().Update();
    EXPECT_TRUE(DrewBox(310, 270, 380, 135));
    EXPECT_TRUE(DrewText("Report game bugs or rule violators to the game staff here."));
    EXPECT_TRUE(DrewText("not respond to reporters. To contact us directly you can send"));
    EXPECT_TRUE(DrewText(std::string("email to ") + kStaffEmail + ". Thank you!"));
}

}  // namespace
