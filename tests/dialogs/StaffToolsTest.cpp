// The game master's tools: the window of Ctrl+Y with its chat commands and
// coordinates, the online list with its refresh and "Teleport Next", and the
// ban dialog with its lookups while typing, its two modes and its requests.
// Requests are checked as the bytes the connection queues.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/social/GMBanDialog.h"
#include "dialogs/social/GMWindow.h"
#include "dialogs/social/OnlineListDialog.h"
#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "tests/support/DrawnText.h"
#include "tests/support/GameFixture.h"
#include "tests/support/GuiInput.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

using Bytes = std::vector<uint8_t>;

const int kCtrl = platform::kVkControl;

Bytes Str(const std::string& text) {
    Bytes bytes{uint8_t(text.size()), uint8_t(text.size() >> 8)};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Chat(const std::string& text) { return Join({{0x03}, Str("Main"), Str(text)}); }
Bytes Lookup(const std::string& name) { return Join({{0x1D}, Str(name)}); }
Bytes Unban(const std::string& name) { return Join({{0x24}, Str(name)}); }
Bytes Banish(const std::string& name, uint16_t days, const std::string& comment, uint8_t warning,
             const std::string& rule) {
    return Join({{0x1E}, Str(name), {uint8_t(days), uint8_t(days >> 8)}, Str(comment), {warning}, Str(rule)});
}
const Bytes kOnlineListRequest = {0x3A};

class StaffTest : public GameTest {
protected:
    ~StaffTest() override {
        OnlineListDialog::Instance()->clock = nullptr;
        fixture.client.reset();
    }

    // In the game as a staff character at (1032, 2011, 7), with the staff
    // modules' run-long memory as a fresh run has it.
    void Enter(int privilege = 3) {
        Start();
        Creature* player = new Creature();
        player->id = 7;
        player->name = "Aldric";
        player->privilegeLevel = privilege;
        player->position = {1032, 2011, 7};
        game().map->AddCreature(player);
        game().map->camera->creature = player;
        input = std::make_unique<GuiInput>(*client->app, fixture.platform.keys);

        GMBanDialog* ban = GMBanDialog::Instance();
        ban->SetBanInfo("", "", "", false);
        ban->lastLookupName.clear();
        ban->lastLookupTime = GetTicks();
        OnlineListDialog* list = OnlineListDialog::Instance();
        list->clock = [this] { return now; };
        list->lastRequest = 0;
        list->savedIndex = 0;
        // The first frame's own requests (the hotkey bar asks for its spells once).
        DrawFrame();
        Sent();
    }

    GUIManager& gui() { return *client->app->gui; }
    template <class T>
    T* Find(int32_t id) {
        return dynamic_cast<T*>(gui().FindControl(id));
    }
    // The button with the caption inside a dialog.
    GUIButton* Button(int32_t dialogId, const std::string& caption) {
        GUIControl* dialog = gui().FindControl(dialogId);
        if (!dialog)
            return nullptr;
        for (GUIControl* control : dialog->CollectDescendants())
            if (GUIButton* button = dynamic_cast<GUIButton*>(control); button && button->caption == caption)
                return button;
        return nullptr;
    }
    // The pointer then rests over the map, where it shows no tooltip that
    // would ask the server for something.
    void Click(const GUIControl* control) {
        ASSERT_NE(control, nullptr);
        input->Click(control->x + control->width / 2, control->y + control->height / 2);
        input->Move(500, 60);
    }
    void Click(int32_t dialogId, const std::string& caption) { Click(Button(dialogId, caption)); }
    // Clicks a text box and types into it.
    void TypeInto(int32_t id, const std::string& text) {
        Click(Find<GUITextbox>(id));
        input->Type(text);
    }
    void CtrlY() {
        fixture.platform.keys.down.insert(kCtrl);
        KeyDown('Y');
        fixture.platform.keys.down.erase(kCtrl);
    }
    void Advance(uint32_t ms) { fixture.platform.clock.Advance(ms); }
    // The queued requests without their length prefix, and the queue emptied.
    std::vector<Bytes> Sent() {
        Connection& connection = *client->protocol->connection;
        std::vector<Bytes> frames;
        for (const Bytes& frame : connection.QueuedFrames())
            frames.emplace_back(frame.begin() + 2, frame.end());
        connection.ClearQueues();
        return frames;
    }
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Join({{uint8_t(payload.size()), uint8_t(payload.size() >> 8)}, payload});
        InMessage message(frame.data(), int(frame.size()));
        client->protocol->Dispatch(message);
    }
    Bytes BanInfo(const std::string& comment, const std::string& time, const std::string& info, uint8_t banned) {
        return Join({{0x1E}, Str(comment), Str(time), Str(info), {banned}});
    }
    std::vector<DrawnText> Texts() { return VisibleTexts(engine(), client->app->font->sheet); }

    std::unique_ptr<GuiInput> input;
    int64_t now = 1000000;
};

// --- The game master's window ---

TEST_F(StaffTest, ThePlayerCommandsSendTheNameAsTyped) {
    const struct {
        const char* button;
        const char* name;
        std::vector<Bytes> sent;
    } cases[] = {
        {"Read a Report", "", {Chat("!r")}},
        {"Read a Report", "Bob", {Chat("!r")}},
        {"Teleport To", "Bob", {Chat("!t Bob")}},
        {"Rescue", "Bob", {Chat("!r Bob")}},
        {"Kick", "Bob", {Chat("!k Bob")}},
        {"Teleport To", "", {}},
        {"Rescue", "", {}},
        {"Kick", "", {}},
        {"Teleport To", "  ", {Chat("!t   ")}},
        {"Kick", " bob ", {Chat("!k  bob ")}},
    };
    Enter();
    CtrlY();
    ASSERT_NE(game().gmWindow, nullptr);
    for (const auto& c : cases) {
        Find<GUITextbox>(GMWindow::kNameBoxId)->SetText(c.name);
        Click(GMWindow::kDialogId, c.button);
        EXPECT_EQ(Sent(), c.sent) << c.button << " '" << c.name << "'";
        EXPECT_EQ(Find<GUITextbox>(GMWindow::kNameBoxId)->GetText(), c.name) << "the box keeps its text";
    }
    EXPECT_EQ(GMWindow::PlayerCommand("!t ", ""), "");
}

TEST_F(StaffTest, CtrlYWhileTheWindowIsOpenKeepsTheTypedName) {
    Enter();
    CtrlY();
    GMWindow* window = game().gmWindow;
    ASSERT_NE(window, nullptr);
    TypeInto(GMWindow::kNameBoxId, "Bob");
    GUITextbox* box = Find<GUITextbox>(GMWindow::kNameBoxId);
    CtrlY();
    DrawFrame();
    EXPECT_EQ(game().gmWindow, window);
    EXPECT_EQ(Find<GUITextbox>(GMWindow::kNameBoxId), box);
    EXPECT_EQ(box->GetText(), "Bob");
}

// "Close" frees the window from inside its own click: a second click in the
// same frame finds the dialog gone and reaches no freed object.
TEST_F(StaffTest, CloseClickedTwiceInOneFrameFreesTheWindowOnceAndReturnsTheFocus) {
    Enter();
    CtrlY();
    ASSERT_NE(game().gmWindow, nullptr);
    GUIButton* close = Find<GUIButton>(GMWindow::kCloseButtonId);
    ASSERT_NE(close, nullptr);
    const int x = close->x + 5;
    const int y = close->y + 5;
    TakeEvents();
    input->Click(x, y);
    input->Click(x, y);
    EXPECT_EQ(TakeEvents(), (std::vector<std::string>{"GMWindow::Close", "~GMWindow"}));
    EXPECT_EQ(game().gmWindow, nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    DrawFrame();
    EXPECT_EQ(gui().FindControl(GMWindow::kDialogId), nullptr);
    CtrlY();
    EXPECT_NE(game().gmWindow, nullptr) << "a new window after the close";
}

TEST_F(StaffTest, TheCoordinatesLineShowsTheFollowedCreaturesPosition) {
    EXPECT_EQ(GMWindow::CoordinatesLine(1024, 2005, 7), "Your coordinates: 1032x2011x7");
    Enter();
    CtrlY();
    engine().Clear();
    DrawFrame();
    const GUIControl* dialog = gui().FindControl(GMWindow::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->x, 500 - 198);
    EXPECT_EQ(dialog->y, 350 - 130);
    const std::vector<DrawnText> texts = Texts();
    const auto line = std::find_if(texts.begin(), texts.end(),
                                   [](const DrawnText& t) { return t.text == "Yourcoordinates:1032x2011x7"; });
    ASSERT_NE(line, texts.end());
    EXPECT_EQ(line->x, dialog->x + 17);
    EXPECT_EQ(line->y, dialog->y + 37);
    EXPECT_EQ(line->color, 0xFFDCDCDCu);
}

// Ctrl+Up turns the player; whether it does shows whether the game screen
// polls the movement keys with that focus.
TEST_F(StaffTest, OnlyTheNameBoxOfTheStaffToolsKeepsTheMovementKeys) {
    const struct {
        const char* name;
        int32_t focus;
        bool turns;
    } cases[] = {
        {"the chat input", GameIds::kChatInput, true},
        {"the game master's name box", GMWindow::kNameBoxId, true},
        {"the online list", OnlineListDialog::kListId, false},
        {"the ban dialog's name box", GMBanDialog::kNameBoxId, false},
    };
    Enter();
    CtrlY();
    Click(GMWindow::kDialogId, "Open Online List");
    EXPECT_EQ(gui().focus, gui().FindControl(OnlineListDialog::kListId)) << "the list takes the focus";
    GMBanDialog::Instance()->Open();
    KeyDown(platform::kVkUp);
    for (const auto& c : cases) {
        gui().focus = gui().FindControl(c.focus);
        ASSERT_NE(gui().focus, nullptr) << c.name;
        Sent();
        fixture.platform.keys.down = {kCtrl};
        game().Update();
        fixture.platform.keys.down.clear();
        const std::vector<Bytes> turn = {{0x0D, 3}};
        EXPECT_EQ(Sent(), c.turns ? turn : std::vector<Bytes>()) << c.name;
    }
}

// --- The online list ---

TEST_F(StaffTest, TheOnlineListIsRequestedOnItsFirstFrameAndEverySixSeconds) {
    const struct {
        int64_t now;
        int64_t last;
        bool due;
    } cases[] = {{100, 0, true}, {100, 95, false}, {100, 94, true}, {100, 100, false}, {100, 101, true},
                 {100, 5000, true}};
    for (const auto& c : cases)
        EXPECT_EQ(OnlineListDialog::RefreshDue(c.now, c.last), c.due) << c.now << " after " << c.last;

    Enter();
    CtrlY();
    Click(GMWindow::kDialogId, "Open Online List");
    ASSERT_NE(gui().FindControl(OnlineListDialog::kDialogId), nullptr);
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{kOnlineListRequest});
    DrawFrame();
    now += 5;
    DrawFrame();
    EXPECT_TRUE(Sent().empty());
    now += 1;
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{kOnlineListRequest});
    // A clock set back does not stall the list.
    now -= 3600;
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{kOnlineListRequest});

    // Closed, nothing is asked; reopened within six seconds, nothing yet.
    Click(OnlineListDialog::kDialogId, "Close");
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    now += 3;
    DrawFrame();
    EXPECT_TRUE(Sent().empty());
    Click(GMWindow::kDialogId, "Open Online List");
    DrawFrame();
    EXPECT_TRUE(Sent().empty());
    now += 3;
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{kOnlineListRequest});
}

TEST_F(StaffTest, TeleportNextVisitsEachRowOnceWithoutWrapping) {
    Enter();
    OnlineListDialog* list = OnlineListDialog::Instance();
    list->Open();
    DrawFrame();
    Sent();
    // Nobody listed: nothing to send.
    Click(OnlineListDialog::kDialogId, "Teleport Next");
    EXPECT_TRUE(Sent().empty());
    list->BeginUpdate();
    for (const char* name : {"Ana", "Bob", "Evil"})
        list->AddEntry(name, 1, 2, 3);
    list->EndUpdate();
    for (int i = 0; i < 4; ++i)
        Click(OnlineListDialog::kDialogId, "Teleport Next");
    EXPECT_EQ(Sent(), (std::vector<Bytes>{Chat("!t Ana"), Chat("!t Bob"), Chat("!t Evil")}));
    EXPECT_EQ(Find<GUISelect>(OnlineListDialog::kListId)->selectedIndex, 3);
    // A longer list under the selection makes the button work again.
    list->AddEntry("Dora", 1, 2, 3);
    Click(OnlineListDialog::kDialogId, "Teleport Next");
    EXPECT_EQ(Sent(), std::vector<Bytes>{Chat("!t Dora")});
}

TEST_F(StaffTest, TheOnlineListHasItsPlaceAndTwoLineRows) {
    Enter();
    OnlineListDialog::Instance()->Open();
    const GUIControl* dialog = gui().FindControl(OnlineListDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->x, 500 - 225);
    EXPECT_EQ(dialog->y, 350 - 200);
    const GUISelect* rows = Find<GUISelect>(OnlineListDialog::kListId);
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->rowHeight, 35);
    EXPECT_EQ(rows->fillColor, 0x1E000000u);
    EXPECT_EQ(rows->x - dialog->x, 20);
    EXPECT_EQ(rows->y - dialog->y, 40);
    OnlineListDialog::Instance()->AddEntry("Ana", 12, 7, 90);
    ASSERT_EQ(rows->items.size(), 1u);
    EXPECT_EQ(rows->items[0].text, "Ana");
    EXPECT_EQ(rows->items[0].rightText, "Level 12");
    EXPECT_EQ(rows->items[0].subText, "7 seconds idle");
    EXPECT_EQ(rows->items[0].subRightText, "90 minutes online");
}

// --- The ban dialog ---

TEST_F(StaffTest, TheLookupRulesArePure) {
    const struct {
        const char* name;
        const char* last;
        uint32_t now;
        uint32_t lastTime;
        bool due;
    } lookups[] = {
        {"Abc", "Ab", 1501, 1000, true},     {"Abc", "Ab", 1500, 1000, false},
        {"Abc", "Abc", 9000, 1000, false},   {"", "Abc", 9000, 1000, true},
        {"Abc", "", 1000, 0xFFFFFF00, true}, {"Abc", "", 0xFFFFFFFF, 0xFFFFFF00, false},
    };
    for (const auto& c : lookups)
        EXPECT_EQ(GMBanDialog::LookupDue(c.name, c.last, c.now, c.lastTime), c.due)
            << c.name << "/" << c.last << " " << c.now << " " << c.lastTime;

    using Change = GMBanDialog::FormChange;
    EXPECT_EQ(GMBanDialog::ModeChange(true, "Ban/warn"), Change::ShowBan);
    EXPECT_EQ(GMBanDialog::ModeChange(true, "Unban"), Change::Keep);
    EXPECT_EQ(GMBanDialog::ModeChange(false, "Unban"), Change::ClearBan);
    EXPECT_EQ(GMBanDialog::ModeChange(false, "Ban/warn"), Change::Keep);

    const struct {
        const char* text;
        uint16_t days;
    } days[] = {{"70000", 4464}, {"", 0}, {"abc", 0}, {" 12x", 12}, {"-1", 65535}, {"99999999999", 65535},
                {"3", 3}};
    for (const auto& c : days)
        EXPECT_EQ(GMBanDialog::DaysValue(c.text), c.days) << '"' << c.text << '"';
}

TEST_F(StaffTest, TypingANameLooksUpItsFirstLetterAndThenTheWholeName) {
    Enter();
    Dispatch({0x1F});
    const GUIControl* dialog = gui().FindControl(GMBanDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->x, 500 - 175);
    EXPECT_EQ(dialog->y, 350 - 200);
    Advance(1000);
    DrawFrame();
    EXPECT_TRUE(Sent().empty()) << "the empty box is the last name looked up";

    TypeInto(GMBanDialog::kNameBoxId, "A");
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{Lookup("A")});
    Advance(200);
    input->Type("b");
    DrawFrame();
    Advance(200);
    input->Type("c");
    DrawFrame();
    Advance(100);
    DrawFrame();
    EXPECT_TRUE(Sent().empty()) << "exactly 500 ms is not enough";
    Advance(1);
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{Lookup("Abc")});
    Advance(2000);
    DrawFrame();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(GMBanDialog::Instance()->lastLookupName, "Abc");
}

TEST_F(StaffTest, AReopenedDialogLooksUpItsEmptyNameAndShowsUpdatingUntilTheAnswer) {
    Enter();
    GMBanDialog* ban = GMBanDialog::Instance();
    ban->Open();
    TypeInto(GMBanDialog::kNameBoxId, "Abc");
    Advance(1000);
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{Lookup("Abc")});
    Dispatch(BanInfo("", "", "Abc: no ban", 0));
    Click(GMBanDialog::kDialogId, "Close");
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    DrawFrame();

    Advance(1000);
    Dispatch({0x1F});
    EXPECT_EQ(ban->infoLine, "") << "the last answer belongs to the last dialog";
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{Lookup("")});
    Dispatch(BanInfo("", "", "No name given", 0));
    TypeInto(GMBanDialog::kNameBoxId, "Abc");
    Advance(1000);
    engine().Clear();
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{Lookup("Abc")}) << "looked up again, though it was the name before";
    engine().Clear();
    DrawFrame();
    std::vector<std::string> shown;
    for (const DrawnText& text : Texts())
        shown.push_back(text.text);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Updating..."), shown.end());
    EXPECT_EQ(std::find(shown.begin(), shown.end(), "Notbanned"), shown.end());
}

TEST_F(StaffTest, TheStatusPanelShowsTheAnswerInItsColours) {
    const struct {
        const char* name;
        std::string info;
        uint8_t banned;
        const char* typed;
        std::vector<std::pair<std::string, uint32_t>> lines;  // at y + 73, then y + 86
    } cases[] = {
        {"banned", "Evil: banned for 14 days", 1, "Evil",
         {{"Evil:bannedfor14days", 0xFF808080}, {"Currentlybanned", 0xFF0000FF}}},
        {"not banned", "Ana: no ban", 0, "Ana", {{"Ana:noban", 0xFF808080}, {"Notbanned", 0xFF00FF00}}},
        {"waiting", "", 0, "Ana", {{"Updating...", 0xFF808080}}},
        {"nothing typed, nothing asked", "", 0, "", {}},
    };
    Enter();
    GMBanDialog* ban = GMBanDialog::Instance();
    ban->Open();
    const GUIControl* dialog = gui().FindControl(GMBanDialog::kDialogId);
    ASSERT_NE(dialog, nullptr);
    for (const auto& c : cases) {
        Find<GUITextbox>(GMBanDialog::kNameBoxId)->SetText(c.typed);
        ban->lastLookupName = c.typed;  // no lookup empties the line meanwhile
        ban->SetBanInfo("", "", c.info, c.banned != 0);
        engine().Clear();
        DrawFrame();
        std::vector<std::pair<std::string, uint32_t>> lines;
        for (const DrawnText& text : Texts()) {
            if (text.x != dialog->x + 26 || text.y < dialog->y + 70 || text.y >= dialog->y + 105)
                continue;
            EXPECT_EQ(text.y, dialog->y + (lines.empty() ? 73 : 86)) << c.name << ": " << text.text;
            lines.emplace_back(text.text, text.color);
        }
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

TEST_F(StaffTest, ABannedAnswerFillsAndLocksTheFormAndANotBannedOneClearsIt) {
    Enter();
    GMBanDialog::Instance()->Open();
    TypeInto(GMBanDialog::kNameBoxId, "Evil");
    TypeInto(GMBanDialog::kDaysBoxId, "7");
    Advance(1000);
    DrawFrame();
    EXPECT_EQ(Sent(), std::vector<Bytes>{Lookup("Evil")});
    GUIButton* action = Find<GUIButton>(GMBanDialog::kActionButtonId);
    const std::vector<GUIControl*> form = {gui().FindControl(GMBanDialog::kDaysBoxId),
                                           gui().FindControl(GMBanDialog::kCommentBoxId),
                                           gui().FindControl(GMBanDialog::kWarningBoxId),
                                           gui().FindControl(GMBanDialog::kRuleListId)};
    auto disabled = [&] {
        std::vector<bool> flags;
        for (const GUIControl* control : form)
            flags.push_back(control->HasFlag(GUIControl::kDisabled));
        return flags;
    };
    EXPECT_EQ(disabled(), std::vector<bool>(4, false));

    // Any non-zero byte is banned.
    Dispatch(BanInfo("Botting", "14", "Evil: banned", 2));
    EXPECT_EQ(GMBanDialog::Instance()->banned, 1);
    DrawFrame();
    EXPECT_EQ(action->caption, "Unban");
    EXPECT_EQ(Find<GUITextbox>(GMBanDialog::kDaysBoxId)->GetText(), "14");
    EXPECT_EQ(Find<GUITextbox>(GMBanDialog::kCommentBoxId)->GetText(), "Botting");
    EXPECT_EQ(disabled(), std::vector<bool>(4, true));
    // Locked: a click on the warning box changes nothing.
    Click(gui().FindControl(GMBanDialog::kWarningBoxId));
    EXPECT_FALSE(Find<GUICheckbox>(GMBanDialog::kWarningBoxId)->checked);

    Dispatch(BanInfo("", "", "Evil: no ban", 0));
    DrawFrame();
    EXPECT_EQ(action->caption, "Ban/warn");
    EXPECT_EQ(Find<GUITextbox>(GMBanDialog::kDaysBoxId)->GetText(), "");
    EXPECT_EQ(Find<GUITextbox>(GMBanDialog::kCommentBoxId)->GetText(), "");
    EXPECT_EQ(disabled(), std::vector<bool>(4, false));

    // Answers that change no mode leave what the game master typed.
    TypeInto(GMBanDialog::kDaysBoxId, "5");
    Dispatch(BanInfo("", "", "Evil: still no ban", 0));
    DrawFrame();
    EXPECT_EQ(Find<GUITextbox>(GMBanDialog::kDaysBoxId)->GetText(), "5");
}

TEST_F(StaffTest, BanWarnSendsTheFormAndALookup) {
    const struct {
        const char* name;
        const char* days;
        bool warning;
        int rule;  // the row to select, -1 to leave the list untouched
        Bytes sent;
    } cases[] = {
        {"untouched list", "3", false, -1, Banish("Evil", 3, "spam", 0, "1")},
        {"days past 16 bits", "70000", false, 1, Banish("Evil", 4464, "spam", 0, "2")},
        {"no digits", "soon", true, 8, Banish("Evil", 0, "spam", 1, "9")},
    };
    for (const auto& c : cases) {
        Enter();
        GMBanDialog* ban = GMBanDialog::Instance();
        ban->Open();
        TypeInto(GMBanDialog::kNameBoxId, "Evil");
        Advance(1000);
        DrawFrame();
        Sent();
        TypeInto(GMBanDialog::kDaysBoxId, c.days);
        TypeInto(GMBanDialog::kCommentBoxId, "spam");
        if (c.warning)
            Click(gui().FindControl(GMBanDialog::kWarningBoxId));
        if (c.rule >= 0)
            Find<GUISelect>(GMBanDialog::kRuleListId)->selectedIndex = c.rule;
        Click(GMBanDialog::kDialogId, "Ban/warn");
        EXPECT_EQ(Sent(), (std::vector<Bytes>{c.sent, Lookup("Evil")})) << c.name;
        EXPECT_EQ(ban->lastLookupName, "Evil") << c.name;
        fixture.client.reset();
    }
}

TEST_F(StaffTest, UnbanSendsTheNameThenALookup) {
    Enter();
    GMBanDialog::Instance()->Open();
    TypeInto(GMBanDialog::kNameBoxId, "Evil");
    Advance(1000);
    DrawFrame();
    Dispatch(BanInfo("Botting", "14", "Evil: banned", 1));
    DrawFrame();
    Sent();
    Click(GMBanDialog::kDialogId, "Unban");
    EXPECT_EQ(Sent(), (std::vector<Bytes>{Unban("Evil"), Lookup("Evil")}));
}

// The server may open the dialog again in the frame the game master closed it.
TEST_F(StaffTest, TheBanDialogOpenedInTheFrameItClosedStaysOpen) {
    Enter();
    Dispatch({0x1F});
    Click(GMBanDialog::kDialogId, "Close");
    Dispatch({0x1F});
    DrawFrame();
    DrawFrame();
    EXPECT_NE(gui().FindControl(GMBanDialog::kDialogId), nullptr);
    EXPECT_NE(Button(GMBanDialog::kDialogId, "Ban/warn"), nullptr);
}

// Left over the login screen (they are closed with the game screen), the
// staff dialogs would send their lookups and list requests to the login server.
TEST_F(StaffTest, WithoutAGameScreenTheStaffDialogsSendNothing) {
    client = &fixture.StartClient("[options]\nfpslimit=0\n");
    GMBanDialog* ban = GMBanDialog::Instance();
    ban->lastLookupName = "Someone";
    ban->lastLookupTime = GetTicks();
    OnlineListDialog::Instance()->clock = [this] { return now; };
    OnlineListDialog::Instance()->lastRequest = 0;
    ban->Open();
    OnlineListDialog::Instance()->Open();
    Advance(1000);
    client->protocol->connection->ClearQueues();
    client->RunPass();
    client->RunPass();
    EXPECT_NE(client->app->gui->FindControl(GMBanDialog::kDialogId), nullptr);
    EXPECT_NE(client->app->gui->FindControl(OnlineListDialog::kDialogId), nullptr);
    EXPECT_EQ(client->protocol->connection->OutgoingCount(), 0u);
    ban->Close();
    OnlineListDialog::Instance()->Close();
}

}  // namespace
