// The overlays of the game field: the buff bars with their tooltips and
// warnings, and the experience calculator.
#include <algorithm>
#include <string>
#include <vector>

#include "client/Settings.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/BuffTimers.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/ExperienceWindow.h"
#include "engine/gui/GUITextbox.h"
#include "sidewindows/CStatus.h"
#include "tests/support/GameFixture.h"
#include "tests/support/DrawnText.h"
#include "world/Map.h"

namespace {

class BuffTest : public GameTest {
protected:
    BuffTimers& buffs() { return *game().buffTimers; }
    int X0() { return game().map->viewX + 17 * game().map->tileWidth - 210; }
    int Y0() { return game().map->viewY + 10; }
    // The bars drawn in one frame, top down, as (width, y).
    std::vector<std::pair<int, int>> Bars() {
        engine().Clear();
        buffs().Draw();
        std::vector<std::pair<int, int>> bars;
        for (const RecordedCall* call : engine().Calls("RenderRectangle"))
            if (int(call->args[1]) == X0() + 2 && int(call->args[4]) == 6)
                bars.push_back({int(call->args[3]), int(call->args[2])});
        return bars;
    }
    int Warnings() {
        ChatPane* main = ChatLog::Instance()->FindChannel(ChatLog::kPublic, "Main");
        if (!main || !main->box)
            return -1;
        const std::string& text = main->box->text;
        int count = 0;
        for (size_t at = text.find("about to expire"); at != std::string::npos;
             at = text.find("about to expire", at + 1))
            ++count;
        return count;
    }
    std::string TooltipLine(int key) {
        auto found = client->app->gui->tooltips.find(key);
        return found == client->app->gui->tooltips.end() ? "" : found->second->lines.back();
    }
    void Advance(uint32_t ms) { fixture.platform.clock.Advance(ms); }
};

TEST_F(BuffTest, ASixtySecondBuffFillsItsFrameAndWarnsOnceAtFifteenSeconds) {
    Start();
    buffs().Add("Haste", 0, 60000, 1);
    EXPECT_EQ(Bars(), (std::vector<std::pair<int, int>>{{196, Y0() + 2}}));
    EXPECT_EQ(TooltipLine(250), "The buff will expire in 60 seconds.");
    ASSERT_EQ(Warnings(), 0);
    Advance(45000);  // 15 000 ms left
    Bars();
    EXPECT_EQ(Warnings(), 0);
    Advance(1);
    Bars();
    EXPECT_EQ(Warnings(), 1);
    Advance(5000);
    Bars();
    EXPECT_EQ(Warnings(), 1) << "once per buff";
    EXPECT_EQ(TooltipLine(250), "The buff will expire in 9 seconds.");
}

TEST_F(BuffTest, ABuffWithTenSecondsLeftNeverWarns) {
    Start();
    buffs().Add("Shield", 50000, 60000, 2);
    for (int i = 0; i < 12; ++i) {
        Bars();
        Advance(1000);
    }
    EXPECT_EQ(Warnings(), 0);
    EXPECT_TRUE(buffs().entries.empty());
}

TEST_F(BuffTest, TheSameNameReplacesAndMovesToTheEnd) {
    Start();
    buffs().Add("Haste", 0, 60000, 1);
    buffs().Add("Shield", 0, 60000, 2);
    buffs().Add("Haste", 30000, 60000, 1);
    ASSERT_EQ(buffs().entries.size(), 2u);
    EXPECT_EQ(buffs().entries[0].name, "Shield");
    EXPECT_EQ(Bars(), (std::vector<std::pair<int, int>>{{196, Y0() + 2}, {98, Y0() + 17}}));
    buffs().Remove("Shield");
    buffs().Remove("Nothing");
    ASSERT_EQ(buffs().entries.size(), 1u);
    buffs().RemoveAll();
    EXPECT_TRUE(buffs().entries.empty());
}

TEST_F(BuffTest, OddLengthsNeitherDivideByZeroNorOverflow) {
    Start();
    const struct {
        const char* name;
        int64_t elapsedMs, durationMs;
        int width;  // -1: removed in the first frame
    } cases[] = {
        {"elapsed equals the duration", 60000, 60000, -1},
        {"no duration", 0, 0, -1},
        {"a negative duration", 0, -5000, -1},
        // u32 seconds times 1000 passes any int.
        {"49 days of 50", 4233600000LL, 4320000000LL, 3},
        {"4 000 000 000 s, just begun", 0, 4000000000000LL, 196},
        {"more left than its length", -30000, 60000, 196},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        buffs().RemoveAll();
        buffs().Add("Buff", c.elapsedMs, c.durationMs, 0);
        const auto bars = Bars();
        if (c.width < 0) {
            EXPECT_TRUE(bars.empty());
            EXPECT_TRUE(buffs().entries.empty());
            EXPECT_EQ(TooltipLine(250), "") << "rebuilt in the same frame";
        } else {
            ASSERT_EQ(bars.size(), 1u);
            EXPECT_EQ(bars[0].first, c.width);
        }
    }
}

TEST_F(BuffTest, TooltipsComeOnceASecondForTheFirstTenBuffs) {
    Start();
    for (int i = 0; i < 12; ++i)
        buffs().Add("Buff " + std::to_string(i), 0, 100000, 0);
    EXPECT_EQ(Bars().size(), 12u) << "every buff keeps its bar";
    const auto& tips = client->app->gui->tooltips;
    for (int key = 250; key < 260; ++key)
        EXPECT_NE(tips.find(key), tips.end()) << key;
    EXPECT_EQ(tips.find(260), tips.end()) << "keys above 259 are other windows'";
    EXPECT_EQ(tips.at(259)->lines.front(), "Buff 9");

    // The seconds are refreshed after more than a second, not before.
    Advance(1001);
    Bars();
    EXPECT_EQ(TooltipLine(250), "The buff will expire in 98 seconds.");
    Advance(900);
    Bars();
    EXPECT_EQ(TooltipLine(250), "The buff will expire in 98 seconds.");
    Advance(200);
    Bars();
    EXPECT_EQ(TooltipLine(250), "The buff will expire in 97 seconds.");
    // Fewer buffs leave no stale tooltips behind.
    buffs().RemoveAll();
    buffs().Add("Last", 0, 5000, 0);
    EXPECT_EQ(tips.find(251), tips.end());
    EXPECT_FALSE(buffs().HitTest(X0() + 5, Y0() + 5));
}

// Colours are written alpha first and red last (0xAABBGGRR): the bar of
// kind 1 is light blue, of kind 2 red.
TEST(BuffColours, EachKindHasItsRedGreenBlueAndAlpha) {
    struct Case {
        int kind;
        int red, green, blue;
    };
    for (const Case& c : {Case{1, 40, 215, 250}, Case{2, 255, 48, 48}, Case{3, 200, 200, 200}, Case{0, 0, 255, 0},
                          Case{9, 0, 255, 0}}) {
        const uint32_t colour = BuffTimers::KindColor(c.kind);
        EXPECT_EQ(int(colour & 0xFF), c.red) << c.kind;
        EXPECT_EQ(int(colour >> 8 & 0xFF), c.green) << c.kind;
        EXPECT_EQ(int(colour >> 16 & 0xFF), c.blue) << c.kind;
        EXPECT_EQ(int(colour >> 24), 100) << c.kind;
    }
}

TEST(ExperienceForLevel, MatchesTheServersTable) {
    const struct {
        int level;
        uint64_t experience;
    } cases[] = {{-3, 0}, {0, 0}, {1, 0}, {2, 200}, {3, 900}, {4, 2100}, {5, 4100}, {10, 31800}, {100, 36770800}};
    for (const auto& c : cases)
        EXPECT_EQ(ExperienceForLevel(c.level), c.experience) << c.level;
}

TEST(ExperienceFigures, RateDistanceAndTime) {
    const uint64_t level10 = ExperienceForLevel(10);
    const struct {
        const char* name;
        uint64_t experience, start;
        int64_t elapsed;
        int level;
        const char *rate, *toAdvance, *timeLeft;
    } cases[] = {
        {"no gain", 500, 500, 3600, 3, "0", "1600", "-"},
        {"1000 in 1800 s, 4000 to go", level10 - 4000, level10 - 5000, 1800, 9, "2000", "4000", "02:00"},
        {"a death lost experience", 1000, 2000, 60, 3, "0", "1100", "-"},
        {"level 1 with 100", 100, 0, 3600, 1, "100", "100", "01:00"},
        {"a stale level", 5000, 4000, 3600, 3, "1000", "0", "00:00"},
        {"a level of 0", 100, 0, 3600, 0, "100", "0", "00:00"},
        {"one a day, far to go", 1, 0, 86400, 99, "0", "36770800", "99999:00"},
    };
    for (const auto& c : cases) {
        const ExperienceWindow::Figures f = ExperienceWindow::Compute(c.experience, c.start, c.elapsed, c.level);
        EXPECT_EQ(f.rate, c.rate) << c.name;
        EXPECT_EQ(f.toAdvance, c.toAdvance) << c.name;
        EXPECT_EQ(f.timeLeft, c.timeLeft) << c.name;
    }
}

TEST(ExperienceFigures, TheFillUsesTheFloatFactorAndClamps) {
    const int cases[][2] = {{100, 197}, {50, 99}, {1, 2}, {0, 0}, {255, 197}, {-4, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ExperienceWindow::FillWidth(c[0]), c[1]) << c[0];
}

class ExperienceTest : public GameTest {
protected:
    ExperienceWindow& window() { return *game().experienceWindow; }
    int Vx() { return game().map->viewX; }
    int Vy() { return game().map->viewY; }
    int64_t now = 1700000000;
};

TEST_F(ExperienceTest, TheHeaderTogglesAndResetWorksOnlyWhenExpanded) {
    Start();
    window().clock = [this] { return now; };
    game().status->experience = 900;
    EXPECT_FALSE(window().OnMouseDown(Vx() + 100, Vy() + 90)) << "Reset is inert while collapsed";
    EXPECT_EQ(window().startTime, 0);
    EXPECT_TRUE(window().OnMouseDown(Vx() + 10, Vy() + 10)) << "without a measurement too";
    EXPECT_TRUE(window().expanded);
    EXPECT_TRUE(window().OnMouseDown(Vx() + 223, Vy() + 101));
    EXPECT_EQ(window().startExperience, 900u);
    EXPECT_EQ(window().startTime, now - 1);
    EXPECT_FALSE(window().OnMouseDown(Vx() + 9, Vy() + 15));
    EXPECT_FALSE(window().OnMouseDown(Vx() + 100, Vy() + 102));
    EXPECT_TRUE(window().OnMouseDown(Vx() + 223, Vy() + 20));
    EXPECT_FALSE(window().expanded);
}

TEST_F(ExperienceTest, TheFirstNonZeroExperienceIsTheBaseline) {
    Start();
    window().clock = [this] { return now; };
    window().SetStartExperience(0);
    EXPECT_EQ(window().startTime, now - 1) << "the measurement starts even at 0";
    now += 10;
    window().SetStartExperience(700);
    EXPECT_EQ(window().startExperience, 700u);
    EXPECT_EQ(window().startTime, now - 1);
    now += 10;
    window().SetStartExperience(800);
    EXPECT_EQ(window().startExperience, 700u);
    EXPECT_EQ(window().startTime, now - 11);
}

TEST_F(ExperienceTest, TheExpandedPanelShowsTheFigures) {
    Start();
    window().clock = [this] { return now; };
    const uint64_t level10 = ExperienceForLevel(10);
    window().SetStartExperience(level10 - 5000);
    now += 1799;  // 1800 s since the start, which lies one second back
    CStatus* status = game().status;
    status->experience = level10 - 4000;
    status->level = 9;
    status->experiencePercent = 50;
    window().expanded = true;
    engine().Clear();
    window().Draw();
    bool filled = false;
    for (const RecordedCall* call : engine().Calls("RenderRectangle"))
        filled = filled || (int(call->args[1]) == Vx() + 12 && int(call->args[3]) == 99);
    EXPECT_TRUE(filled);
    if (client->app->font && client->app->font->sheet) {
        std::vector<std::string> texts;
        for (const DrawnText& text : VisibleTexts(engine(), client->app->font->sheet))
            texts.push_back(text.text);
        for (const char* expected : {"2000", "4000", "02:00", "Reset"})
            EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
    }

    // With the option off it is neither drawn nor clickable.
    client->settings->SetExperienceCalculator(false);
    engine().Clear();
    window().Draw();
    EXPECT_EQ(engine().calls.size(), 0u);
    EXPECT_FALSE(window().OnMouseDown(Vx() + 10, Vy() + 10));
}

}  // namespace
