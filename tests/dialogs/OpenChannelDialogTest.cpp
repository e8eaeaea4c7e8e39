// The "Open Channel" dialog: the channel list it asks for and shows, the join
// it sends (a typed name first), Enter and Cancel.
#include "dialogs/social/OpenChannelDialog.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "tests/dialogs/DialogFixture.h"

namespace {

const Bytes kRequestChannels = {0x1C};

class OpenChannelDialogTest : public DialogTest {
protected:
    GUISelect* List() { return Find<GUISelect>(OpenChannelDialog::kListId); }
    GUITextbox* NameBox() { return Find<GUITextbox>(OpenChannelDialog::kNameBoxId); }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        if (const GUISelect* list = List())
            for (const GUISelectItem& item : list->items)
                rows.push_back(item.text);
        return rows;
    }
    static Bytes ChannelList(const std::vector<std::string>& names) {
        Wire wire;
        wire.U8(0x1C).U8(uint32_t(names.size()));
        for (const std::string& name : names)
            wire.Str(name);
        return wire.bytes;
    }
};

TEST_F(OpenChannelDialogTest, OpeningAsksForTheListOnceAndTheAnswerReplacesTheRows) {
    Enter();
    CtrlKey('P');
    const GUIDialog* dialog = Find<GUIDialog>(OpenChannelDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->title, "Open Channel");
    EXPECT_EQ((std::vector<int>{dialog->x, dialog->y, dialog->width, dialog->height}),
              (std::vector<int>{365, 220, 280, 233}));
    EXPECT_EQ(gui().focus, NameBox());
    EXPECT_EQ(gui().enterButtonId, OpenChannelDialog::kOpenButtonId);
    // Again by the chat area's button: nothing more is asked.
    ClickOn(GameIds::kChannelListButton);
    EXPECT_EQ(Sent(), std::vector<Bytes>{kRequestChannels});

    Dispatch(ChannelList({"Trade", "Help"}));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Trade", "Help"}));
    Dispatch(ChannelList({"English"}));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"English"}));
    Dispatch(ChannelList({}));
    EXPECT_TRUE(Rows().empty());
}

TEST_F(OpenChannelDialogTest, AListThatComesWhileTheDialogIsClosedOpensNothing) {
    Enter();
    Dispatch(ChannelList({"Trade"}));
    EXPECT_EQ(gui().FindControl(OpenChannelDialog::kDialogId), nullptr);
    // Nor does an earlier list fill a new dialog: it waits for its own answer.
    OpenChannelDialog::Instance()->Open();
    EXPECT_TRUE(Rows().empty());
}

TEST_F(OpenChannelDialogTest, TheJoinNamesTheTypedPlayerOrElseTheSelectedChannel) {
    const struct {
        const char* name;
        const char* typed;
        int selected;  // row of {"Trade", "Help"}; -1 for none
        bool enter;
        Bytes sent;
    } cases[] = {
        {"a typed name", "Ann", -1, false, {0x15, 0x01, 0x03, 0x00, 'A', 'n', 'n'}},
        {"a typed name wins over a row", "Ann", 1, false, {0x15, 0x01, 0x03, 0x00, 'A', 'n', 'n'}},
        {"Enter in the name box", "Ann", -1, true, {0x15, 0x01, 0x03, 0x00, 'A', 'n', 'n'}},
        {"a row", "", 1, false, {0x15, 0x02, 0x04, 0x00, 'H', 'e', 'l', 'p'}},
        {"nothing: an empty public name", "", -1, false, {0x15, 0x02, 0x00, 0x00}},
    };
    Enter();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenChannelDialog::Instance()->Open();
        Dispatch(ChannelList({"Trade", "Help"}));
        Sent();
        if (c.enter)
            Input().Type(c.typed);
        else
            NameBox()->SetText(c.typed);
        List()->selectedIndex = c.selected;
        if (c.enter)
            Input().Char('\r');
        else
            ClickOn(OpenChannelDialog::kOpenButtonId);
        EXPECT_EQ(Sent(), std::vector<Bytes>{c.sent});
        EXPECT_EQ(gui().FindControl(OpenChannelDialog::kDialogId), nullptr);
        EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
        Pump();
        gui().Update();
    }
}

TEST_F(OpenChannelDialogTest, CancelSendsNothing) {
    Enter();
    OpenChannelDialog::Instance()->Open();
    NameBox()->SetText("Ann");
    Sent();
    ClickOn(OpenChannelDialog::kCancelButtonId);
    EXPECT_EQ(gui().FindControl(OpenChannelDialog::kDialogId), nullptr);
    EXPECT_TRUE(Sent().empty());
    // A confirmation after it has gone sends nothing either.
    OpenChannelDialog::Instance()->Confirm();
    EXPECT_TRUE(Sent().empty());
}

TEST_F(OpenChannelDialogTest, ItsFrameIsTheUsualInnerPanel) {
    Enter();
    OpenChannelDialog::Instance()->Open();
    engine().Clear();
    gui().Update();
    EXPECT_TRUE(DrewBox(365 + 10, 220 + 30, 260, 148));
    EXPECT_TRUE(DrewText("Private message:"));
}

}  // namespace
