// What the game screen and the status line draw, and what they expire.
#include <gtest/gtest.h>

#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "game/StatusLine.h"
#include "platform/Platform.h"
#include "sidewindows/CStatus.h"
#include "tests/support/GameFixture.h"
#include "world/Map.h"

namespace {

// The cover over the 544 x 416 field in this frame's calls, or 0.
uint32_t FieldCover(const RecordingEngine& engine, const Map& map) {
    for (const RecordedCall* call : engine.Calls("RenderRectangle"))
        if (call->args.size() >= 5 && call->args[1] == map.viewX && call->args[2] == map.viewY &&
            call->args[3] == 544 && call->args[4] == 416)
            return uint32_t(call->args[0]);
    return 0;
}

}  // namespace

TEST_F(GameTest, TheFieldFadesInThenWarnsOfLowHealth) {
    Start("dontresize=true\n");
    FakeClock& clock = fixture.platform.clock;
    game().StampEnterTick();
    CStatus* status = game().status;
    status->health = 10;
    status->maxHealth = 100;

    const struct {
        const char* name;
        uint32_t after;  // ms since entering
        int health;
        int maxHealth;
        uint32_t colour;  // of the cover without alpha; 0 for none
    } cases[] = {
        {"fade-in at once, even at low health", 0, 10, 100, 0x000000},
        {"fade-in near its end", 700, 10, 100, 0x000000},
        {"pulse at 30/100", 800, 30, 100, 0x0000FF},
        {"no pulse at 31/100", 900, 31, 100, 0},
        {"no pulse without a maximum", 1000, 0, 0, 0},
    };
    uint32_t elapsed = 0;
    for (const auto& c : cases) {
        clock.Advance(c.after - elapsed);
        elapsed = c.after;
        status->health = c.health;
        status->maxHealth = c.maxHealth;
        engine().Clear();
        DrawFrame();
        const uint32_t cover = FieldCover(engine(), *game().map);
        if (c.colour == 0 && std::string(c.name).find("fade") == std::string::npos) {
            EXPECT_EQ(cover, 0u) << c.name;
        } else {
            EXPECT_EQ(cover & 0x00FFFFFF, c.colour) << c.name;
            EXPECT_NE(cover >> 24, 0u) << c.name;
        }
    }
}

// The back ends leave a clip rectangle's right and bottom edge out, as the
// tips' clip over the same field does: the field's last pixel column and row
// are drawn.
TEST_F(GameTest, TheFieldsClipReachesItsLastColumnAndRow) {
    Start("dontresize=true\n");
    engine().Clear();
    DrawFrame();
    const Map& map = *game().map;
    const std::vector<const RecordedCall*> clips = engine().Calls("EnableClipper");
    ASSERT_FALSE(clips.empty());
    EXPECT_EQ(clips.front()->args, (std::vector<double>{double(map.viewX), double(map.viewY),
                                                        double(map.viewX + 17 * 32), double(map.viewY + 13 * 32)}));
}

TEST_F(GameTest, StatusTextLastsTwoSecondsFromItsLastSetting) {
    Start();
    StatusLine* line = StatusLine::Instance();
    FakeClock& clock = fixture.platform.clock;
    auto drawsSomething = [&] {
        engine().Clear();
        line->Draw(game().GetFieldView());
        return engine().calls.size() > 0;
    };
    line->speech.clear();
    line->SetText("You can not move there.");
    clock.Advance(1999);
    EXPECT_TRUE(drawsSomething());
    line->SetText("You can not move there.");  // the same text again restarts the time
    clock.Advance(1999);
    EXPECT_TRUE(drawsSomething());
    clock.Advance(1);
    EXPECT_FALSE(drawsSomething());
}

TEST_F(GameTest, TimedBlocksKeepFourSecondsFromTheirFirstDraw) {
    Start();
    StatusLine* line = StatusLine::Instance();
    line->timedLines.clear();
    FakeClock& clock = fixture.platform.clock;
    for (const char* text : {"one", "two", "three", "four", "five"})
        line->AddTimedLines(text);
    ASSERT_EQ(line->timedLines.size(), 4u);
    EXPECT_EQ(line->timedLines.front().lines, (std::vector<std::string>{"two"}));

    // Added while nothing drew: the time starts at the first draw.
    clock.Advance(10000);
    line->DrawMessages(game().GetFieldView());
    clock.Advance(4000);
    line->DrawMessages(game().GetFieldView());
    EXPECT_EQ(line->timedLines.size(), 4u);
    clock.Advance(1);
    line->DrawMessages(game().GetFieldView());
    EXPECT_TRUE(line->timedLines.empty());
}

TEST_F(GameTest, SpeechOnAnotherFloorVanishes) {
    Start();
    StatusLine* line = StatusLine::Instance();
    line->speech.clear();
    FieldView view = game().GetFieldView();
    view.floor = 7;
    line->AddSpeech(Position{100, 100, 6}, "Aldric", "up here");
    line->AddSpeech(Position{100, 100, 7}, "Bera", "down here");
    line->AddSpeech(Position{100, 100, 7}, "Bera", "again");
    line->AddSpeech(Position{100, 100, 7}, "Cato", "me too");
    line->Draw(view);
    ASSERT_EQ(line->speech.size(), 1u);
    EXPECT_EQ(line->speech.front().speakers.size(), 2u);
    EXPECT_EQ(line->speech.front().speakers.front().lines.size(), 2u);
    // Each line lives 3 seconds from its arrival.
    fixture.platform.clock.Advance(3001);
    line->Draw(view);
    EXPECT_TRUE(line->speech.empty());
}

TEST(StatusLineTextTest, SpeechIsCleanedOfFormattingCodes) {
    const struct {
        std::string text;
        std::string clean;
    } cases[] = {
        {"plain", "plain"},
        {std::string("\x01\xff\x00\x00\xffred\x02 text", 14), "red text"},
        {std::string("a\x02\x02" "b"), "ab"},
        // A code cut short by the end of the text takes only what is there.
        {std::string("end\x01\xff\x01", 6), "end"},
        {std::string("\x01", 1), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatusLine::CleanSpeech(c.text), c.clean);
}

TEST(StatusLineTextTest, LongSpeechBreaksIntoLines) {
    const std::string x44(44, 'x');
    const std::string x60(60, 'x');
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"short", {"short"}},
        {x44, {x44}},
        {x44 + "y", {x44 + "y"}},  // ends before a blank is found
        {x44 + " tail", {x44, " tail"}},
        {std::string(50, 'x') + " " + std::string(20, 'y'), {std::string(50, 'x'), " " + std::string(20, 'y')}},
        {x60 + "zz", {std::string(59, 'x') + "-", "xzz"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatusLine::BreakSpeech(c.text), c.lines) << c.text;
}

TEST_F(GameTest, ATornDownScreenIsNeitherDrawnNorClicked) {
    Start();
    fixture.platform.keys.down = {platform::kVkControl};
    KeyDown('R');
    fixture.platform.keys.down.clear();
    GUIManager* gui = client->app->gui;
    const GUIControl* minimapFrame = gui->FindControl(44);
    ASSERT_NE(minimapFrame, nullptr);
    const int x = minimapFrame->x + 20;
    const int y = minimapFrame->y + 8;

    client->ReturnToMenu();
    // Before the manager's next update: the freed screen's dialogs are still
    // in the tree, and none of their callbacks may run.
    gui->root->DrawTree();
    gui->OnMouseDown(x, y);
    gui->OnMouseUp(x, y);
    gui->OnMouseDown(1000 - 41 + 5, 700 - 138 + 12);  // where the close-channel button was
    gui->OnMouseUp(1000 - 41 + 5, 700 - 138 + 12);
    gui->OnKey(platform::kVkReturn, 0, false, false);
    gui->OnKey('A', 'a', false, false);
    gui->Update();
    EXPECT_EQ(gui->FindControl(44), nullptr);
    EXPECT_EQ(gui->FindControl(GameInterface::kChatInputId), nullptr);
}
