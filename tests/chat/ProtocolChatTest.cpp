// The chat family's handlers, each fed a frame as the dispatcher gets it.
#include "tests/chat/ChatFixture.h"

#include "dialogs/social/OpenChannelDialog.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "game/PagedTextWindow.h"
#include "game/TipMessages.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/LoginFixture.h"

namespace {

std::vector<std::string> notes;
void Record(const char* event) { notes.push_back(event); }
size_t Count(const std::string& event) { return size_t(std::count(notes.begin(), notes.end(), event)); }

class ProtocolChatTest : public ChatTest {
protected:
    ProtocolChatTest() {
        notes.clear();
        lifecycle::sink = &Record;
    }
    ~ProtocolChatTest() override { lifecycle::sink = nullptr; }

    void EnterGame() {
        client->StartGame(false);
        ASSERT_NE(client->game, nullptr);
        MakeTabGroup();
        log().AddChannelTab(ChatLog::kPublic, "Main");
    }
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        client->protocol->Dispatch(message);
        // Every message of the frame was read, and no further.
        EXPECT_EQ(message.Remaining(), 0);
    }
    static Bytes ChatLine(const std::string& sender, const std::string& channel, int kind, const std::string& text) {
        return Wire().U8(0x04).Str(sender).Str(channel).U8(uint32_t(kind)).Str(text).bytes;
    }
};

TEST_F(ProtocolChatTest, OnlyTheExactResetNoticeInMainRefreshesTheTalents) {
    EnterGame();
    const std::string reset = "Your talent points were reset.";
    const struct {
        const char* channel;
        int kind;
        std::string text;
        bool refresh;
    } cases[] = {
        {"Main", 6, reset, true},
        {"Main", 6, reset + " ", false},
        {"Main", 6, "your talent points were reset.", false},
        {"Main", 8, reset, false},
        {"Main", 1, reset, false},
        {"Trade", 6, reset, false},
        {"main", 6, reset, false},
    };
    for (const auto& c : cases) {
        notes.clear();
        Dispatch(ChatLine("Server", c.channel, c.kind, c.text));
        EXPECT_EQ(Count("TalentsDialog::Refresh"), c.refresh ? 1u : 0u) << c.channel << " " << c.kind << " " << c.text;
    }
    // The line itself is shown like any other.
    EXPECT_NE(Pane("Main")->box->text.find(reset), std::string::npos);
}

TEST_F(ProtocolChatTest, MessagesForTheGameScreenAreDroppedBeforeIt) {
    Dispatch(Join({Wire().U8(0x0b).U8(2).Str("Trade").bytes, Wire().U8(0x2b).Str("a|b").bytes,
                   Wire().U8(0x34).U32(2).Str("Title").Str("Text").U16(100).U16(100).U8(7).bytes,
                   Wire().U8(0x3c).bytes, ChatLine("Ana", "Main", 1, "hi")}));
    EXPECT_TRUE(log().Panes().empty());
    EXPECT_FALSE(ChannelRecorded("Trade"));
    EXPECT_EQ(Count("TutorialDialog::Open"), 0u);
    EXPECT_EQ(gui().FindControl(ChatLog::kFirstControlId), nullptr);
}

TEST_F(ProtocolChatTest, InTheGameTheyReachTheirOwners) {
    EnterGame();
    Dispatch(Join({Wire().U8(0x0b).U8(2).Str("Trade").bytes, Wire().U8(0x0b).U8(1).Str("Ana").bytes,
                   Wire().U8(0x2b).Str("one|two|three").bytes,
                   Wire().U8(0x34).U32(7).Str("Title").Str("Text").U16(100).U16(200).U8(6).bytes,
                   Wire().U8(0x3c).bytes, Wire().U8(0x0f).Str("You are hungry.").bytes}));
    ASSERT_NE(Pane("Trade"), nullptr);
    EXPECT_EQ(Pane("Trade")->type, ChatLog::kPublic);
    EXPECT_TRUE(ChannelRecorded("Trade"));
    ASSERT_NE(Pane("Ana"), nullptr);
    EXPECT_EQ(Pane("Ana")->type, ChatLog::kPrivate);

    PagedTextWindow& book = *client->game->pagedText;
    EXPECT_TRUE(book.open);
    EXPECT_EQ(book.pages, (std::vector<std::string>{"one", "two", "three"}));

    TipMessages& tips = *client->game->tipMessages;
    ASSERT_EQ(tips.tips.size(), 1u);
    EXPECT_EQ(tips.tips[0]->kind, 7);
    EXPECT_EQ(tips.tips[0]->x, 100);
    EXPECT_EQ(tips.tips[0]->y, 200);
    EXPECT_EQ(tips.tips[0]->z, 6);
    // Every tip is written into "Main" too.
    EXPECT_NE(Pane("Main")->box->text.find("Tip Message: Title Text"), std::string::npos);

    EXPECT_EQ(Count("TutorialDialog::Open"), 1u);
    EXPECT_EQ(StatusLine::Instance()->statusText, "You are hungry.");
}

TEST_F(ProtocolChatTest, TheChannelListIsReplacedWholeAndMayBeEmpty) {
    OpenChannelDialog* dialog = OpenChannelDialog::Instance();
    Dispatch(Wire().U8(0x1c).U8(2).Str("Trade").Str("Help").bytes);
    EXPECT_EQ(dialog->channels, (std::vector<std::string>{"Trade", "Help"}));
    Dispatch(Wire().U8(0x1c).U8(1).Str("English").bytes);
    EXPECT_EQ(dialog->channels, (std::vector<std::string>{"English"}));
    Dispatch(Wire().U8(0x1c).U8(0).bytes);
    EXPECT_TRUE(dialog->channels.empty());
}

TEST_F(ProtocolChatTest, ServerTextEndingInAColourCodeIsNeverReadPastItsEnd) {
    EnterGame();
    // Byte 1 starts a colour of four bytes; here fewer follow before the end.
    const std::string cut[] = {"\x01", "a\x01\xff", "b\x01\xff\xff\xff"};
    for (const std::string& tail : cut) {
        Dispatch(ChatLine("Ana" + tail, "Main", 1, "hello" + tail));
        Dispatch(ChatLine("Ana" + tail, "Main", 8, "hello" + tail));
        Dispatch(ChatLine("Bob", "Chan" + tail, 1, "x" + tail));
    }
    GUITextbox* box = Pane("Main")->box;
    box->selStart = 0;
    box->selEnd = float(box->text.size());
    client->app->gui->Update();  // draws every pane that is shown
    box->GetVisibleText();
    box->GetSelectedText();
    for (ChatPane* pane : log().Panes()) {
        log().SelectNextTab();
        client->app->gui->Update();
        pane->box->GetLineAt(20);
    }
}

}  // namespace
