// The dialog helper every dialog module is written with: opening once, at the
// centre or a position, controls placed from the dialog's corner with the
// dialog's style, typed look-up, and closing that a callback may do to its
// own dialog.
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUIText.h"
#include "tests/gui/GuiTest.h"

namespace {

constexpr int32_t kDialogId = 300;
constexpr int32_t kButtonId = 301;
constexpr int32_t kListId = 302;

using Rect = std::vector<int>;
Rect RectOf(const GUIControl* control) { return {control->x, control->y, control->width, control->height}; }

class DialogHelperTest : public GuiTest {
protected:
    DialogHelper Helper() { return DialogHelper(&gui(), kDialogId); }
    size_t CountOnRoot(int32_t id) {
        size_t count = 0;
        for (const GUIControl* control : gui().root->children)
            count += control->id == id ? 1 : 0;
        return count;
    }
};

TEST_F(DialogHelperTest, OpensOnceAtTheCentreOrAtAPosition) {
    const struct {
        const char* name;
        GUIDialog* (*open)(DialogHelper&);
        Rect rect;
    } cases[] = {
        // The client area is 800 x 600: the centre is (400, 300); odd sizes
        // round towards the top-left as integer halves do.
        {"centred", [](DialogHelper& d) { return d.OpenCentred("Title", 342, 231); }, {229, 185, 342, 231}},
        {"from the centre", [](DialogHelper& d) { return d.OpenFromCentre("Title", -135, -130, 350, 150); },
         {265, 170, 350, 150}},
        {"at a position", [](DialogHelper& d) { return d.OpenAt("Title", 12, 34, 100, 80); }, {12, 34, 100, 80}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DialogHelper dialog = Helper();
        EXPECT_FALSE(dialog.IsOpen());
        GUIDialog* opened = c.open(dialog);
        ASSERT_NE(opened, nullptr);
        EXPECT_EQ(RectOf(opened), c.rect);
        EXPECT_EQ(opened->title, "Title");
        EXPECT_EQ(opened->id, kDialogId);
        EXPECT_EQ(opened->GetParent(), gui().root);
        EXPECT_EQ(dialog.Dialog(), opened);
        // Open already: nothing new, whichever way it is asked.
        EXPECT_EQ(c.open(dialog), nullptr);
        EXPECT_EQ(dialog.OpenCentred("Other", 10, 10), nullptr);
        EXPECT_EQ(CountOnRoot(kDialogId), 1u);
        EXPECT_EQ(opened->title, "Title");
        dialog.Close();
        gui().Update();
        EXPECT_EQ(CountOnRoot(kDialogId), 0u);
    }
}

TEST_F(DialogHelperTest, ControlsGoAtOffsetsFromTheDialogWithItsStyle) {
    DialogHelper dialog = Helper();
    GUIDialog* frame = dialog.OpenFromCentre("Title", -200, -75, 400, 150);
    ASSERT_NE(frame, nullptr);
    frame->lightColor = 0xFF00FF00;  // a colour only the dialog has

    int clicks = 0;
    GUIButton* button = dialog.AddButton(
        kButtonId, "Go", [](void* count) { ++*static_cast<int*>(count); }, &clicks, 140, 115, 120, 25);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(RectOf(button), (Rect{340, 340, 120, 25}));
    EXPECT_EQ(button->caption, "Go");
    EXPECT_EQ(button->GetParent(), frame);
    EXPECT_EQ(button->lightColor, 0xFF00FF00u);

    GUIText* label = dialog.AddText("Hello", 15, 33);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(RectOf(label), (Rect{215, 258, 0, 0}));
    EXPECT_EQ(label->text, "Hello");

    GUISelect* list = new GUISelect();
    list->id = kListId;
    EXPECT_EQ(dialog.Add(list, 10, 30, 250, 152), list);
    EXPECT_EQ(RectOf(list), (Rect{210, 255, 250, 152}));

    // The button works where it was placed.
    input.Click(button->x + 5, button->y + 5);
    EXPECT_EQ(clicks, 1);
}

TEST_F(DialogHelperTest, FindGivesAControlOnlyWithTheRightType) {
    DialogHelper dialog = Helper();
    ASSERT_NE(dialog.OpenAt("Title", 0, 0, 200, 200), nullptr);
    dialog.AddButton(kButtonId, "Go", nullptr, nullptr, 10, 10, 50, 20);
    EXPECT_NE(dialog.Find<GUIButton>(kButtonId), nullptr);
    EXPECT_NE(dialog.Find<GUIControl>(kButtonId), nullptr);
    EXPECT_EQ(dialog.Find<GUISelect>(kButtonId), nullptr);  // a button is no list
    EXPECT_EQ(dialog.Find<GUIButton>(999), nullptr);
    EXPECT_NE(dialog.Find<GUIDialog>(kDialogId), nullptr);
}

TEST_F(DialogHelperTest, WithoutAnOpenDialogOrAGuiNothingIsBuilt) {
    // Controls for a dialog that is not open are freed (the sanitizer sees a leak otherwise).
    DialogHelper closed = Helper();
    EXPECT_EQ(closed.AddButton(kButtonId, "Go", nullptr, nullptr, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(closed.AddText("Hello", 0, 0), nullptr);
    EXPECT_EQ(gui().FindControl(kButtonId), nullptr);
    closed.Close();
    closed.CloseAndFocus(kButtonId);

    DialogHelper none(nullptr, kDialogId);
    EXPECT_EQ(none.OpenCentred("Title", 10, 10), nullptr);
    EXPECT_FALSE(none.IsOpen());
    EXPECT_EQ(none.Find<GUIControl>(kDialogId), nullptr);
    none.Close();
    none.CloseAndFocus(kButtonId);
}

// A callback may close its own dialog: it is gone at once for everybody and
// deleted with its controls at the GUI's next update; it opens again after.
TEST_F(DialogHelperTest, AButtonClosesItsOwnDialogAndItOpensAgain) {
    GUIControl* chat = Make<GUIControl>(0, 580, 800, 20, 25);
    DialogHelper dialog = Helper();
    ASSERT_NE(dialog.OpenCentred("Title", 200, 100), nullptr);
    GUIButton* close = dialog.AddButton(
        kButtonId, "Close",
        [](void* gui) { DialogHelper(static_cast<GUIManager*>(gui), kDialogId).CloseAndFocus(25); }, &gui(), 40,
        60, 120, 25);
    ASSERT_NE(close, nullptr);
    gui().focus = close;

    input.Click(close->x + 5, close->y + 5);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_EQ(gui().FindControl(kButtonId), nullptr);
    EXPECT_EQ(gui().focus, chat);
    EXPECT_NE(dialog.OpenCentred("Title", 200, 100), nullptr);
    gui().Update();
    EXPECT_EQ(CountOnRoot(kDialogId), 1u);
    EXPECT_TRUE(dialog.IsOpen());
}

}  // namespace

// The content panel follows the dialog when it is dragged and is painted in
// the root's colours: sunken (dark top and left), filled black at alpha 30.
TEST_F(DialogHelperTest, ThePanelFollowsTheDialogInTheRootsColours) {
    DialogHelper dialog = Helper();
    log().Clear();
    dialog.DrawPanel();
    EXPECT_EQ(log().Count("RenderRectangle"), 0u) << "no panel without a dialog";

    GUIDialog* window = dialog.OpenAt("Title", 100, 50, 300, 200);
    ASSERT_NE(window, nullptr);
    window->SetRect(140, 70, 300, 200);
    log().Clear();
    dialog.DrawPanel();
    const std::vector<std::string> expected = {
        "RenderRectangle(0xff222222, 150, 100, 280, 1)", "RenderRectangle(0xff222222, 150, 101, 1, 113)",
        "RenderRectangle(0xff111111, 150, 214, 280, 1)", "RenderRectangle(0xff111111, 429, 101, 1, 113)",
        "RenderRectangle(0x1e000000, 151, 101, 278, 113)"};
    EXPECT_EQ(log().Log(), expected);
}

// A box of the panel's look with a fill of its own: translucent green for a
// locked offer, any alpha for a darkened cell, none at alpha 0; white edges
// for a drop area under a dragged thing.
TEST_F(DialogHelperTest, APanelBoxTakesItsOwnFillAndWhiteEdgesForAHighlight) {
    DialogHelper dialog = Helper();
    const struct {
        const char* name;
        uint32_t fill;
        bool highlight;
        std::vector<std::string> calls;
    } cases[] = {
        {"green", 0x1E009600, false,
         {"RenderRectangle(0xff222222, 20, 30, 40, 1)", "RenderRectangle(0xff222222, 20, 31, 1, 8)",
          "RenderRectangle(0xff111111, 20, 39, 40, 1)", "RenderRectangle(0xff111111, 59, 31, 1, 8)",
          "RenderRectangle(0x1e009600, 21, 31, 38, 8)"}},
        {"no fill", 0x00000000, false,
         {"RenderRectangle(0xff222222, 20, 30, 40, 1)", "RenderRectangle(0xff222222, 20, 31, 1, 8)",
          "RenderRectangle(0xff111111, 20, 39, 40, 1)", "RenderRectangle(0xff111111, 59, 31, 1, 8)"}},
        {"highlighted", 0x1E000000, true,
         {"RenderRectangle(0xffffffff, 20, 30, 40, 1)", "RenderRectangle(0xffffffff, 20, 31, 1, 8)",
          "RenderRectangle(0xffffffff, 20, 39, 40, 1)", "RenderRectangle(0xffffffff, 59, 31, 1, 8)",
          "RenderRectangle(0x1e000000, 21, 31, 38, 8)"}},
    };
    for (const auto& c : cases) {
        log().Clear();
        dialog.DrawPanelBox(20, 30, 40, 10, c.fill, c.highlight);
        EXPECT_EQ(log().Log(), c.calls) << c.name;
    }
}

// A window asked for again stays where the player dragged it; closing a
// window that is not open still hands the keys to the chat input; a window
// built in a very small client area keeps its negative corner.
TEST_F(DialogHelperTest, OpenAgainMovesNothingCloseWithoutWindowStillFocusesAndSmallAreasGoNegative) {
    GUIControl* chat = Make<GUIControl>(0, 580, 800, 20, 25);
    DialogHelper dialog(&gui(), 300);
    GUIDialog* window = dialog.OpenFromCentre("Trade", -200, -158, 400, 316);
    ASSERT_NE(window, nullptr);
    window->MoveBy(-150, 40);
    EXPECT_EQ(dialog.OpenFromCentre("Trade", -200, -158, 400, 316), nullptr);
    EXPECT_EQ(RectOf(window), (Rect{50, 182, 400, 316}));
    dialog.Close();
    gui().Update();

    gui().focus = nullptr;
    DialogHelper(&gui(), 301).CloseAndFocus(25);
    EXPECT_EQ(gui().focus, chat);
    gui().Update();
    EXPECT_EQ(CountOnRoot(25), 1u) << "nothing else went";

    test.app->SetSize(100, 80);
    window = dialog.OpenFromCentre("Trade", -200, -158, 400, 316);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(RectOf(window), (Rect{-150, -118, 400, 316}));
}

// A frame has the panel's edges and no fill.
TEST_F(DialogHelperTest, AFrameBoxHasThePanelsEdgesWithoutTheFill) {
    DialogHelper dialog = Helper();
    log().Clear();
    dialog.DrawFrameBox(10, 20, 30, 40);
    const std::vector<std::string> expected = {
        "RenderRectangle(0xff222222, 10, 20, 30, 1)", "RenderRectangle(0xff222222, 10, 21, 1, 38)",
        "RenderRectangle(0xff111111, 10, 59, 30, 1)", "RenderRectangle(0xff111111, 39, 21, 1, 38)"};
    EXPECT_EQ(log().Log(), expected);
}

// A tab strip: the group at its offset, its tabs in order with the first one
// active, the strip black at alpha 50 behind transparent tabs, and a press on
// a tab reaching its callback with the strip's context.
TEST_F(DialogHelperTest, ATabStripsTabsInOrderWithTheirCallbacks) {
    DialogHelper dialog = Helper();
    EXPECT_EQ(dialog.AddTabStrip(310, 0, 0, 300, 20, 100, {{311, "One", nullptr}}, nullptr), nullptr)
        << "no strip without a dialog";
    ASSERT_NE(dialog.OpenAt("Title", 100, 50, 400, 300), nullptr);
    static std::vector<std::string> pressed;
    pressed.clear();
    auto note = [](void* context, int, int) { pressed.push_back(static_cast<const char*>(context)); };
    static char context[] = "strip";
    GUITabgroup* strip = dialog.AddTabStrip(310, 20, 38, 300, 20, 100,
                                            {{311, "One", nullptr}, {312, "Two", note}, {313, "Three", note}},
                                            context);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(RectOf(strip), (Rect{120, 88, 300, 20}));
    EXPECT_EQ(strip->fillColor, 0x32000000u);
    const std::vector<GUITab*> tabs = strip->GetTabs();
    ASSERT_EQ(tabs.size(), 3u);
    EXPECT_EQ(tabs[0]->id, 311);
    EXPECT_EQ(tabs[1]->caption, "Two");
    EXPECT_EQ(tabs[2]->id, 313);
    EXPECT_EQ(strip->activeTab, tabs[0]);
    for (const GUITab* tab : tabs)
        EXPECT_EQ(tab->fillColor, 0u);
    gui().OnMouseDown(tabs[1]->x + 5, tabs[1]->y + 5);
    gui().OnMouseUp(tabs[1]->x + 5, tabs[1]->y + 5);
    EXPECT_EQ(strip->activeTab, tabs[1]);
    EXPECT_EQ(pressed, std::vector<std::string>{"strip"});
    gui().OnMouseDown(tabs[0]->x + 5, tabs[0]->y + 5);
    EXPECT_EQ(strip->activeTab, tabs[0]) << "a tab without a callback still becomes active";
    EXPECT_EQ(pressed.size(), 1u);
}
