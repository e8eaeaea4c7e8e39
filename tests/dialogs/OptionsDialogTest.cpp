// The options dialog in the game and on the login screen: its two pages, what
// each control writes and changes at once, the frame limit read from its box,
// the skin of the whole GUI, and the back-end switch, which waits for the
// main loop's safe point.
#include <functional>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/social/OptionsDialog.h"
#include "engine/GraphicsEngine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUISelector.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "sidewindows/SidePanel.h"
#include "tests/dialogs/DialogFixture.h"
#include "world/Map.h"

namespace {

using namespace LoginIds;

const int32_t kInterfaceControls[] = {kOptionsSkin,       kOptionsStatBars,    kOptionsLootMessages,
                                      kOptionsDualInterface, kOptionsForceRight, kOptionsAutoOpenTab,
                                      kOptionsClassicClick, kOptionsExperience};
const int32_t kGraphicsControls[] = {kOptionsStretching, kOptionsTimerMovement, kOptionsFloorFading,
                                     kOptionsSidestep,   kOptionsHealthWarning, kOptionsDirect3D,
                                     kOptionsDirectDraw, kOptionsOpenGL,        kOptionsFpsLimit};

class OptionsDialogTest : public DialogTest {
protected:
    OptionsDialog& options() { return *client->optionsDialog; }
    Settings& settings() { return *client->settings; }
    GUIDialog* Dialog() { return Find<GUIDialog>(kOptionsDialog); }
    // Clicks the tab with the caption.
    void ClickTab(const std::string& caption) {
        const GUIControl* found = nullptr;
        for (GUIControl* control : Dialog()->CollectDescendants())
            if (const GUITab* tab = dynamic_cast<GUITab*>(control))
                if (tab->caption == caption)
                    found = tab;
        ASSERT_NE(found, nullptr) << caption;
        Input().Click(found->x + found->width / 2, found->y + found->height / 2);
    }
    bool Shown(int32_t id) {
        const GUIControl* control = gui().FindControl(id);
        return control && !control->HasFlag(GUIControl::kHidden);
    }
    void Draw() {
        engine().Clear();
        gui().Update();
    }
    // Steps a selector forward with its right arrow (made by its first draw).
    void StepForward(int32_t id) {
        GUISelector* selector = Find<GUISelector>(id);
        ASSERT_NE(selector, nullptr);
        if (selector->children.empty())
            Draw();
        const GUIControl* next = selector->children.back();
        Input().Click(next->x + next->width / 2, next->y + next->height / 2);
    }
};

TEST_F(OptionsDialogTest, OpeningTwiceKeepsPlaceAndPage) {
    Enter();
    CtrlKey('O');
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ((std::vector<int>{Dialog()->x, Dialog()->y, Dialog()->width, Dialog()->height}),
              (std::vector<int>{320, 168, 360, 365}));
    ClickTab("Graphics");
    Dialog()->MoveBy(-100, 40);
    EXPECT_FALSE(options().Open());
    CtrlKey('O');
    EXPECT_EQ(Dialog()->x, 220);
    EXPECT_EQ(Dialog()->y, 208);
    EXPECT_EQ(options().tab, 1);
    EXPECT_TRUE(Shown(kOptionsFpsLimit));
}

TEST_F(OptionsDialogTest, EachPageShowsItsControlsAndDrawsItsFrames) {
    Enter();
    ASSERT_TRUE(options().Open());
    const int x = Dialog()->x;
    const int y = Dialog()->y;
    const struct {
        const char* tab;
        int page;
    } pages[] = {{"Graphics", 1}, {"Interface", 0}, {"Graphics", 1}};
    for (const auto& page : pages) {
        SCOPED_TRACE(page.tab);
        ClickTab(page.tab);
        EXPECT_EQ(options().tab, page.page);
        for (int32_t id : kInterfaceControls)
            EXPECT_EQ(Shown(id), page.page == 0) << id;
        for (int32_t id : kGraphicsControls)
            EXPECT_EQ(Shown(id), page.page == 1) << id;
        Draw();
        // The inner panel on both pages; the engines' frame and the label on
        // the Graphics page only.
        EXPECT_TRUE(DrewBox(x + 10, y + 30, 340, 280));
        EXPECT_EQ(DrewBox(x + 20, y + 240, 320, 25), page.page == 1);
        EXPECT_EQ(DrewText("FPS Limit:"), page.page == 1);
    }
}

TEST_F(OptionsDialogTest, TheDualInterfaceStartsOnWithoutItsKeyAndUncheckingItClosesTheLeftPanel) {
    Enter();
    ASSERT_FALSE(settings().options->HasKey("windows", "leftbarwidth"));
    ASSERT_TRUE(options().Open());
    ASSERT_TRUE(Find<GUICheckbox>(kOptionsDualInterface)->checked);
    ASSERT_EQ(game().leftPanel->GetWidth(), 165);
    ClickOn(kOptionsDualInterface);
    EXPECT_EQ(game().leftPanel->GetWidth(), 0);
    EXPECT_EQ(settings().options->GetString("windows", "leftbarwidth"), "0");
    // The chat area was laid out again at once, now from the window's edge.
    EXPECT_EQ(gui().FindControl(GameIds::kChatInput)->x, 7);
    ClickOn(kOptionsDualInterface);
    EXPECT_EQ(game().leftPanel->GetWidth(), 165);
    EXPECT_EQ(settings().options->GetInt("windows", "leftbarwidth"), 165);
}

TEST_F(OptionsDialogTest, EverySwitchWritesItsOptionAtOnce) {
    const struct {
        int32_t id;
        const char* key;
        bool inverted;  // stored as the opposite of the box
    } cases[] = {
        {kOptionsForceRight, "forcewindowsright", false}, {kOptionsAutoOpenTab, "autoopentab", false},
        {kOptionsClassicClick, "disablemenu", false},     {kOptionsExperience, "experiencecalculator", false},
        {kOptionsStretching, "dontresize", true},         {kOptionsTimerMovement, "timermovement", false},
        {kOptionsFloorFading, "floorfading", false},      {kOptionsSidestep, "smoothsidestep", false},
        {kOptionsHealthWarning, "healthwarning", false},
    };
    Enter();
    ASSERT_TRUE(options().Open());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        ClickTab(c.id == kOptionsForceRight || c.id == kOptionsAutoOpenTab || c.id == kOptionsClassicClick ||
                         c.id == kOptionsExperience
                     ? "Interface"
                     : "Graphics");
        GUICheckbox* box = Find<GUICheckbox>(c.id);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->framed);
        for (int click = 0; click < 2; ++click) {
            ClickOn(c.id);
            ASSERT_TRUE(settings().options->HasKey("options", c.key));
            EXPECT_EQ(settings().options->GetBool("options", c.key), box->checked != c.inverted);
        }
    }
}

TEST_F(OptionsDialogTest, FieldStretchingLaysTheFieldOutAgain) {
    Enter("windowwidth=1000\nwindowheight=900\n");
    ASSERT_TRUE(options().Open());
    ClickTab("Graphics");
    const int stretched = game().map->tileWidth;
    ClickOn(kOptionsStretching);
    EXPECT_EQ(settings().options->GetString("options", "dontresize"), "true");
    EXPECT_EQ(game().map->tileWidth, 32);
    ClickOn(kOptionsStretching);
    EXPECT_EQ(settings().options->GetString("options", "dontresize"), "false");
    EXPECT_EQ(game().map->tileWidth, stretched);
}

TEST_F(OptionsDialogTest, TheFrameLimitIsReadFromItsBoxOnTheGraphicsPageOnly) {
    const struct {
        const char* typed;
        int stored;
    } cases[] = {{"30abc", 30}, {"", 0}, {"  -5", -5}, {"120", 120}};
    Enter();
    ASSERT_TRUE(options().Open());
    GUITextbox* box = Find<GUITextbox>(kOptionsFpsLimit);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetText(), "0");  // the fixture's fpslimit
    for (const auto& c : cases) {
        box->SetText(c.typed);
        ClickTab("Interface");
        settings().SetFpsLimit(77);
        Draw();
        EXPECT_EQ(settings().GetFpsLimit(), 77) << "not read on the Interface page";
        ClickTab("Graphics");
        Draw();
        EXPECT_EQ(settings().GetFpsLimit(), c.stored) << c.typed;
    }
}

TEST_F(OptionsDialogTest, TheSelectorsStoreTheirChoiceAndTheStatBarsRelayout) {
    Enter();
    ASSERT_TRUE(options().Open());
    ASSERT_EQ(Find<GUISelector>(kOptionsLootMessages)->currentText, "Main chat & screen");
    StepForward(kOptionsLootMessages);
    EXPECT_EQ(settings().GetLootMessageDisplay(), 2);
    EXPECT_EQ(Find<GUISelector>(kOptionsStatBars)->currentText, "Hide");
    StepForward(kOptionsStatBars);
    EXPECT_EQ(settings().GetStatBarPosition(), 1);
}

TEST_F(OptionsDialogTest, AnotherSkinReskinsTheWholeGuiAndAnyListedSkinCounts) {
    Enter();
    // A sixth skin: the selector offers every listed skin, and each applies.
    settings().skins.push_back({9000, "Sixth"});
    settings().options->SetInt("options", "skin", 5764);  // "Dark Stripes", the fifth
    ASSERT_TRUE(options().Open());
    ASSERT_EQ(Find<GUISelector>(kOptionsSkin)->currentText, "Dark Stripes");
    StepForward(kOptionsSkin);
    EXPECT_EQ(settings().GetSkin(), 9000);
    for (int32_t id : {0, GameIds::kChatInput, GameIds::kMinimapWindow, kOptionsDialog, kOptionsSkin})
        EXPECT_EQ(gui().FindControl(id)->skin, 9000) << id;
    // "Earth", a light skin, with its lighter frame colours.
    StepForward(kOptionsSkin);
    EXPECT_EQ(settings().GetSkin(), 1373);
    EXPECT_EQ(gui().FindControl(GameIds::kChatInput)->skin, 1373);
    EXPECT_EQ(gui().FindControl(GameIds::kChatInput)->lightColor, settings().GetSkinHighlightColor());
    EXPECT_EQ(gui().FindControl(GameIds::kChatInput)->darkColor, settings().GetSkinShadowColor());
    // An index outside the list changes nothing.
    GUISelector* selector = Find<GUISelector>(kOptionsSkin);
    for (int index : {-1, 6, 1000}) {
        selector->changeCallback(index, selector->callbackContext);
        EXPECT_EQ(settings().GetSkin(), 1373) << index;
    }
}

TEST_F(OptionsDialogTest, AnEngineButtonSwitchesOnlyAtTheNextSafePointAndStoresItsChoice) {
    const struct {
        int32_t button;
        int kind;
        const char* stored;
    } cases[] = {{kOptionsDirectDraw, kEngineDirectDraw, "directdraw"},
                 {kOptionsOpenGL, kEngineOpenGL, "opengl"},
                 {kOptionsDirect3D, kEngineDirect3D, "direct3d"}};
    Enter();
    ASSERT_TRUE(options().Open());
    ClickTab("Graphics");
    EXPECT_EQ(Find<GUIButton>(kOptionsDirect3D)->style, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const GraphicsEngine* before = client->app->engine;
        ClickOn(c.button);
        for (int32_t id : {kOptionsDirect3D, kOptionsDirectDraw, kOptionsOpenGL})
            EXPECT_EQ(Find<GUIButton>(id)->style, id == c.button ? 1 : 0) << id;
        // Nothing happens inside the click.
        EXPECT_EQ(client->app->engine, before);
        client->ApplyPendingChanges();
        EXPECT_EQ(client->app->engineType, c.kind);
        EXPECT_EQ(engine().type, c.kind);
        EXPECT_EQ(settings().options->GetString("options", "engine"), c.stored);
        // The game screen draws on with the new back end.
        DrawFrame();
    }
}

TEST_F(OptionsDialogTest, AFailingEngineFallsBackAtTheSafePointAndTheChoiceIsKept) {
    Enter();
    ASSERT_TRUE(options().Open());
    ClickTab("Graphics");
    ClientFixture::failingEngines = {kEngineDirectDraw};
    ClickOn(kOptionsDirectDraw);
    EXPECT_TRUE(fixture.platform.boxes.shown.empty()) << "no question inside the click";
    client->ApplyPendingChanges();
    ASSERT_EQ(fixture.platform.boxes.shown.size(), 1u);
    EXPECT_EQ(fixture.platform.boxes.shown[0].text, "Failed to init DirectDraw. Try OpenGL instead?");
    EXPECT_EQ(client->app->engineType, kEngineOpenGL);
    EXPECT_EQ(settings().options->GetString("options", "engine"), "directdraw");
    DrawFrame();
}

TEST_F(OptionsDialogTest, OnTheLoginScreenTheGameScreensOptionsAreOnlyStored) {
    client = &fixture.StartClient("[options]\nfpslimit=0\n");
    ASSERT_EQ(client->game, nullptr);
    ASSERT_TRUE(client->optionsDialog->Open());
    ClickOn(kOptionsDualInterface);
    EXPECT_EQ(client->settings->options->GetInt("windows", "leftbarwidth"), 0);
    StepForward(kOptionsStatBars);
    EXPECT_EQ(client->settings->GetStatBarPosition(), 1);
    ClickTab("Graphics");
    ClickOn(kOptionsStretching);
    EXPECT_FALSE(client->settings->GetFieldStretching());
    ClickOn(kOptionsOpenGL);
    client->RunPass();
    EXPECT_EQ(client->app->engineType, kEngineOpenGL);
    EXPECT_EQ(client->settings->options->GetString("options", "engine"), "opengl");
}

}  // namespace
