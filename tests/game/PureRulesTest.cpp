// The game screen's rules that need no screen: links, chat lines, the layout
// record, hotkey mode, held-key walking and the stat bars.
#include <functional>
#include <limits>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "client/ConfigFile.h"
#include "game/ChatLinks.h"
#include "game/GameInterface.h"
#include "game/GameLayout.h"
#include "game/KeyRules.h"
#include "game/StatBars.h"

TEST(ChatLinksTest, OnlyTheGameSitesAreTrusted) {
    const struct {
        const char* text;
        bool trusted;
    } cases[] = {
        {"velmora-online.example", true},
        {"www.velmora-wiki.example", true},
        {"http://velmora-forum.example", true},
        {"https://www.velmora-shop.example/cart/1", true},
        {"http://velmora-maps.example/", true},
        {"VELMORA-ONLINE.EXAMPLE", false},                 // no case folding
        {"forum.velmora-online.example", false},           // another sub-domain
        {"velmora-online.example:8080", false},            // the ":" is not cut
        {"velmora-online.example/a", true},                // the "/" at 22 cuts
        {"a.com/velmora-online.example", false},
        {"www.a.co/velmora-online.example", false},        // "/" before index 9 does not cut
        {"ftp://velmora-online.example", false},
        {"velmora-online.examplex", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTrustedLink(c.text), c.trusted) << c.text;
}

TEST(ChatLinksTest, ADotWithTwoLettersLooksLikeALink) {
    const struct {
        const char* text;
        bool link;
    } cases[] = {
        {"a.bc", true},   {"a.b", false},     {".ab", false},  {"x.y1.ab", true}, {"A.BC", true},
        {"1.5 gold", false}, {"see x.org now", true}, {"end.", false}, {"..ab", true}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GameInterface::LooksLikeLink(c.text), c.link) << c.text;
}

TEST(ChatLinksTest, APrivateChatNameComesFromTheLine) {
    const struct {
        const char* line;
        const char* name;  // null: nothing
    } cases[] = {
        {"[12:01] Aldric: hello", "Aldric"},
        {"[12:01:33] Two Words: a: b", "Two Words"},
        {"Aldric: hello", nullptr},           // no "] "
        {"Aldric: [12:01] hello", nullptr},   // the only ": " before "] "
        {"[12:01] hello there", nullptr},
        {"[12:01] : empty name", nullptr},
        {"[12:01] ] Bob: hi", "] Bob"},
    };
    for (const auto& c : cases) {
        std::string name;
        EXPECT_EQ(ChatLineSpeaker(c.line, name), c.name != nullptr) << c.line;
        if (c.name) {
            EXPECT_EQ(name, c.name) << c.line;
        }
    }
}

namespace {

std::unique_ptr<ConfigFile> Ini(const std::string& text) {
    auto file = std::make_unique<ConfigFile>();
    file->LoadText(text);
    return file;
}

}  // namespace

TEST(GameLayoutTest, AnEmptyIniGivesTheDefaults) {
    const GameLayout layout = ReadGameLayout(*Ini(""), 1000, 165);
    EXPECT_EQ(layout.minimap.height, 175);
    EXPECT_EQ(layout.minimap.x, 0);
    EXPECT_EQ(layout.minimap.y, 0);
    EXPECT_FLOAT_EQ(layout.minimapZoom, 2.0f);
    EXPECT_EQ(layout.actions.height, 177);
    EXPECT_EQ(layout.inventory.height, 238);
    EXPECT_EQ(layout.status.height, 119);
    EXPECT_EQ(layout.status.x, 835);
    EXPECT_EQ(layout.status.y, 0);
    EXPECT_FALSE(layout.status.placed);
    EXPECT_EQ(layout.friends.height, 107);
    EXPECT_EQ(layout.friends.x, 835);
    EXPECT_EQ(layout.friends.y, 119);
    EXPECT_EQ(layout.chatHeight, 138);
    EXPECT_EQ(layout.leftBarWidth, 165);
    EXPECT_EQ(layout.rightBarWidth, 0);
    EXPECT_FALSE(layout.hasSpellBox);
}

TEST(GameLayoutTest, ValuesAreClampedOnReading) {
    const struct {
        const char* name;
        const char* windows;
        std::function<void(const GameLayout&)> check;
    } cases[] = {
        {"zoom 0", "minimapzoom=0", [](const GameLayout& l) { EXPECT_FLOAT_EQ(l.minimapZoom, 0.25f); }},
        {"zoom 40", "minimapzoom=40", [](const GameLayout& l) { EXPECT_FLOAT_EQ(l.minimapZoom, 4.0f); }},
        {"zoom 7", "minimapzoom=7", [](const GameLayout& l) { EXPECT_FLOAT_EQ(l.minimapZoom, 1.75f); }},
        {"minimap height", "minimapheight=1000", [](const GameLayout& l) { EXPECT_EQ(l.minimap.height, 300); }},
        {"chath 1000", "chath=1000", [](const GameLayout& l) { EXPECT_EQ(l.chatHeight, 400); }},
        {"chath -5", "chath=-5", [](const GameLayout& l) { EXPECT_EQ(l.chatHeight, 138); }},
        {"statusheight 500", "statusheight=500", [](const GameLayout& l) { EXPECT_EQ(l.status.height, 334); }},
        {"friendsheight 5000", "friendsheight=5000",
         [](const GameLayout& l) { EXPECT_EQ(l.friends.height, 5000); }},
        {"spellboxposition alone", "spellboxposition=2", [](const GameLayout& l) { EXPECT_FALSE(l.hasSpellBox); }},
        {"spellbox clamped", "spellboxsize=200\nspellboxposition=9",
         [](const GameLayout& l) {
             EXPECT_TRUE(l.hasSpellBox);
             EXPECT_EQ(l.spellBoxSize, 94);
             EXPECT_EQ(l.spellBoxPosition, 3);
         }},
        {"status placed and minimised", "statusx=10\nstatusy=20\nstatusminimized=true",
         [](const GameLayout& l) {
             EXPECT_TRUE(l.status.placed);
             EXPECT_EQ(l.status.x, 10);
             EXPECT_EQ(l.status.y, 20);
             EXPECT_TRUE(l.status.minimized);
         }},
        {"friends minimised without a place", "friendsminimized=true",
         [](const GameLayout& l) { EXPECT_FALSE(l.friends.minimized); }},
        {"leftbarwidth 0 kept", "leftbarwidth=0", [](const GameLayout& l) { EXPECT_EQ(l.leftBarWidth, 0); }},
    };
    for (const auto& c : cases)
        c.check(ReadGameLayout(*Ini(std::string("[windows]\n") + c.windows + "\n"), 1000, 165));
}

TEST(GameLayoutTest, WrittenLayoutReadsBackTheSame) {
    GameLayout layout;
    layout.minimap = {12, 34, 200, 250, true, true};
    layout.minimapZoom = 1.75f;
    layout.actions = {0, 175, 170, 177, false, true};
    layout.inventory = {830, 0, 165, 238, true, true};
    layout.inventoryMinor = true;
    layout.status = {835, 300, 180, 200, false, true};
    layout.friends = {835, 500, 165, 150, true, true};
    layout.leftBarWidth = 0;
    layout.rightBarWidth = 200;
    layout.chatHeight = 222;
    layout.hasSpellBox = true;
    layout.spellBoxSize = 60;
    layout.spellBoxPosition = 2;

    ConfigFile file;
    WriteGameLayout(file, layout, "Aldric", 4);
    const GameLayout back = ReadGameLayout(file, 1000, 165);
    EXPECT_EQ(back.minimap.x, 12);
    EXPECT_EQ(back.minimap.height, 250);
    EXPECT_TRUE(back.minimap.minimized);
    EXPECT_FLOAT_EQ(back.minimapZoom, 1.75f);
    EXPECT_EQ(file.GetInt("windows", "minimapzoom"), 7);
    EXPECT_EQ(back.actions.y, 175);
    EXPECT_TRUE(back.inventory.minimized);
    EXPECT_TRUE(back.inventoryMinor);
    EXPECT_EQ(back.status.height, 200);
    EXPECT_EQ(back.friends.y, 500);
    EXPECT_EQ(back.leftBarWidth, 0);
    EXPECT_EQ(back.rightBarWidth, 200);
    EXPECT_EQ(back.chatHeight, 222);
    EXPECT_EQ(back.spellBoxSize, 60);
    EXPECT_EQ(back.spellBoxPosition, 2);
    EXPECT_EQ(file.GetInt("windows", "actiongroup-Aldric"), 4);

    // A zoom below the smallest is stored as 0 and comes back as the smallest.
    layout.minimapZoom = 0.1f;
    WriteGameLayout(file, layout, "Aldric", 4);
    EXPECT_EQ(file.GetInt("windows", "minimapzoom"), 0);
    EXPECT_FLOAT_EQ(ReadGameLayout(file, 1000, 165).minimapZoom, 0.25f);
}

TEST(GameLayoutTest, KeysAreWrittenInTheirFixedOrder) {
    ConfigFile file;
    WriteGameLayout(file, GameLayout(), "Aldric", 1);
    std::vector<std::string> keys;
    for (const ConfigEntry* entry : file.GetSectionEntries("windows"))
        keys.push_back(entry->key);
    const std::vector<std::string> expected = {
        "minimapx", "minimapy", "minimapzoom", "minimapwidth", "minimapheight", "minimapminimized",
        "actionsx", "actionsy", "actionswidth", "actionsheight", "actionsminimized",
        "inventoryx", "inventoryy", "inventorywidth", "inventoryheight", "inventoryminimized", "inventoryminor",
        "statusx", "statusy", "statuswidth", "statusheight", "statusminimized",
        "friendsx", "friendsy", "friendswidth", "friendsheight", "friendsminimized",
        "chath", "leftbarwidth", "rightbarwidth", "actiongroup-Aldric", "spellboxsize", "spellboxposition"};
    EXPECT_EQ(keys, expected);
}

TEST(GameLayoutTest, ANameTheFileCannotHoldIsNotWritten) {
    const struct {
        std::string name;
        bool kept;
    } cases[] = {
        {"a=b", false}, {"a\nb", false}, {"a\rb", false}, {"", false}, {"x]y", true}, {"Sir Aldric", true},
    };
    for (const auto& c : cases) {
        ConfigFile file;
        WriteGameLayout(file, GameLayout(), c.name, 3);
        EXPECT_EQ(file.HasKey("windows", "actiongroup-" + c.name), c.kept) << c.name;
        EXPECT_EQ(file.GetSectionEntries("windows").size(), c.kept ? 33u : 32u) << c.name;
    }
    EXPECT_TRUE(ConfigFile::IsStorableKey("x]y"));
    EXPECT_FALSE(ConfigFile::IsStorableKey("##x"));
    EXPECT_FALSE(ConfigFile::IsStorableKey("[x"));
    EXPECT_FALSE(ConfigFile::IsStorableSection("containers x]y"));
    EXPECT_FALSE(ConfigFile::IsStorableSection("containers a\nb"));
    EXPECT_FALSE(ConfigFile::IsStorableSection(""));
    EXPECT_TRUE(ConfigFile::IsStorableSection("containers a=b"));
}

TEST(GameLayoutTest, ChannelsToJoin) {
    {
        ConfigFile file;
        EXPECT_EQ(ChannelsToJoin(file, false),
                  (std::vector<std::string>{"English", "Trade", "Support", "Portuguese", "Polish"}));
    }
    {
        auto file = Ini("[channels]\nMain=true\nChat=true\nTrade=false\nHelp=true\nOdd=yes\n");
        EXPECT_EQ(ChannelsToJoin(*file, true), (std::vector<std::string>{"Main", "English", "Help"}));
        EXPECT_EQ(file->GetString("channels", "Chat"), "false");
        EXPECT_TRUE(file->GetBool("channels", "English"));
    }
    {
        // A section holding only what the game wrote itself this time.
        auto file = Ini("[channels]\nMain=true\n");
        EXPECT_EQ(ChannelsToJoin(*file, true), (std::vector<std::string>{"Main"}));
    }
}

TEST(GameLayoutTest, ChannelsWithoutANameAreNeitherJoinedNorKept) {
    auto file = Ini("[channels]\n=true\nTrade=true\n=false\n=true\n");
    EXPECT_EQ(ChannelsToJoin(*file, true), (std::vector<std::string>{"Trade"}));
    EXPECT_FALSE(file->HasKey("channels", ""));
    EXPECT_TRUE(file->GetBool("channels", "Trade"));
}

TEST(GameLayoutTest, FramesAreFittedIntoTheClientArea) {
    const int kMax = std::numeric_limits<int>::max();
    const int kMin = std::numeric_limits<int>::min();
    const struct {
        const char* name;
        FrameRect frame;
        FrameRect fitted;  // in a 1000 by 700 area
    } cases[] = {
        {"inside stays", {300, 200, 165, 238}, {300, 200, 165, 238}},
        {"touching the bottom-right corner stays", {835, 462, 165, 238}, {835, 462, 165, 238}},
        {"one pixel out at the right", {836, 10, 165, 238}, {835, 10, 165, 238}},
        {"one pixel out at the bottom", {10, 463, 165, 238}, {10, 462, 165, 238}},
        {"far right and far down", {kMax, kMax, 165, 119}, {835, 581, 165, 119}},
        {"far left and far up", {kMin, kMin, 241, 175}, {0, 0, 241, 175}},
        {"wider than the area: narrowed", {50, 0, 1200, 100}, {0, 0, 1000, 100}},
        {"taller than the area: kept, top at the top", {10, 300, 165, 5000}, {10, 0, 165, 5000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FrameRect fitted = FitInside(c.frame, 1000, 700);
        EXPECT_EQ(fitted.x, c.fitted.x);
        EXPECT_EQ(fitted.y, c.fitted.y);
        EXPECT_EQ(fitted.width, c.fitted.width);
        EXPECT_EQ(fitted.height, c.fitted.height);
    }
    // Without an area (no window yet) nothing is moved.
    const FrameRect unmoved = FitInside({kMax, -5, 165, 100}, 0, 0);
    EXPECT_EQ(unmoved.x, kMax);
    EXPECT_EQ(unmoved.y, -5);
}

TEST(GameLayoutTest, WelcomeOnlyWhenAskedAndUnseen) {
    EXPECT_TRUE(WelcomeWanted(*Ini(""), true));
    EXPECT_FALSE(WelcomeWanted(*Ini(""), false));
    EXPECT_FALSE(WelcomeWanted(*Ini("[options]\nviewedtutorialinfo=true\n"), true));
    EXPECT_TRUE(WelcomeWanted(*Ini("[options]\nviewedtutorialinfo=True\n"), true));
    EXPECT_FALSE(WelcomeWanted(*Ini("[options]\nviewedtutorialinfo=true\n"), false));
}

TEST(KeyRulesTest, HotkeyModeAndItsChatLine) {
    HotkeyModeState mode;
    EXPECT_TRUE(mode.PressEnter());  // off: Enter sends
    EXPECT_FALSE(mode.KeysAreHotkeys());
    mode.Toggle();
    EXPECT_TRUE(mode.KeysAreHotkeys());
    EXPECT_FALSE(mode.PressEnter());  // opens the line, sends nothing
    EXPECT_TRUE(mode.chatLineOpen);
    EXPECT_FALSE(mode.KeysAreHotkeys());
    EXPECT_TRUE(mode.PressEnter());  // sends and closes
    EXPECT_TRUE(mode.KeysAreHotkeys());
    EXPECT_FALSE(mode.PressEnter());
    mode.Toggle();  // off again, and the line closes
    EXPECT_FALSE(mode.hotkeyMode);
    EXPECT_FALSE(mode.chatLineOpen);
}

TEST(KeyRulesTest, HeldKeysWalk) {
    enum { Down, Left, Up, Right, End, Home, PageUp, PageDown };
    const struct {
        const char* name;
        std::vector<int> held;
        bool shift;
        bool ctrl;
        bool letters;
        std::set<int> letterKeys;
        int direction;
        bool turn;
    } cases[] = {
        {"nothing", {}, false, false, false, {}, 0, false},
        {"Down", {Down}, false, false, false, {}, 1, false},
        {"Right", {Right}, false, false, false, {}, 4, false},
        {"the first flag wins", {Up, Left}, false, false, false, {}, 2, false},
        {"Ctrl+Right turns", {Right}, false, true, false, {}, 4, true},
        {"Shift+Down does not walk", {Down}, true, false, false, {}, 0, false},
        {"Shift+End does not walk", {End}, true, false, false, {}, 0, false},
        {"Shift+Home walks north-west", {Home}, true, false, false, {}, 6, false},
        {"Shift+Page Down", {Down, PageDown}, true, false, false, {}, 8, false},
        {"Page Up", {PageUp}, false, false, false, {}, 7, false},
        {"letters off", {}, false, false, false, {'D'}, 0, false},
        {"D in hotkey mode", {}, false, false, true, {'D'}, 4, false},
        {"S before A", {}, false, false, true, {'A', 'S'}, 1, false},
        {"Ctrl+S turns", {}, false, true, true, {'S'}, 1, true},
        {"Q walks north-west", {}, false, false, true, {'Q'}, 6, false},
        {"Ctrl+Q does nothing", {}, false, true, true, {'Q'}, 0, false},
        {"Shift stops the letters", {}, true, false, true, {'D'}, 0, false},
        {"arrow keys before letters", {Left}, false, false, true, {'D'}, 2, false},
    };
    for (const auto& c : cases) {
        uint8_t held[8] = {};
        for (int k : c.held)
            held[k] = 1;
        bool turn = false;
        const int direction = HeldKeyDirection(held, c.shift, c.ctrl, c.letters,
                                               [&](int key) { return c.letterKeys.count(key) != 0; }, turn);
        EXPECT_EQ(direction, c.direction) << c.name;
        if (direction) {
            EXPECT_EQ(turn, c.turn) << c.name;
        }
    }
}

TEST(StatBarsTest, BarsSitAroundTheField) {
    // The field at (4, 4) with 32-pixel tiles is 544 x 416.
    const struct {
        int position;
        int bar;
        StatBarRects box;  // only the box is compared here
    } cases[] = {
        {1, 0, {-17, 3, 15, 418}},
        {1, 1, {553, 3, 15, 418}},
        {2, 0, {3, -17, 268, 15}},
        {2, 1, {282, -17, 268, 15}},
        {3, 0, {3, 426, 268, 15}},
        {3, 1, {282, 426, 268, 15}},
        {7, 1, {282, 426, 268, 15}},  // any other value draws as bottom
    };
    for (const auto& c : cases) {
        const StatBarRects rects = PlaceStatBar(c.position, c.bar, 4, 4, 32, 32, 1.0);
        EXPECT_EQ(rects.x, c.box.x) << c.position << "/" << c.bar;
        EXPECT_EQ(rects.y, c.box.y) << c.position << "/" << c.bar;
        EXPECT_EQ(rects.width, c.box.width) << c.position << "/" << c.bar;
        EXPECT_EQ(rects.height, c.box.height) << c.position << "/" << c.bar;
    }
    // Full bars fill the box less its frame.
    const StatBarRects side = PlaceStatBar(1, 0, 4, 4, 32, 32, 1.0);
    EXPECT_EQ(side.fillY, side.y + 1);
    EXPECT_EQ(side.fillHeight, 416);
    const StatBarRects top = PlaceStatBar(2, 0, 4, 4, 32, 32, 0.5);
    EXPECT_EQ(top.fillWidth, 132);
}

TEST(StatBarsTest, RatiosStayWithinTheBox) {
    EXPECT_DOUBLE_EQ(StatRatio(50, 100), 0.5);
    EXPECT_DOUBLE_EQ(StatRatio(150, 100), 1.0);
    EXPECT_DOUBLE_EQ(StatRatio(-20, 100), 0.0);
    EXPECT_DOUBLE_EQ(StatRatio(5, 0), 1.0);
    EXPECT_DOUBLE_EQ(StatRatio(5, -3), 1.0);
    // Empty or nearly empty: no fill size of 0 or less reaches the renderer.
    EXPECT_LE(PlaceStatBar(1, 0, 4, 4, 32, 32, StatRatio(0, 100)).fillHeight, 0);
    EXPECT_LE(PlaceStatBar(3, 0, 4, 4, 32, 32, StatRatio(1, 300)).fillWidth, 0);
}
