// Tip boxes: their life by age, the welcome hold, the floor filter, the close
// button and where they sit on screen.
#include "tests/chat/ChatFixture.h"

#include "engine/Clock.h"
#include "game/TipMessages.h"

namespace {

TipMessages::View testView;
TipMessages::View TestView() { return testView; }

class TipTest : public ChatTest {
protected:
    TipTest() {
        MakeTabGroup();
        log().AddChannelTab(ChatLog::kPublic, "Main");
        testView = TipMessages::View();
        testView.originX = 10;
        testView.originY = 20;
        testView.cameraX = 100;
        testView.cameraY = 200;
        tips.viewSource = &TestView;
        // GetTicks counts from 0 again.
        ResetClocks();
        GetTicks();
    }
    void Advance(uint32_t ms) { platform.clock.Advance(ms); }
    // Draws one frame and returns the alpha of the first tip's background.
    int BackgroundAlpha() {
        RecordingEngine& engine = *static_cast<RecordingEngine*>(client->app->engine);
        engine.Clear();
        tips.Draw();
        const auto colours = engine.Calls("SetColor");
        if (colours.empty())
            return -1;
        return int(uint32_t(colours[0]->args[0]) >> 24);
    }

    TipMessages tips;
};

TEST_F(TipTest, TheFadeFollowsTheAge) {
    tips.Add(0, "Title", "Text", 105, 206, 7);
    const struct {
        uint32_t age;
        int alpha;  // -1: not drawn
    } steps[] = {{0, 0}, {500, 92}, {999, 184}, {1000, 185}, {14500, 185}, {14750, 92}, {14999, 0}, {15000, -1}};
    uint32_t age = 0;
    for (const auto& step : steps) {
        Advance(step.age - age);
        age = step.age;
        EXPECT_EQ(BackgroundAlpha(), step.alpha) << step.age;
    }
    EXPECT_TRUE(tips.tips.empty());
}

TEST_F(TipTest, ANewerTipSendsTheOlderOnesIntoTheirFadeOut) {
    tips.Add(0, "First", "one", 105, 206, 7);
    Advance(3000);
    tips.Add(0, "Second", "two", 105, 206, 7);
    Advance(499);
    tips.Draw();
    EXPECT_EQ(tips.tips.size(), 2u);
    Advance(1);
    tips.Draw();
    ASSERT_EQ(tips.tips.size(), 1u);
    EXPECT_EQ(tips.tips[0]->title, "Second");
}

TEST_F(TipTest, ATipAddedNearTheStartOfTheClockStillFadesOutOnce) {
    Advance(100);
    tips.Add(0, "First", "one", 105, 206, 7);
    tips.Add(0, "Second", "two", 105, 206, 7);
    // Its creation tick wrapped below 0; its age is still 14500.
    EXPECT_EQ(tips.tips[0]->created, uint32_t(100 - 14500));
    EXPECT_EQ(BackgroundAlpha(), 185);
    EXPECT_EQ(tips.tips.size(), 2u);
    Advance(500);
    tips.Draw();
    ASSERT_EQ(tips.tips.size(), 1u);
    EXPECT_EQ(tips.tips[0]->title, "Second");
}

TEST_F(TipTest, TipsWaitWhileTheWelcomeDialogIsOpen) {
    testView.welcomeOpen = true;
    tips.Add(0, "Title", "Text", 105, 206, 7);
    Advance(60000);
    EXPECT_EQ(BackgroundAlpha(), -1);
    testView.welcomeOpen = false;
    Advance(14999);
    tips.Draw();
    EXPECT_EQ(tips.tips.size(), 1u);
    Advance(1);
    tips.Draw();
    EXPECT_TRUE(tips.tips.empty());
}

TEST_F(TipTest, TipsOfAnotherFloorAgeUndrawnButStillTakePresses) {
    tips.Add(0, "Title", "Text", 105, 206, 6);
    Advance(2000);
    EXPECT_EQ(BackgroundAlpha(), -1);
    int x = 0;
    int y = 0;
    tips.ScreenPosition(*tips.tips[0], x, y);
    EXPECT_TRUE(tips.HitTest(x + 5, y + 5));
    Advance(13000);
    tips.Draw();
    EXPECT_TRUE(tips.tips.empty());
}

TEST_F(TipTest, TheBoxTakesPressesAndItsCloseButtonStartsTheFadeOut) {
    tips.Add(1, "Emblem", "no button", 105, 206, 7);
    tips.Add(0, "Closable", "with button", 105, 206, 7);
    TipRecord& closable = *tips.tips[1];
    int x = 0;
    int y = 0;
    tips.ScreenPosition(closable, x, y);
    const uint32_t created = closable.created;
    Advance(2000);
    const struct {
        int dx, dy;
        bool taken;
        bool closes;
    } presses[] = {
        {0, 0, true, false},      {241, 66, true, false},  {242, 10, false, false}, {10, 67, false, false},
        {-1, 10, false, false},   {103, 50, true, false},  {104, 40, true, true},   {136, 59, true, true},
        {137, 50, true, false},   {120, 39, true, false},  {120, 60, true, false},
    };
    for (const auto& p : presses) {
        closable.created = created;
        EXPECT_EQ(tips.HitTest(x + p.dx, y + p.dy), p.taken) << p.dx << "," << p.dy;
        EXPECT_EQ(closable.created != created, p.closes) << p.dx << "," << p.dy;
    }
    // The kind-1 tip alone takes nothing: the press goes on to the map.
    tips.tips.pop_back();
    EXPECT_FALSE(tips.HitTest(x + 10, y + 10));
    delete &closable;

    // Closed, a tip is gone within 500 ms.
    tips.Add(0, "Again", "x", 105, 206, 7);
    Advance(3000);
    EXPECT_TRUE(tips.HitTest(x + 110, y + 45));
    Advance(499);
    tips.Draw();
    EXPECT_EQ(tips.tips.size(), 1u);
    Advance(1);
    tips.Draw();
    EXPECT_TRUE(tips.tips.empty());
}

TEST_F(TipTest, TheBoxSitsAboveItsTileAndIsClippedToTheField) {
    testView.tileWidth = 40;
    testView.tileHeight = 36;
    testView.scrollX = -16;  // half a tile
    testView.scrollY = 33;
    tips.Add(0, "Title", "Text", 105, 206, 7);
    int x = 0;
    int y = 0;
    tips.ScreenPosition(*tips.tips[0], x, y);
    // 10 + 5 * 40 - trunc(-16 * 40 / 32) + 20 - 120; 20 + 6 * 36 - trunc(33 * 36 / 32) - 75.
    EXPECT_EQ(x, 10 + 200 + 20 + 20 - 120);
    EXPECT_EQ(y, 20 + 216 - 37 - 75);

    RecordingEngine& engine = *static_cast<RecordingEngine*>(client->app->engine);
    engine.Clear();
    Advance(1000);
    tips.Draw();
    const auto clips = engine.Calls("EnableClipper");
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0]->args, (std::vector<double>{10, 20, 10 + 17 * 40, 20 + 13 * 36}));
    EXPECT_EQ(engine.Count("DisableClipper"), 1u);
    // Drawing ends with the colour reset to opaque white.
    const auto colours = engine.Calls("SetColor");
    ASSERT_FALSE(colours.empty());
    EXPECT_EQ(uint32_t(colours.back()->args[0]), 0xFFFFFFFFu);
}

TEST_F(TipTest, EveryTipIsWrittenIntoMain) {
    tips.Add(0, "Glowing enraged monsters are harder", "but yield more experience and loot.", 105, 206, 7);
    ChatPane& main = *Pane("Main");
    EXPECT_EQ(main.box->text, Appended(*main.box,
                                       "[12:34:56] Tip Message: Glowing enraged monsters are harder but yield more "
                                       "experience and loot.",
                                       ChatLog::kHighlightColor));
}

}  // namespace
