// The select list, the scroll bar and the context menu.
#include "engine/Font.h"
#include "engine/Sprite.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUISelect.h"
#include "platform/Platform.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/DrawnText.h"

namespace {

class ListsTest : public GuiTest {
protected:
    GUISelect* List(int rows, int h = 102) {
        GUISelect* list = Make<GUISelect>(10, 10, 150, h, 1);
        for (int i = 0; i < rows; ++i)
            list->AddItem("row " + std::to_string(i));
        return list;
    }
};

// Select list ---------------------------------------------------------------

TEST_F(ListsTest, SelectMakesItsScrollBarWhenTheSixthRowOfFiveFittingIsAdded) {
    GUISelect* list = List(5);
    EXPECT_EQ(list->Scrollbar(), nullptr);
    list->AddItem("row 5");
    GUIScrollbar* bar = list->Scrollbar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetMaximum(), 20);
    EXPECT_EQ((std::vector<int>{bar->x, bar->y, bar->width, bar->height}), (std::vector<int>{144, 11, 15, 100}));
    EXPECT_EQ(bar->fillColor, 0u);
    list->Clear();
    EXPECT_EQ(list->Scrollbar(), nullptr);
    EXPECT_TRUE(list->children.empty());
}

TEST_F(ListsTest, SelectClicksPickTheRowUnderThePointOrMarkItWithCtrl) {
    GUISelect* list = List(8);
    int clicks = 0;
    list->clickCallback = [](void* context, int, int) { ++*static_cast<int*>(context); };
    list->clickContext = &clicks;
    struct Case {
        int y;
        bool ctrl;
        int selected;
        int marked;
    };
    const Case cases[] = {
        {11, false, 0, -1},  {50, false, 1, -1}, {71, true, 1, 3},
        {110, false, 4, 3},  // scrolled by 0: the fifth visible row
    };
    for (const Case& c : cases) {
        if (c.ctrl)
            test.platform.keys.down.insert(platform::kVkControl);
        input.Click(20, c.y);
        test.platform.keys.down.clear();
        EXPECT_EQ(list->selectedIndex, c.selected) << c.y;
        EXPECT_EQ(list->markedIndex, c.marked) << c.y;
    }
    EXPECT_EQ(clicks, 4) << "Ctrl+clicks fire the click callback too";

    list->Scrollbar()->SetPosition(60);
    input.Click(20, 12);
    EXPECT_EQ(list->selectedIndex, 3) << "rows are shifted up by the scroll position";
    input.Click(150, 50);  // the scroll bar's strip
    EXPECT_EQ(list->selectedIndex, 3);
}

TEST_F(ListsTest, SelectClickBelowTheLastRowSelectsItAndAnEmptyListRowZero) {
    GUISelect* list = List(2);
    input.Click(20, 100);
    EXPECT_EQ(list->selectedIndex, 1);
    list->Clear();
    EXPECT_EQ(list->selectedIndex, 1) << "Clear keeps the index";
    EXPECT_EQ(list->GetSelectedText(), "");
    input.Click(20, 100);
    EXPECT_EQ(list->selectedIndex, 0);
}

TEST_F(ListsTest, SelectUpAndDownMoveTheSelectionOfTheFocusedListIntoView) {
    GUISelect* list = List(8);
    gui().focus = list;
    for (int i = 0; i < 9; ++i)
        input.Key(40);
    EXPECT_EQ(list->selectedIndex, 7) << "Down at the last row does nothing";
    EXPECT_EQ(list->Scrollbar()->GetPosition(), 60);
    for (int i = 0; i < 8; ++i)
        input.Key(38);
    EXPECT_EQ(list->selectedIndex, 0);
    EXPECT_EQ(list->Scrollbar()->GetPosition(), 0);
    EXPECT_EQ(list->GetSelectedText(), "row 0");
}

TEST_F(ListsTest, SelectWheelScrolls15PixelsAStep) {
    GUISelect* list = List(8);
    input.Move(20, 20);
    input.Wheel(2);
    EXPECT_EQ(list->Scrollbar()->GetPosition(), 30);
    input.Wheel(5);
    EXPECT_EQ(list->Scrollbar()->GetPosition(), 60);
}

TEST_F(ListsTest, SelectDrawsClippedRowsWithTheSelectionShaded) {
    GUISelect* list = List(2);
    list->selectedIndex = 1;
    list->items[0].rightText = "12";
    const std::vector<std::string> frame = Frame();
    EXPECT_TRUE(Drew(frame, "EnableClipper(11, 11, 158, 110)"));
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0x80808080, 11, 31, 148, 20)"));
    EXPECT_EQ(frame.back(), "DisableClipper()");
    const std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "row0");
    EXPECT_EQ(texts[1].text, "12");
    EXPECT_EQ(texts[1].x, float(10 + 1 + 150 - (test.app->font->GetTextWidth("12") + 7)));
    EXPECT_EQ(texts[2].y, float(33));
}

TEST_F(ListsTest, SelectDrawsEveryRowAndLetsTheClipCutIt) {
    GUISelect* list = List(50);
    list->Scrollbar()->SetPosition(30);  // row 1 half shown at the top
    Frame();
    std::vector<std::string> shown;
    for (const DrawnText& text : VisibleTexts(log(), test.app->font->sheet))
        shown.push_back(text.text);
    EXPECT_EQ(shown.size(), 50u);
    EXPECT_EQ(shown.front(), "row0");
    EXPECT_EQ(shown.back(), "row49");

    // A framed icon reaches 11 px below its 35-px row: scrolled by 45, the
    // first row's frame still shows its bottom edge on the clip's top row.
    gui().RemoveControl(list, true);
    Sprite icon(32, 32);
    GUISelect* icons = Make<GUISelect>(10, 10, 150, 102, 2);
    icons->rowHeight = 35;
    icons->SetFlag(GUIControl::kFramedIcons);
    for (int i = 0; i < 5; ++i)
        icons->AddItem("icon " + std::to_string(i), "", 0, "", "", &icon);
    icons->Scrollbar()->SetPosition(45);
    const std::vector<std::string> frame = Frame();
    // Frame of row 0 at y 10 + 1 - 45 + 4 = -30, 42 high: its bottom edge is y 11.
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff111111, 15, 11, 42, 1)"));
    gui().RemoveControl(icons, true);
}

// Scroll bar ----------------------------------------------------------------

class ScrollbarTest : public GuiTest {
protected:
    GUIScrollbar* Bar(int h = 130) {
        GUIScrollbar* bar = Make<GUIScrollbar>(10, 10, 15, h, 1);
        return bar;
    }
};

TEST_F(ScrollbarTest, PositionIsClampedToTheRange) {
    GUIScrollbar* bar = Bar();
    struct Case {
        int maximum;
        int set;
        int position;
    };
    for (Case c : {Case{10, -5, 0}, Case{10, 15, 10}, Case{10, 4, 4}, Case{0, 3, 0}, Case{-4, 3, 0}}) {
        bar->SetMaximum(c.maximum);
        bar->SetPosition(c.set);
        EXPECT_EQ(bar->GetPosition(), c.position) << c.maximum << " " << c.set;
    }
}

TEST_F(ScrollbarTest, RaisingTheMaximumKeepsPositionAndThumb) {
    GUIScrollbar* bar = Bar();
    bar->SetPosition(10);
    const int offset = bar->thumbOffset;
    bar->SetMaximum(50);
    EXPECT_EQ(bar->GetPosition(), 10);
    EXPECT_EQ(bar->thumbOffset, offset);
    bar->SetMaximum(4);
    EXPECT_EQ(bar->GetPosition(), 4);
}

TEST_F(ScrollbarTest, ThumbIsProportionalButNeverShorterThanSixPixels) {
    GUIScrollbar* bar = Bar(130);  // track 100
    struct Case {
        int visible, total, length;
    };
    for (Case c : {Case{10, 1000, 6}, Case{50, 100, 50}, Case{300, 100, 100}, Case{5, 0, 100}, Case{-3, 10, 6}}) {
        bar->SetProportion(c.visible, c.total);
        EXPECT_EQ(bar->ThumbLength(), c.length) << c.visible << "/" << c.total;
    }
    // In single precision 13 / 22 x 22 falls just below 13.
    GUIScrollbar* shorter = Make<GUIScrollbar>(40, 10, 15, 22 + 30, 2);
    shorter->SetProportion(13, 22);
    EXPECT_EQ(shorter->ThumbLength(), 12);
}

TEST_F(ScrollbarTest, ANegativeMaximumKeepsAThumbAtTheTop) {
    // Content shorter than the view: the thumb fills the track and stays put.
    GUIScrollbar* bar = Bar(130);
    bar->SetProportion(66, 27);
    bar->SetMaximum(-39);
    bar->SetPosition(5);
    EXPECT_EQ(bar->GetPosition(), 0);
    EXPECT_TRUE(bar->HasThumb());
    EXPECT_EQ(bar->thumbOffset, 0);
    EXPECT_EQ(bar->ThumbLength(), 100);
    EXPECT_TRUE(Drew(Frame(), "RenderRectangle(0xff111111, 10, 25, 15, 1)"));
    input.Down(15, 60);
    EXPECT_TRUE(bar->dragging);
    input.Move(15, 90);
    EXPECT_EQ(bar->GetPosition(), 0);
    EXPECT_EQ(bar->thumbOffset, 0);
    input.Up(15, 90);
}

TEST_F(ScrollbarTest, ArrowsStepAndTheThumbDragsWithinTheTrack) {
    GUIScrollbar* bar = Bar(130);
    bar->SetMaximum(94);  // one position per pixel of a 6-px thumb on a 100-px track
    bar->SetProportion(1, 1000);
    input.Click(15, 12);
    EXPECT_EQ(bar->GetPosition(), 0);
    input.Click(15, 135);
    EXPECT_EQ(bar->GetPosition(), 1);
    EXPECT_FALSE(bar->downPressed);
    // Grab the thumb (at 10 + 15 + 1) and drag it past both ends.
    input.Down(15, 27);
    EXPECT_TRUE(bar->dragging);
    input.Move(15, 500);
    EXPECT_EQ(bar->GetPosition(), 94);
    input.Move(15, -500);
    EXPECT_EQ(bar->GetPosition(), 0);
    input.Move(15, 26 + 40);
    EXPECT_EQ(bar->GetPosition(), 40);
    gui().OnMouseUp(400, 400);  // released anywhere, without a move
    EXPECT_FALSE(bar->dragging);
    input.Click(15, 100);  // the track below the thumb: no paging
    EXPECT_EQ(bar->GetPosition(), 40);
}

TEST_F(ScrollbarTest, AZeroMaximumOrATrackWithoutRoomLeavesThePositionDefined) {
    // A zero maximum: no thumb, and the arrows leave the position at 0.
    GUIScrollbar* bar = Bar(130);
    bar->SetMaximum(0);
    bar->SetPosition(0);
    EXPECT_FALSE(bar->HasThumb());
    Frame();
    EXPECT_FALSE(Drew(log().Log(), "RenderRectangle(0xff111111, 10, 25, 15, 1)"));
    input.Click(15, 30);
    EXPECT_FALSE(bar->dragging);
    input.Click(15, 135);
    EXPECT_EQ(bar->GetPosition(), 0);

    // A track that the thumb fills: there is no room to move the thumb in, so
    // a drag holds it at the top, position 0, without dividing by the room.
    GUIScrollbar* tight = Make<GUIScrollbar>(100, 10, 15, 36, 2);  // track 6, thumb 6
    tight->SetMaximum(5);
    tight->SetPosition(3);
    input.Down(105, 26);
    input.Move(105, 40);
    EXPECT_EQ(tight->GetPosition(), 0);
    EXPECT_EQ(tight->thumbOffset, 0);
    input.Up(105, 40);
    // A bar shorter than its arrows keeps its thumb at the top of its track.
    GUIScrollbar* squashed = Make<GUIScrollbar>(200, 10, 15, 20, 3);
    squashed->SetMaximum(5);
    squashed->SetPosition(5);
    EXPECT_EQ(squashed->thumbOffset, 0);
    Frame();
}

// Context menu --------------------------------------------------------------

class MenuTest : public GuiTest {
protected:
    GUIMenu* Menu() {
        GUIMenu* menu = new GUIMenu();
        menu->SetRect(100, 100, 150, 6 + 20 * 4);
        menu->AddItem(1, "Look");
        menu->AddItem(0, "");
        menu->AddItem(3, "Use", false);
        menu->AddItem(4, "Trade with the very first person in town");
        menu->selectCallback = [](int value, void* context) { static_cast<std::vector<int>*>(context)->push_back(value); };
        menu->callbackContext = &chosen;
        gui().AddControl(menu, true);
        return menu;
    }
    std::vector<int> chosen;
};

TEST_F(MenuTest, AReleaseChoosesTheRowUnderItAndAlwaysClosesTheMenu) {
    struct Case {
        int x, y;
        std::vector<int> chosen;
    };
    const Case cases[] = {
        {150, 123, {1}},   // the first row's lowest pixel
        {150, 124, {}},    // the separator
        {150, 150, {}},    // the disabled row
        {150, 170, {4}},   // the fourth row
        {103, 110, {}},    // the left margin
        {247, 110, {}},    // the right margin
        {150, 300, {}},    // outside every row
    };
    for (const Case& c : cases) {
        chosen.clear();
        Menu();
        input.Click(c.x, c.y);
        EXPECT_EQ(chosen, c.chosen) << c.x << "," << c.y;
        EXPECT_EQ(gui().openMenu, nullptr);
        EXPECT_TRUE(gui().root->children.empty());
    }
}

TEST_F(MenuTest, HighlightFollowsThePointerAndLongTextsEndInDots) {
    Menu();
    input.Move(150, 150);  // the disabled row is highlighted all the same
    const std::vector<std::string> frame = Frame();
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0x60808080, 104, 144, 142, 19)"));
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff222222, 110, 133, 130, 1)")) << "the separator";
    const std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2].text.substr(texts[2].text.size() - 3), "...");
    EXPECT_LE(test.app->font->GetTextWidth(texts[2].text) - test.app->font->GetTextWidth("..."), 120);
}

}  // namespace
